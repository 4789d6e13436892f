// Synthesis speed on given phonetic strings: for each voice, seconds of sound the synthesizer
// makes per second of CPU time spent in it, over every line of a UTF-8 file. The sound counted
// is what the synthesizer returns (its own pauses included), not the pauses the wave player
// adds between pieces.
//
// usage: bench_synth_file KANA_FILE [DICT_FOLDER] [VOICE,...]
#include <time.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/cpu_time.h"
#include "synth/synthesizer.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"

int main(int argc, char** argv) {
  using namespace kotonel;
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_synth_file KANA_FILE [DICT_FOLDER] [VOICE,...]\n");
    return 2;
  }
  std::string dict = argc > 2 ? argv[2] : std::string(KOTONEL_SOURCE_DIR) + "dll/";
  if (dict.back() != '/') dict += '/';
  std::string voices = argc > 3 ? argv[3] : "f1,f2,m1,m2,r1,imd1,dvd,jgr";
  std::string data;
  if (!ReadWholeFile(argv[1], data)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  std::vector<std::string> lines;
  for (const std::u32string& line : SplitLines(FromUtf8(data)))
    if (!line.empty()) lines.push_back(ToCp932(line));
  std::printf("voice speech_s cpu_s\n");
  for (const std::u32string& voice : SplitText(FromUtf8(voices), U',')) {
    double speech = 0;
    const double start = CpuSeconds();
    for (const std::string& koe : lines) {
      std::vector<uint8_t> image;
      std::string error;
      if (!synth::Synthesize(dict + ToUtf8(voice) + "/", koe, 100, image, error)) {
        std::fprintf(stderr, "%s: %s\n", ToUtf8(voice).c_str(), error.c_str());
        return 1;
      }
      speech += double(image.size() - 44) / 2 / 8000;
    }
    std::printf("%s %.3f %.4f\n", ToUtf8(voice).c_str(), speech, CpuSeconds() - start);
  }
  return 0;
}
