// Word dictionary and accent rules at shipping size: how long loading takes, and how many
// words per second the reading lookup and the accent step handle.
//
// Usage: bench_dictionary_load [ENTRIES [RULES]]   (defaults 300000 and 5000)
// A dic.ktn of ENTRIES generated headwords and an acc.ktn of RULES rules (mostly whole-word,
// as the shipped file is) are written to a temporary folder and removed afterwards (kept when
// KEEP is set in the environment, for profiling the loaders on their own).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "analysis/Intonation.h"
#include "analysis/RevConv.h"
#include "analysis/Separate.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::vector<char32_t> Kanji() {
  std::vector<char32_t> out;
  for (int code = 0x889F; code <= 0x9FFC; ++code) {
    char32_t c = FromCp932Code(code);
    if (c >= 0x4E00 && c <= 0x9FFF) out.push_back(c);
  }
  return out;
}

std::u32string Kana(std::mt19937& rng, int length) {
  std::u32string s;
  for (int i = 0; i < length; ++i) s.push_back(static_cast<char32_t>(U'あ' + rng() % 80));
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 300000;
  const int rules = argc > 2 ? std::atoi(argv[2]) : 5000;
  std::mt19937 rng(12345);
  const std::vector<char32_t> kanji = Kanji();
  const int codes[] = {1, 5, 12, 23, 25, 30, 32, 34, 35};

  // dic.ktn: one- to four-kanji headwords, one to three readings, some with okurigana.
  std::vector<std::u32string> headwords;
  std::unordered_set<std::u32string> seen;
  std::string dic;
  while (static_cast<int>(headwords.size()) < entries) {
    std::u32string head;
    int length = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < length; ++i) head.push_back(kanji[rng() % kanji.size()]);
    if (rng() % 8 == 0) head += Kana(rng, 1);
    if (!seen.insert(head).second) continue;
    headwords.push_back(head);
    int variants = 1 + static_cast<int>(rng() % 3);
    std::u32string readings, codeList, accent;
    for (int v = 0; v < variants; ++v) {
      if (v) readings += U',', codeList += U',', accent += U',';
      readings += Kana(rng, 2 + static_cast<int>(rng() % 4));
      codeList += FromUtf8(std::to_string(codes[rng() % 9]));
      accent += FromUtf8(std::to_string(rng() % 4));
    }
    std::u32string line = head + U' ' + readings + U' ' + codeList;
    if (rng() % 2) line += U' ' + accent;
    dic += ToCp932(line) + "\r\n";
  }

  // acc.ktn: whole-word rules for the common words, a few hundred of the other modes.
  std::string acc;
  for (int r = 0; r < rules; ++r) {
    int kind = r % 3 == 0 ? 4 : r % 3 == 1 ? 5 : 8;
    int mode = r % 20 == 0 ? 0 : r % 20 == 1 ? 1 : r % 20 == 2 ? 2 : 3;
    std::u32string pattern = mode == 3 ? Kana(rng, 2 + static_cast<int>(rng() % 4)) : Kana(rng, 2);
    std::u32string line = FromUtf8(std::to_string(kind)) + U" 0 " + pattern + U' ' +
                          pattern.substr(0, 1) + U'\'' + pattern.substr(1) + U' ' +
                          FromUtf8(std::to_string(mode));
    acc += ToCp932(line) + "\r\n";
  }

  char folderTemplate[] = "/tmp/kotonel_bench_XXXXXX";
  if (!mkdtemp(folderTemplate)) return 1;
  std::string folder = std::string(folderTemplate) + "/";
  WriteFileAtomic(folder + "dic.ktn", dic);
  WriteFileAtomic(folder + "acc.ktn", acc);
  std::printf("dic.ktn: %d entries, %.1f MB; acc.ktn: %d rules\n", entries, dic.size() / 1e6,
              rules);

  // Wall time suffers when other programs share the processor; thread CPU time does not.
  // First from the text alone (no cache folder), then from the cache a load writes.
  const std::string cacheHome = folder + "cache";
  setenv("HOME", "", 1);
  unsetenv("XDG_CACHE_HOME");
  auto t0 = Clock::now();
  double c0 = CpuMs();
  RevConv rev(folder);
  double revMs = MsSince(t0), revCpu = CpuMs() - c0;
  setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
  { RevConv writesCache(folder); }
  t0 = Clock::now();
  c0 = CpuMs();
  { RevConv fromCache(folder); }
  double cachedMs = MsSince(t0), cachedCpu = CpuMs() - c0;
  t0 = Clock::now();
  c0 = CpuMs();
  Intonation ton(folder);
  double tonMs = MsSince(t0), tonCpu = CpuMs() - c0;
  rev.抑揚(&ton);
  std::printf(
      "load: RevConv %.1f ms (CPU %.1f ms), from its cache %.1f ms (CPU %.1f ms), "
      "Intonation %.1f ms (CPU %.1f ms)\n",
      revMs, revCpu, cachedMs, cachedCpu, tonMs, tonCpu);

  // Words of one to three headwords with now and then a kanji no entry starts with.
  std::vector<std::u32string> words, kanas;
  for (int i = 0; i < 20000; ++i) {
    std::u32string w;
    int pieces = 1 + static_cast<int>(rng() % 3);
    for (int p = 0; p < pieces; ++p) {
      std::u32string h = headwords[rng() % headwords.size()];
      while (!h.empty() && h.back() >= U'ぁ' && h.back() <= U'ん') h.pop_back();
      w += h;
      if (rng() % 10 == 0) w.push_back(kanji[rng() % kanji.size()]);
    }
    words.push_back(w);
    kanas.push_back(rng() % 2 ? Kana(rng, 2) : U"");
  }
  size_t chars = 0;
  const int rounds = 10;
  t0 = Clock::now();
  for (int r = 0; r < rounds; ++r) {
    for (size_t i = 0; i < words.size(); ++i) {
      rev.元字(words[i]);
      rev.直前(kanas[(i + 1) % kanas.size()]);
      rev.仮名(kanas[i]);
      rev.種類(0, 4);
      rev.種類(1, 8);
      rev.種類(2, kanas[i].empty() ? 7 : 4);
      rev.Convert();
      chars += rev.読み().size();
    }
  }
  double convMs = MsSince(t0);
  double convertedWords = static_cast<double>(words.size()) * rounds;
  std::printf("lookup: %.0f words/s (%.2f us/word, %zu reading characters)\n",
              convertedWords / (convMs / 1000), convMs * 1000 / convertedWords, chars);

  // The accent step over a word table of kana words of the three kinds; the table is put back
  // before each round, outside the timing, since the step rewrites the words.
  Separate table(folder);
  std::vector<std::u32string> texts;
  for (int i = 0; i < 2000; ++i) {
    int kind = i % 3 == 0 ? 4 : i % 3 == 1 ? 5 : 8;
    texts.push_back(Kana(rng, 2 + static_cast<int>(rng() % 4)));
    table.単語(0, texts.back());
    table.種類(0, kind);
    table.発音(0, kind == 8 ? U" '  " : U"");
    table.品詞(0, -1);
  }
  ton.分割(&table);
  double accMs = 0;
  const int accentRounds = 50;
  for (int r = 0; r < accentRounds; ++r) {
    for (int32_t i = 1; i <= table.単語数(); ++i) table.単語(i, texts[i - 1]);
    t0 = Clock::now();
    for (int32_t i = 1; i <= table.単語数(); ++i) ton.アクセント(i);
    accMs += MsSince(t0);
  }
  double accentWords = static_cast<double>(table.単語数()) * accentRounds;
  std::printf("accent: %.0f words/s (%.2f us/word)\n", accentWords / (accMs / 1000),
              accMs * 1000 / accentWords);

  if (getenv("KEEP")) return 0;
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
