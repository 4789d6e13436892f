// The engine: the one object through which the windows and the command line speak. It cuts a
// text into sentences, converts each (unless conversion is off), hands the pieces one by one
// to the wave player and waits for each, raising Wait and letting the window run meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "audio/clsWAVE.h"
#include "util/clock.h"
#include "util/lists.h"

namespace kotonel {

class Separate;
class EnjConv;
class NumConv;
class RevConv;
class Intonation;

struct EngineSetup {
  std::string dictionaryFolder;          // with a trailing '/'
  std::unique_ptr<AudioDevice> device;   // default: MakeDefaultAudioDevice()
  std::unique_ptr<VoiceLibrary> voices;  // default: the synthesizer's voice folders
  Clock* clock = nullptr;                // default: the real clock
  MessagePump pump;                      // lets the window process messages while waiting
  // The voice the first line will be spoken in, when known: what it needs (its model) is loaded
  // on another thread while the dictionaries load. -1: nothing is loaded ahead.
  int32_t firstVoice = -1;
};

class clsMAIN {
 public:
  // Opens the audio device and loads every dictionary of setup.dictionaryFolder; a broken
  // dictionary throws DictionaryError.
  explicit clsMAIN(EngineSetup setup);
  ~clsMAIN();
  clsMAIN(const clsMAIN&) = delete;
  clsMAIN& operator=(const clsMAIN&) = delete;

  // Speaks text; returns 0 after success, cancellation or an empty text, else the wave
  // player's failure code. A call made while another is running is refused with 0.
  int32_t Speech(int32_t lngHWND, const std::u32string& strWRD);
  bool PAUSE();
  bool RESTART();
  // Writes the recording to PATH; false when it could not be written.
  bool SAVE();
  void CANCEL();

  void CONV(bool on) { conv_ = on; }
  bool CONV() const { return conv_; }
  void Intonation(bool on);
  bool Intonation() const;
  // The wave player streams a recording beside its file as it is made.
  void PATH(std::string path) {
    path_ = std::move(path);
    wave_->RecordingPath(path_);
  }
  const std::string& PATH() const { return path_; }
  void RECORD(bool on) { wave_->RECORD(on); }
  void SPEED(int32_t speed) { wave_->SPEED(speed); }
  int32_t SPEED() const { return wave_->SPEED(); }
  void VOICE(int32_t voice) { wave_->VOICE(voice); }
  void VOLUME(int32_t volume) { wave_->VOLUME(volume); }
  int32_t VOLUME() const { return wave_->VOLUME(); }
  bool IsTalk() const { return speaking_; }
  bool IsPaused() const { return paused_; }

  // Raised at least once per 50 ms while a speech run waits.
  std::function<void()> Wait;

  // Why the last Speech failed, for the user (UTF-8).
  const std::string& LastError() const { return lastError_; }
  clsWAVE& Wave() { return *wave_; }

  // Sentence cutting after "、", "。" and "？", each sentence keeping its mark.
  static std::vector<std::u32string> CutSentences(const std::u32string& text);
  // Appends the pieces of a phrase of at most 100 characters each, each followed by mark.
  static void AddChunks(const std::u32string& phrase, char32_t mark,
                        std::vector<std::u32string>& chunks);
  // Line breaks and, when converting, blanks and runs of separators to "。"; the end of the
  // text also gets a "。" when it has none.
  std::u32string PrepareText(const std::u32string& text, bool end = true) const;
  // One sentence of ordinary Japanese to the synthesizer's kana and marks (before filtering).
  std::u32string ConvertSentence(const std::u32string& sentence);
  // The whole converting path for one sentence: conversion, filter and clean-up.
  std::u32string ConvertAndFilter(const std::u32string& sentence);

  // Longer sentences are converted and spoken a piece of about this many characters at a time.
  static constexpr size_t kConvertPiece = 2000;
  // Longer texts are prepared and spoken a chunk of about this many characters at a time.
  size_t prepareChunk = size_t{1} << 16;

 private:
  int32_t SpeakText(std::u32string_view text);
  int32_t SpeakConverted(const std::u32string& sentence);
  // Speaks the chunks of s up to its last mark and leaves in s what follows that mark.
  int32_t SpeakMarkedPhrases(std::u32string& s);
  // Raises Wait and lets the window run once, without waiting.
  void YieldToWindow();
  int32_t SpeakPhonetic(const std::u32string& s);
  void WaitWithEvent(uint32_t ms);
  int32_t RunSentences(const std::u32string& text);
  void ApplyParticleRules();
  std::u32string ReadWaContexts(const std::u32string& word) const;
  std::u32string JoinWords();
  bool CounterPrefix(int32_t i) const;

  std::unique_ptr<clsWAVE> wave_;
  std::unique_ptr<Separate> separate_;
  std::unique_ptr<EnjConv> enjConv_;
  std::unique_ptr<NumConv> numConv_;
  std::unique_ptr<RevConv> revConv_;
  std::unique_ptr<kotonel::Intonation> intonation_;
  // The voice library loading ahead for the first voice; waited for before the library goes.
  std::future<void> prepared_;
  StringList waContexts_;
  // Words of the sentence (by number) that begin with a number word's counter in kana: no
  // phrase boundary goes between the number and them.
  std::vector<bool> counterHeld_;
  // Per word: the kanji word read the first kana of the hiragana word after it as okurigana.
  std::vector<bool> kanaTaken_;
  // Per word: the kanji word ends in an adverb of two kanji or more.
  std::vector<bool> endsInAdverb_;
  Clock* clock_;
  MessagePump pump_;
  std::string dictionaryFolder_;
  bool speaking_ = false;
  bool paused_ = false;
  bool conv_ = true;
  bool inSpeech_ = false;
  std::string path_;
  std::string lastError_;
};

}  // namespace kotonel
