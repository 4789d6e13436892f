#include "engine/clsMAIN.h"

#include <pthread.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <exception>

#include "analysis/CharacterKinds.h"
#include "analysis/EnjConv.h"
#include "analysis/Intonation.h"
#include "analysis/NumConv.h"
#include "analysis/RevConv.h"
#include "analysis/Separate.h"
#include "engine/heap_reserve.h"
#include "engine/phonetic_filter.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/strings.h"

namespace kotonel {

namespace {

// About what the dictionaries that are read as text (and not from a cache) take in memory.
constexpr size_t kLoadingHeap = 24 << 20;

// A dictionary folder that is not there would be reported as the first file it must hold
// being missing; name the folder itself.
void CheckDictionaryFolder(const std::string& folder) {
  if (folder.empty()) return;
  struct stat st;
  int error = ::stat(folder.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
  if (error != 0) throw DictionaryError::Unreadable(U"辞書フォルダ", folder, std::strerror(error));
}

}  // namespace

clsMAIN::clsMAIN(EngineSetup setup)
    : clock_(setup.clock ? setup.clock : &SystemClock()),
      pump_(std::move(setup.pump)),
      dictionaryFolder_(std::move(setup.dictionaryFolder)) {
  // Loading makes many small objects: their pages are taken from the system in one call.
  HeapReserve reserve(kLoadingHeap);
  if (!setup.device) setup.device = MakeDefaultAudioDevice();
  if (!setup.voices) setup.voices = std::make_unique<SynthVoiceLibrary>(dictionaryFolder_);
  if (setup.firstVoice >= 0) {
    // The loading thread takes no signals: one delivered to it would not interrupt the main
    // thread waiting for input, which is what the program's handlers count on.
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);
    prepared_ = std::async(
        std::launch::async,
        [voices = setup.voices.get(), voice = setup.firstVoice] { voices->Prepare(voice); });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  HiraganaSet();  // the kana tables of the filter are built once, here
  KatakanaSet();
  wave_ = std::make_unique<clsWAVE>(std::move(setup.device), std::move(setup.voices));
  CheckDictionaryFolder(dictionaryFolder_);
  separate_ = std::make_unique<Separate>(dictionaryFolder_);
  enjConv_ = std::make_unique<EnjConv>(dictionaryFolder_);
  numConv_ = std::make_unique<NumConv>(dictionaryFolder_);
  revConv_ = std::make_unique<RevConv>(dictionaryFolder_);
  intonation_ = std::make_unique<kotonel::Intonation>(dictionaryFolder_);
  revConv_->抑揚(intonation_.get());
  intonation_->分割(separate_.get());
  conv_ = true;
  for (const char32_t* k : {U"で", U"れ", U"れら", U"また", U"こと", U"あるい", U"ついて", U"やつ"})
    waContexts_.Add(k);
}

clsMAIN::~clsMAIN() {
  // Released in the order they were made; the wave player stops the sound first.
  if (prepared_.valid()) prepared_.wait();
  wave_.reset();
  separate_.reset();
  enjConv_.reset();
  numConv_.reset();
  revConv_.reset();
  intonation_.reset();
}

void clsMAIN::Intonation(bool on) {
  intonation_->Enabled(on);
}
bool clsMAIN::Intonation() const {
  return intonation_->Enabled();
}

int32_t clsMAIN::Speech(int32_t lngHWND, const std::u32string& strWRD) {
  if (strWRD.empty() || inSpeech_) return 0;
  inSpeech_ = true;
  speaking_ = true;
  lastError_.clear();
  int32_t rc;
  try {
    rc = SpeakText(strWRD);
  } catch (const std::exception& e) {
    // An unexpected failure inside a component ends the run as a synthesis failure.
    wave_->CANCEL();
    paused_ = false;
    lastError_ = e.what();
    rc = kSynthesisFailed;
  }
  speaking_ = false;
  inSpeech_ = false;
  return rc > 0 ? rc : 0;
}

int32_t clsMAIN::RunSentences(const std::u32string& text) {
  int32_t rc = 0;
  for (const auto& sentence : CutSentences(text)) {
    if (!speaking_) return 0;
    rc = conv_ ? SpeakConverted(sentence) : SpeakPhonetic(sentence);
    if (rc != 0) break;
  }
  if (rc > 0 && lastError_.empty()) lastError_ = wave_->LastError();
  return rc;
}

namespace {

// Characters the preparation of a text replaces, collapses or cuts after.
bool Ordinary(char32_t c) {
  return std::u32string_view(U" 　・･。、？\r\n").find(c) == std::u32string_view::npos;
}

bool IsSentenceEnd(char32_t c) {
  return c == U'、' || c == U'。' || c == U'？';
}

}  // namespace

int32_t clsMAIN::SpeakText(std::u32string_view text) {
  // A line of megabytes would otherwise be copied, prepared and cut whole before its first
  // sound, and a stop would wait for all of that. So it is prepared a chunk at a time, each
  // chunk's sentences spoken before the next is prepared. Chunks end between two ordinary
  // characters, where no replacement or cut reaches across, so the sentences are the same.
  std::u32string pending;  // prepared text after the last sentence mark
  for (size_t at = 0; at < text.size();) {
    size_t end = at + std::max<size_t>(prepareChunk, 1);
    while (end < text.size() && !(Ordinary(text[end - 1]) && Ordinary(text[end]))) ++end;
    end = std::min(end, text.size());
    const bool last = end == text.size();
    const size_t scanned = pending.size();
    pending += PrepareText(ToCp932Forms(text.substr(at, end - at)), last);
    if (last) return RunSentences(pending);
    size_t cut = pending.size();
    while (cut > scanned && !IsSentenceEnd(pending[cut - 1])) --cut;
    if (cut > scanned) {
      std::u32string ready = pending.substr(0, cut);
      pending.erase(0, cut);
      int32_t rc = RunSentences(ready);
      if (rc != 0 || !speaking_) return rc;
    }
    at = end;
    YieldToWindow();
    if (!speaking_) return 0;
  }
  return 0;
}

std::u32string clsMAIN::PrepareText(const std::u32string& text, bool end) const {
  std::u32string s = text;
  if (end && (s.empty() || s.back() != U'。')) s += U'。';
  s = ReplaceAll(s, U"\r\n", U"。");
  if (conv_) {
    s = ReplaceAll(s, U" ", U"。");
    s = ReplaceAll(s, U"　", U"。");
    for (const char32_t* unit : {U" ", U"　", U"・", U"･", U"。"}) s = CollapseRuns(s, unit, U"。");
  }
  return s;
}

std::vector<std::u32string> clsMAIN::CutSentences(const std::u32string& text) {
  std::vector<std::u32string> sentences;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (IsSentenceEnd(c)) {
      sentences.push_back(text.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < text.size()) sentences.push_back(text.substr(start));
  return sentences;
}

void clsMAIN::AddChunks(const std::u32string& phrase, char32_t mark,
                        std::vector<std::u32string>& chunks) {
  int64_t n = RoundHalfEven(static_cast<double>(phrase.size()) / 100.0 + 1.0);
  for (int64_t k = 1; k <= n; ++k) {
    size_t from = static_cast<size_t>((k - 1) * 100);
    std::u32string piece = from < phrase.size() ? phrase.substr(from, 100) : std::u32string();
    chunks.push_back(piece + mark);
  }
}

std::u32string clsMAIN::ConvertAndFilter(const std::u32string& sentence) {
  return CleanPhonetic(FilterPhonetic(ConvertSentence(sentence)));
}

namespace {

// Where the next piece of a long sentence ends: at most kConvertPiece characters from at,
// preferably where hiragana gives way to another kind (the end of a word and its particles),
// else where the kind changes at all, else anywhere.
size_t PieceEnd(const std::u32string& sentence, size_t at) {
  size_t limit = at + clsMAIN::kConvertPiece;
  if (limit >= sentence.size()) return sentence.size();
  constexpr int32_t kHiragana = 4, kLongVowel = 6;
  size_t anyChange = 0;
  for (size_t i = limit; i > at + clsMAIN::kConvertPiece / 2; --i) {
    int32_t before = CharacterKind(sentence[i - 1]), after = CharacterKind(sentence[i]);
    if (before == after || after == kLongVowel) continue;
    if (before == kHiragana) return i;
    if (anyChange == 0) anyChange = i;
  }
  return anyChange != 0 ? anyChange : limit;
}

}  // namespace

int32_t clsMAIN::SpeakConverted(const std::u32string& sentence) {
  if (sentence.empty()) return 0;
  // A sentence of thousands of characters without a mark is converted a piece at a time, each
  // spoken before the next is converted; between pieces the window and the commands run, and a
  // cancel stops the conversion. A sentence of one piece is converted whole.
  std::u32string pending;  // converted text after the last mark, waiting for its mark
  for (size_t at = 0; at < sentence.size();) {
    size_t end = PieceEnd(sentence, at);
    if (at > 0) {
      YieldToWindow();
      if (!speaking_) return -1;
    }
    std::u32string part = ConvertAndFilter(sentence.substr(at, end - at));
    if (!pending.empty() && !part.empty() && pending.back() != U'/' && part.front() != U'/')
      pending += U'/';
    pending += part;
    at = end;
    int32_t rc = SpeakMarkedPhrases(pending);
    if (rc != 0) return rc;
  }
  return 0;
}

int32_t clsMAIN::SpeakMarkedPhrases(std::u32string& s) {
  std::vector<std::u32string> chunks;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c == U',' || c == U'、' || c == U'。' || c == U'？') {
      AddChunks(s.substr(start, i - start), c, chunks);
      start = i + 1;
    }
  }
  // What follows the last mark waits for the next piece; after the last piece it is dropped.
  s.erase(0, start);
  for (auto& chunk : chunks) {
    if (!speaking_) return -1;
    if (!chunk.empty()) {
      std::u32string m(1, chunk.back());
      chunk = CollapseRuns(CleanPhonetic(FilterPhonetic(chunk)), m, m);
    }
    // A chunk made of marks alone is not spoken, except a lone ",".
    if (chunk.empty() || (chunk != U"," && kPhoneticMarks.find(chunk) != std::u32string_view::npos))
      continue;
    int32_t rc = SpeakPhonetic(chunk);
    if (rc != 0) return rc;
  }
  return 0;
}

void clsMAIN::YieldToWindow() {
  if (Wait) Wait();
  if (pump_) pump_();
}

int32_t clsMAIN::SpeakPhonetic(const std::u32string& s) {
  if (s.empty()) return 0;
  wave_->WORD(s);
  int32_t rc = wave_->PLAY();
  if (rc != 0) {
    speaking_ = false;
    return rc;
  }
  if (paused_) wave_->PAUSE();
  while (wave_->IsPLAY()) {
    if (!speaking_) return -1;
    WaitWithEvent(50);
  }
  if (!speaking_) return -1;
  char32_t last = s.back();
  WaitWithEvent(last == U'？' || last == U'。' ? 300 : last == U'、' ? 150 : 50);
  return 0;
}

void clsMAIN::WaitWithEvent(uint32_t ms) {
  uint64_t deadline = 0;
  TimeUp(deadline, ms, *clock_);
  do {
    if (Wait) Wait();
    clock_->SleepMs(50);
    if (pump_) pump_();
  } while (!TimeUp(deadline, ms, *clock_));
}

bool clsMAIN::PAUSE() {
  paused_ = true;
  return wave_->PAUSE();
}

bool clsMAIN::RESTART() {
  paused_ = false;
  return wave_->RESTART();
}

bool clsMAIN::SAVE() {
  return wave_->SAVE(path_);
}

void clsMAIN::CANCEL() {
  wave_->CANCEL();
  speaking_ = false;
  paused_ = false;
}

}  // namespace kotonel
