// One dictionary file (KOTONEL_FUZZ_FILE) replaced by the input, the others taken from the
// small test dictionaries (the whole engine is built for every input); when the engine loads, a few
// fixed sentences are read through it, so entries that load but break the look-ups show up too.
// Only DictionaryError may leave the loaders.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

namespace {

const char* kSentences[] = {
    "今日は2024年12月7日、気温は-3.5度です。",
    "東京都の人口は約1400万人で、GDPは1兆ドルを超える？",
    "ＣＰＵを３個、apple を 12kg、ゝゞヽヾ々〆ー～！？「」『』★☆※〒",
    "私は走って行きました。雨が降り始めた頃、彼女は笑った。",
    "第1回の会議は午後3時30分から、Room 205で行われます。",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace fs = std::filesystem;
  static const std::string folder = [] {
    std::string scratch = fuzz::ScratchFolder();
    std::string base = fuzz::SmallDictionaryFolder();
    for (const char* name : {"mrk.ktn", "join.ktn", "eng.ktn", "num.ktn", "dic.ktn", "acc.ktn"}) {
      if (FileExists(base + name))
        fs::copy_file(base + name, scratch + name, fs::copy_options::overwrite_existing);
    }
    return scratch;
  }();
  if (!WriteFileAtomic(folder + KOTONEL_FUZZ_FILE,
                       std::string(reinterpret_cast<const char*>(data), size)))
    return 0;
  try {
    fuzz::SilentEngine rig(folder);
    for (bool intonation : {true, false}) {
      rig.engine->Intonation(intonation);
      for (const char* s : kSentences) rig.engine->Speech(0, FromUtf8(s));
    }
  } catch (const DictionaryError&) {
  }
  return 0;
}
