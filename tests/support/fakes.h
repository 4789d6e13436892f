// Test doubles for the audio path.
#pragma once

#include <string>
#include <vector>

#include "audio/voice_library.h"

namespace kotonel::test {

// A voice library that returns, for every string, a fixed number of samples of a fixed value,
// or fails for strings listed in failOn. It keeps every call for inspection.
class FakeVoiceLibrary final : public VoiceLibrary {
 public:
  explicit FakeVoiceLibrary(size_t sampleBytes = 1600, int16_t value = 1000)
      : sampleBytes_(sampleBytes), value_(value) {}
  const uint8_t* Synthe(int32_t voice, const std::string& koe, int16_t speed,
                        int32_t& size) override;
  void FreeWave(int32_t voice, const uint8_t* image) override;
  std::string LastError() const override { return error_; }

  struct Call {
    int32_t voice;
    std::string koe;  // code page 932
    int16_t speed;
  };
  std::vector<Call> calls;
  std::vector<std::string> failOn;  // code page 932 strings that fail
  int outstanding = 0;              // images handed out and not given back

 private:
  size_t sampleBytes_;
  int16_t value_;
  std::vector<uint8_t> image_;
  std::string error_;
};

}  // namespace kotonel::test
