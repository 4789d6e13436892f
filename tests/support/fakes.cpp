#include "support/fakes.h"

#include <algorithm>

namespace kotonel::test {

const uint8_t* FakeVoiceLibrary::Synthe(int32_t voice, const std::string& koe, int16_t speed,
                                        int32_t& size) {
  calls.push_back({voice, koe, speed});
  if (std::find(failOn.begin(), failOn.end(), koe) != failOn.end()) {
    error_ = "fake failure";
    size = 0;
    return nullptr;
  }
  error_.clear();
  image_.assign(44 + sampleBytes_, 0);
  for (size_t i = 44; i + 1 < image_.size(); i += 2) {
    image_[i] = static_cast<uint8_t>(value_ & 0xFF);
    image_[i + 1] = static_cast<uint8_t>((value_ >> 8) & 0xFF);
  }
  size = static_cast<int32_t>(image_.size());
  ++outstanding;
  return image_.data();
}

void FakeVoiceLibrary::FreeWave(int32_t, const uint8_t*) {
  --outstanding;
}

}  // namespace kotonel::test
