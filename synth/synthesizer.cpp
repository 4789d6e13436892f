#include "synth/synthesizer.h"

namespace kotonel::synth {

// The synthesizer proper is being written; until it lands every call fails honestly.
bool Synthesize(const std::string& voiceFolder, std::string_view koe, int speed,
                std::vector<uint8_t>& wavImage, std::string& error) {
  wavImage.clear();
  error = "音声合成器がまだ組み込まれていません";
  return false;
}

}  // namespace kotonel::synth
