// The voice-library boundary: a phonetic string (code page 932) and a speed in, a complete
// RIFF WAVE image (44-byte header, 8000 Hz, 16-bit mono) or failure out, and a call that gives
// the image back. The voice number picks the voice folder in the dictionary folder.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kotonel {

// "f1", "f2", "m1", "m2", "r1", "imd1", "dvd" for 0..6, "jgr" for any other number.
const char* VoiceFolderName(int32_t voice);

class VoiceLibrary {
 public:
  virtual ~VoiceLibrary() = default;
  // Returns the image and its size, or nullptr on failure (then LastError says why).
  virtual const uint8_t* Synthe(int32_t voice, const std::string& koe, int16_t speed,
                                int32_t& size) = 0;
  virtual void FreeWave(int32_t voice, const uint8_t* image) = 0;
  virtual std::string LastError() const = 0;  // UTF-8, empty after success
  // Loads ahead what synthesizing with voice needs, so that the first Synthe does not wait for
  // it. Runs on a thread of its own, possibly while Synthe runs; failures are left for Synthe
  // to report.
  virtual void Prepare(int32_t voice) {}
};

// The program's own synthesizer, one voice folder per voice number under dictionaryFolder.
class SynthVoiceLibrary final : public VoiceLibrary {
 public:
  explicit SynthVoiceLibrary(std::string dictionaryFolder);
  const uint8_t* Synthe(int32_t voice, const std::string& koe, int16_t speed,
                        int32_t& size) override;
  void FreeWave(int32_t voice, const uint8_t* image) override;
  std::string LastError() const override { return error_; }
  // Loads the voice's model, if it has one, into the synthesizer's shared model cache.
  void Prepare(int32_t voice) override;

 private:
  std::string folder_;
  std::string error_;
  std::map<const uint8_t*, std::vector<uint8_t>> images_;
};

}  // namespace kotonel
