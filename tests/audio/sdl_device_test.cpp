#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "audio/sdl_audio_device.h"

namespace kotonel {
namespace {

// SDL's dummy driver consumes the queue at the real rate without a sound card, so the whole
// device can be exercised on a headless machine.
TEST(SdlAudioDevice, PlaysPausesAndResetsOnTheDummyDriver) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SdlAudioDevice device;
  ASSERT_TRUE(device.Open());
  std::vector<uint8_t> samples(1600, 0);  // 100 ms
  ASSERT_TRUE(device.Prepare(samples.data(), samples.size()));
  uint64_t position = 99;
  ASSERT_TRUE(device.Position(position));
  EXPECT_EQ(position, 0u);  // nothing plays before Write
  ASSERT_TRUE(device.Write());
  for (int i = 0; i < 400 && position < samples.size(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(device.Position(position));
  }
  EXPECT_EQ(position, samples.size());

  ASSERT_TRUE(device.Write());
  EXPECT_TRUE(device.Pause());
  EXPECT_TRUE(device.Reset());
  ASSERT_TRUE(device.Position(position));
  EXPECT_EQ(position, 0u);
  EXPECT_TRUE(device.Unprepare());
  device.Close();
  EXPECT_FALSE(device.Pause());
  EXPECT_FALSE(device.Prepare(samples.data(), samples.size()));
}

}  // namespace
}  // namespace kotonel
