// The whole way from the bytes of a text file to the phonetic pieces the synthesizer gets:
// decoding, line splitting, sentence cutting, conversion with and without intonation, filter
// and chunking. The first byte picks the mode.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::SilentEngine rig(fuzz::BaseDictionaryFolder());
  if (size == 0) return 0;
  uint8_t mode = data[0];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  clsMAIN& engine = *rig.engine;
  engine.CONV((mode & 3) != 0);
  engine.Intonation((mode & 3) == 1);
  for (const auto& line : SplitLines(DecodeTextFile(bytes))) engine.Speech(0, line);
  return 0;
}
