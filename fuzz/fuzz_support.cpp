#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "util/files.h"

namespace kotonel::fuzz {

std::string BaseDictionaryFolder() {
  if (const char* env = std::getenv("KOTONEL_FUZZ_DICT"); env && *env) {
    std::string folder = env;
    if (folder.back() != '/') folder += '/';
    return folder;
  }
  std::string shipped = std::string(KOTONEL_SOURCE_DIR) + "dll/";
  if (FileExists(shipped + "dic.ktn")) return shipped;
  return std::string(KOTONEL_SOURCE_DIR) + "tests/data/engine/";
}

std::string SmallDictionaryFolder() {
  if (const char* env = std::getenv("KOTONEL_FUZZ_DICT"); env && *env)
    return BaseDictionaryFolder();
  return std::string(KOTONEL_SOURCE_DIR) + "tests/data/engine/";
}

std::string VoiceFolder() {
  return std::string(KOTONEL_SOURCE_DIR) + "dll/";
}

namespace {

std::filesystem::path& Scratch() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

std::string ScratchFolder() {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("kotonel-fuzz-" + std::to_string(getpid()));
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  if (Scratch().empty()) {
    // libFuzzer's fork mode starts a process per job: each must take its folder away.
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(Scratch(), ignored);
    });
  }
  Scratch() = folder;
  return folder.string() + "/";
}

const uint8_t* SilentVoiceLibrary::Synthe(int32_t, const std::string&, int16_t, int32_t& size) {
  size = 44;
  return header_;
}

std::unique_ptr<clsMAIN> MakeSilentEngine(const std::string& dictionaryFolder, VirtualClock& clock,
                                          MessagePump pump) {
  EngineSetup setup;
  setup.dictionaryFolder = dictionaryFolder;
  auto device = std::make_unique<VirtualAudioDevice>(clock);
  device->keepPieces = false;
  setup.device = std::move(device);
  setup.voices = std::make_unique<SilentVoiceLibrary>();
  setup.clock = &clock;
  setup.pump = std::move(pump);
  return std::make_unique<clsMAIN>(std::move(setup));
}

SilentEngine::SilentEngine(const std::string& dictionaryFolder)
    : engine(MakeSilentEngine(dictionaryFolder, clock)) {}

}  // namespace kotonel::fuzz
