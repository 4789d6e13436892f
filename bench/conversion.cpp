// Conversion speed: how many characters of ordinary Japanese per second the engine turns into
// filtered phonetic strings, and how long constructing the engine (loading every dictionary)
// takes. usage: bench_conversion [DICT_DIR] [TEXT_FILE]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/virtual_audio_device.h"
#include "engine/clsMAIN.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

namespace {

// Everyday sentences with kanji, kana, numbers, English and symbols, used when no text is given.
const char* const kSample[] = {
    "今日は朝から雨が降っていたので、駅まで歩いて十五分かかりました。",
    "会議は2025年3月14日の午後2時30分から第3会議室で行います。",
    "新しいスマートフォンの価格は1台あたり98,000円です。",
    "彼女はNASAのエンジニアとして宇宙探査の研究をしている。",
    "東京都の人口はおよそ1400万人で、日本で最も多い。",
    "この本を読み終えたら、感想を聞かせてください。",
    "気温は摂氏25.5度、湿度は60%でした。",
    "ソフトウェアのバージョン3.14をダウンロードしてインストールする。",
};

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

}  // namespace

int main(int argc, char** argv) {
  std::string dict = argc > 1 ? argv[1] : std::string(KOTONEL_SOURCE_DIR) + "dll/";
  if (dict.back() != '/') dict += '/';
  std::vector<std::u32string> lines;
  if (argc > 2) {
    std::string data;
    if (!ReadWholeFile(argv[2], data)) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 1;
    }
    for (auto& line : SplitLines(DecodeTextFile(data)))
      if (!line.empty()) lines.push_back(line);
  } else {
    for (int rep = 0; rep < 2000; ++rep)
      for (const char* s : kSample) lines.push_back(FromUtf8(s));
  }

  VirtualClock clock;
  auto t0 = std::chrono::steady_clock::now();
  std::unique_ptr<clsMAIN> engine;
  try {
    EngineSetup setup;
    setup.dictionaryFolder = dict;
    setup.device = std::make_unique<VirtualAudioDevice>(clock);
    setup.clock = &clock;
    engine = std::make_unique<clsMAIN>(std::move(setup));
  } catch (const DictionaryError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 3;
  }
  auto t1 = std::chrono::steady_clock::now();

  size_t chars = 0, out = 0;
  auto t2 = std::chrono::steady_clock::now();
  for (int pass = 0; pass < 3; ++pass) {
    for (const auto& line : lines) {
      for (const auto& sentence : clsMAIN::CutSentences(engine->PrepareText(line))) {
        out += engine->ConvertAndFilter(sentence).size();
      }
      chars += line.size();
    }
  }
  auto t3 = std::chrono::steady_clock::now();
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("dictionaries: %s\n", dict.c_str());
  std::printf("engine construction: %.1f ms\n", Seconds(t0, t1) * 1000);
  std::printf("conversion: %zu characters in %.3f s = %.0f characters/s (%zu out)\n", chars,
              Seconds(t2, t3), chars / Seconds(t2, t3), out);
  std::printf("peak resident memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
  return 0;
}
