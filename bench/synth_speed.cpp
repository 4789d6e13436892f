// How fast the synthesizer speaks: for each voice, seconds of speech made per second of one
// core's time (CPU time of this process), over a few typical phonetic sentences.
#include <time.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/cpu_time.h"
#include "synth/synthesizer.h"
#include "util/encoding.h"

int main(int argc, char** argv) {
  using namespace kotonel;
  const std::string dict = argc > 1 ? argv[1] : std::string(KOTONEL_SOURCE_DIR) + "dll/";
  const std::vector<std::string> sentences = {
      ToCp932(U"こんにちわ。"),
      ToCp932(U"きょうわ/いい'/てんきですね、さんぽに/いきましょ'うか？"),
      ToCp932(U"とうきょうえきから/しんかんせんで/おおさかまで/にじ'かんはん/かかります。"),
      ToCp932(U"この/ほ'んわ/かな'りゆうめいな/しょ'うせつで、ほ'んやくも/でています。"),
  };
  std::printf("voice  speech_s  cpu_s    x_realtime\n");
  for (const char* voice : {"f1", "f2", "m1", "m2", "r1", "imd1", "dvd", "jgr"}) {
    double speech = 0, cpu = 0;
    const double start = CpuSeconds();
    while (cpu < 1.0) {
      for (const std::string& koe : sentences) {
        std::vector<uint8_t> image;
        std::string error;
        if (!synth::Synthesize(dict + voice + "/", koe, 100, image, error)) {
          std::fprintf(stderr, "%s: %s\n", voice, error.c_str());
          return 1;
        }
        speech += double(image.size() - 44) / 2 / 8000;
      }
      cpu = CpuSeconds() - start;
    }
    std::printf("%-5s  %8.1f  %6.3f  %8.0f\n", voice, speech, cpu, speech / cpu);
  }
  return 0;
}
