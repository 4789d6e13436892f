#include "support/engine_rig.h"

namespace kotonel::test {

EngineRig::EngineRig(size_t sampleBytes, bool deviceFails, std::string dictionaryFolder) {
  auto dev = std::make_unique<VirtualAudioDevice>(clock);
  dev->failOpen = deviceFails;
  device = dev.get();
  auto lib = std::make_unique<FakeVoiceLibrary>(sampleBytes);
  voices = lib.get();
  EngineSetup setup;
  setup.dictionaryFolder = std::move(dictionaryFolder);
  setup.device = std::move(dev);
  setup.voices = std::move(lib);
  setup.clock = &clock;
  engine = std::make_unique<clsMAIN>(std::move(setup));
  engine->Wait = [this] { ++waits; };
}

}  // namespace kotonel::test
