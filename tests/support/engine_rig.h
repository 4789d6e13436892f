// An engine on a virtual clock with a silent device and a fake voice library: what it "plays"
// and when can be read back, and a whole reading takes microseconds.
#pragma once

#include <memory>
#include <string>

#include "audio/virtual_audio_device.h"
#include "engine/clsMAIN.h"
#include "support/fakes.h"
#include "util/clock.h"

namespace kotonel::test {

struct EngineRig {
  // sampleBytes: length of every synthesized piece (16 bytes per ms).
  explicit EngineRig(size_t sampleBytes = 1600, bool deviceFails = false,
                     std::string dictionaryFolder = std::string(KOTONEL_TEST_DATA) + "engine/");

  VirtualClock clock;
  VirtualAudioDevice* device = nullptr;
  FakeVoiceLibrary* voices = nullptr;
  std::unique_ptr<clsMAIN> engine;
  int waits = 0;  // Wait events raised

  std::u32string PieceText(size_t i) const { return device->Pieces().at(i).phonetic; }
  uint64_t PieceStart(size_t i) const { return device->Pieces().at(i).preparedAtMs; }
};

}  // namespace kotonel::test
