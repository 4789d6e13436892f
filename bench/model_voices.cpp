// The recorded-speaker voices: how fast they speak (seconds of speech per second of one core's
// CPU time), how long loading a model takes, and the first-sound latency: the wave player
// synthesizes a whole piece (a sentence, at most 100 characters) before it starts playing, so
// the time to synthesize the first piece of a line is the wait between play and sound.
//   bench_model_voices [dictionary folder]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/cpu_time.h"
#include "synth/hts_voice.h"
#include "synth/synthesizer.h"
#include "util/encoding.h"

namespace {

double WallSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kotonel;
  const std::string dict = argc > 1 ? argv[1] : std::string(KOTONEL_SOURCE_DIR) + "dll/";
  const std::vector<std::string> sentences = {
      ToCp932(U"こんにちわ。"),
      ToCp932(U"きょうわ/いい'/てんきですね、さんぽに/いきましょ'うか？"),
      ToCp932(U"とうきょうえきから/しんかんせんで/おおさかまで/にじ'かんはん/かかります。"),
      ToCp932(U"この/ほ'んわ/かな'りゆうめいな/しょ'うせつで、ほ'んやくも/でています。"),
  };
  // The longest piece the reader hands over at once: 100 characters.
  const std::string longest = ToCp932(
      U"にほ'んの/しゅ'とわ/とーきょーで、じんこ'ーわ/やく/せんよ'んひゃくまんにんです。"
      U"とーきょーえきから/しんかんせんで/おおさかまで/にじ'かんはん/かかります。"
      U"ほ'んやくも/でています");
  std::printf(
      "voice  load_ms  speech_s  cpu_s  x_realtime  sentence_cpu_ms  wall_ms  100_chars_cpu_ms  "
      "wall_ms\n");
  for (const char* voice : {"f1", "m1", "f2", "m2", "imd1"}) {
    const std::string folder = dict + voice + "/";
    synth::VoiceParams params;
    std::string error;
    if (!synth::LoadVoiceParams(folder, params, error)) {
      std::fprintf(stderr, "%s: %s\n", voice, error.c_str());
      return 1;
    }
    if (params.model.empty()) continue;
    double load = WallSeconds();
    if (!synth::HtsModel::Load(synth::ModelPath(folder, params), error)) {
      std::fprintf(stderr, "%s: %s\n", voice, error.c_str());
      return 1;
    }
    load = WallSeconds() - load;

    double speech = 0, cpu = 0;
    const double start = CpuSeconds();
    while (cpu < 2.0) {
      for (const std::string& koe : sentences) {
        std::vector<uint8_t> image;
        if (!synth::Synthesize(folder, koe, 100, image, error)) {
          std::fprintf(stderr, "%s: %s\n", voice, error.c_str());
          return 1;
        }
        speech += double(image.size() - 44) / 2 / 8000;
      }
      cpu = CpuSeconds() - start;
    }
    // Latency: the slowest of a few runs, model already loaded (it is loaded by the first piece
    // the voice ever speaks; add load_ms for that one). CPU time is what one free core needs;
    // the wall clock shows what this machine gave while it was shared.
    double first = 0, firstWall = 0, longestPiece = 0, longestWall = 0, firstSpeech = 0,
           longestSpeech = 0;
    for (int run = 0; run < 5; ++run) {
      std::vector<uint8_t> image;
      double wall = WallSeconds(), t = CpuSeconds();
      synth::Synthesize(folder, sentences[1], 100, image, error);
      first = std::max(first, CpuSeconds() - t);
      firstWall = std::max(firstWall, WallSeconds() - wall);
      firstSpeech = double(image.size() - 44) / 2 / 8000;
      wall = WallSeconds();
      t = CpuSeconds();
      synth::Synthesize(folder, longest, 100, image, error);
      longestPiece = std::max(longestPiece, CpuSeconds() - t);
      longestWall = std::max(longestWall, WallSeconds() - wall);
      longestSpeech = double(image.size() - 44) / 2 / 8000;
    }
    std::printf(
        "%-5s  %7.1f  %8.1f  %5.2f  %10.1f  %5.0f (%4.1f s)  %5.0f  %5.0f (%4.1f s)  %5.0f\n",
        voice, load * 1000, speech, cpu, speech / cpu, first * 1000, firstSpeech, firstWall * 1000,
        longestPiece * 1000, longestSpeech, longestWall * 1000);
  }
  return 0;
}
