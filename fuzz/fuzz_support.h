// What the fuzz targets share: a silent engine on a virtual clock and the dictionary folders.
#pragma once

#include <memory>
#include <string>

#include "audio/virtual_audio_device.h"
#include "audio/voice_library.h"
#include "engine/clsMAIN.h"
#include "util/clock.h"

namespace kotonel::fuzz {

// $KOTONEL_FUZZ_DICT when set, else the shipped dll/ when it holds the word dictionary, else
// the small dictionaries of the engine tests. Always with a trailing '/'.
std::string BaseDictionaryFolder();
// The shipped voice folders (dll/ of the source tree), with a trailing '/'.
std::string VoiceFolder();
// $KOTONEL_FUZZ_DICT when set, else the small dictionaries of the engine tests: what a target
// that loads the engine on every input can afford.
std::string SmallDictionaryFolder();
// A fresh empty folder of this process under the temporary folder, with a trailing '/'; it is
// removed when the process exits normally.
std::string ScratchFolder();

// A voice library that makes no sound, so the whole conversion runs at full speed.
class SilentVoiceLibrary final : public VoiceLibrary {
 public:
  const uint8_t* Synthe(int32_t, const std::string&, int16_t, int32_t& size) override;
  void FreeWave(int32_t, const uint8_t*) override {}
  std::string LastError() const override { return {}; }

 private:
  uint8_t header_[44] = {};
};

// An engine on the given virtual clock with a silent device and voices; throws DictionaryError.
std::unique_ptr<clsMAIN> MakeSilentEngine(const std::string& dictionaryFolder, VirtualClock& clock,
                                          MessagePump pump = {});

// The same with its own clock.
struct SilentEngine {
  explicit SilentEngine(const std::string& dictionaryFolder);
  VirtualClock clock;
  std::unique_ptr<clsMAIN> engine;
};

}  // namespace kotonel::fuzz
