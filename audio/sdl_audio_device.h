// Real sound output through SDL2's audio queue.
#pragma once

#include <cstdint>

#include "audio/audio_device.h"

namespace kotonel {

struct SdlFunctions;

class SdlAudioDevice final : public AudioDevice {
 public:
  SdlAudioDevice() = default;
  ~SdlAudioDevice() override;

  bool Open() override;
  bool Prepare(const uint8_t* data, size_t bytes) override;
  bool Write() override;
  bool Position(uint64_t& bytes) override;
  bool Pause() override;
  bool Restart() override;
  bool Reset() override;
  bool Unprepare() override;
  void Close() override;

 private:
  const SdlFunctions* sdl_ = nullptr;  // the library's functions, once a device is opened
  uint32_t device_ = 0;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool written_ = false;
  bool paused_ = false;
};

}  // namespace kotonel
