// Characters per second of word segmentation over a large Japanese text, cut line by line as
// the engine does. Usage: bench_segmentation [dictionary folder] [characters]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/Separate.h"
#include "util/encoding.h"

int main(int argc, char** argv) {
  using namespace kotonel;
  const std::string folder =
      argc > 1 ? argv[1] : std::string(KOTONEL_SOURCE_DIR) + "tests/data/separate/joins/";
  const size_t target = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 2000000;

  // Lines mixing every kind: kanji, kana, half-width katakana, iteration marks, numbers with
  // decimal points and currency signs, Latin and full-width letters, symbols and punctuation.
  const std::vector<std::u32string> samples = {
      U32("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"),
      U32("昨日、ｺﾝﾋﾟｭｰﾀｰで￥１，２８０の本を買いました。税込みで$12.5です！"),
      U32("ＡＢＣ社の売上は３．５％増え、前年比１２０億円（約$1.1 billion）となった。"),
      U32("こゝろ、いすゞ、時々、「カーテン」を開けると、外はもう真っ暗だった…"),
      U32("The quick brown fox は “素早い茶色の狐” という意味です。Ωや∞も使います。"),
  };
  std::vector<std::u32string> lines;
  size_t characters = 0;
  while (characters < target) {
    const auto& line = samples[lines.size() % samples.size()];
    lines.push_back(line);
    characters += line.size();
  }

  Separate separate(folder);
  size_t words = 0;
  // One warm-up round, then the timed rounds.
  for (const auto& line : lines) separate.単語分割(line);
  const int rounds = 3;
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; ++r) {
    for (const auto& line : lines) {
      separate.単語分割(line);
      words += static_cast<size_t>(separate.単語数());
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double total = static_cast<double>(characters) * rounds;
  std::printf("segmentation: %zu characters in %zu lines, %d rounds, %.3f s\n", characters,
              lines.size(), rounds, seconds);
  std::printf("  %.0f characters/s, %.0f lines/s, %.1f words per line\n", total / seconds,
              static_cast<double>(lines.size()) * rounds / seconds,
              static_cast<double>(words) / (static_cast<double>(lines.size()) * rounds));
  return 0;
}
