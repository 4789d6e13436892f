// Throughput of the number and English readers over a fixed mix of inputs, with the small test
// dictionaries (the readers scan their tables linearly, so the dictionary size matters little
// for numbers and not at all for the hashed English tables).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/EnjConv.h"
#include "analysis/NumConv.h"

int main() {
  using Clock = std::chrono::steady_clock;
  const std::string data = std::string(KOTONEL_SOURCE_DIR) + "tests/data/";
  kotonel::NumConv numbers(data + "numconv/");
  kotonel::EnjConv english(data + "enjconv/");

  const std::vector<std::pair<std::u32string, std::u32string>> numberInputs = {
      {U"12345", U""}, {U"3.14159", U""},     {U"1,000", U"本"},     {U"300", U"本"},
      {U"4", U"年"},   {U"09012345678", U""}, {U"100000000", U"人"}, {U"2026", U"年"}};
  const std::vector<std::u32string> words = {U"hello", U"station", U"lion",    U"data",
                                             U"cab",   U"stab",    U"STATION", U"nasa"};

  constexpr int kRounds = 200000;
  std::u32string afNm, afWd;
  size_t sink = 0;
  auto start = Clock::now();
  for (int round = 0; round < kRounds; ++round) {
    for (const auto& [number, word] : numberInputs) {
      numbers.BefWord(U"tel", 1);
      numbers.Convert(number, word, afNm, afWd, 2);
      sink += afNm.size() + afWd.size();
    }
  }
  const double numberSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  start = Clock::now();
  for (int round = 0; round < kRounds; ++round)
    for (const auto& word : words) sink += english.Convert(word).size();
  const double englishSeconds = std::chrono::duration<double>(Clock::now() - start).count();

  const double numberCalls = static_cast<double>(kRounds) * numberInputs.size();
  const double englishCalls = static_cast<double>(kRounds) * words.size();
  std::printf("NumConv: %.0f numbers/s (%.2f us each)\n", numberCalls / numberSeconds,
              1e6 * numberSeconds / numberCalls);
  std::printf("EnjConv: %.0f words/s (%.2f us each)\n", englishCalls / englishSeconds,
              1e6 * englishSeconds / englishCalls);
  return sink == 0 ? 1 : 0;
}
