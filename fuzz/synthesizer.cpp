// The synthesizer on arbitrary phonetic strings: the first byte picks the voice, the second the
// speed, the rest is the string in code page 932 as the voice-library boundary receives it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audio/voice_library.h"
#include "fuzz_support.h"
#include "synth/synthesizer.h"

using namespace kotonel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const std::string voices = fuzz::VoiceFolder();
  std::string folder = voices + VoiceFolderName(data[0] % 8) + "/";
  int speed = 50 + data[1] * 250 / 255;
  std::string_view koe(reinterpret_cast<const char*>(data + 2), size - 2);
  std::vector<uint8_t> image;
  std::string error;
  if (synth::Synthesize(folder, koe, speed, image, error)) {
    // A good answer is always a whole wave image: header plus whole samples.
    if (image.size() < 44 || (image.size() - 44) % 2 != 0) __builtin_trap();
  }
  return 0;
}
