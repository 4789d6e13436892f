#include "engine/clsMAIN.h"

#include <exception>

#include "util/strings.h"

namespace kotonel {

clsMAIN::clsMAIN(EngineSetup setup)
    : clock_(setup.clock ? setup.clock : &SystemClock()),
      pump_(std::move(setup.pump)),
      dictionaryFolder_(std::move(setup.dictionaryFolder)) {
  if (!setup.device) setup.device = MakeDefaultAudioDevice();
  if (!setup.voices) setup.voices = std::make_unique<SynthVoiceLibrary>(dictionaryFolder_);
  wave_ = std::make_unique<clsWAVE>(std::move(setup.device), std::move(setup.voices));
  conv_ = true;
}

clsMAIN::~clsMAIN() = default;

int32_t clsMAIN::Speech(int32_t lngHWND, const std::u32string& strWRD) {
  if (strWRD.empty() || inSpeech_) return 0;
  inSpeech_ = true;
  speaking_ = true;
  lastError_.clear();
  int32_t rc;
  try {
    rc = RunSentences(PrepareText(strWRD));
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

std::u32string clsMAIN::PrepareText(const std::u32string& text) const {
  std::u32string s = text;
  if (s.empty() || s.back() != U'。') s += U'。';
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
    if (c == U'、' || c == U'。' || c == U'？') {
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

int32_t clsMAIN::SpeakConverted(const std::u32string& sentence) {
  if (sentence.empty()) return 0;
  // The reading of ordinary Japanese needs the analysis dictionaries, which this engine does
  // not have yet; fail plainly rather than speak the raw text.
  lastError_ = "かな漢字の変換はまだ使えません（音声記号モードを使ってください）";
  speaking_ = false;
  return kSynthesisFailed;
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
