// The wave player: synthesizes one phonetic string at a time through the voice library,
// scales it by the volume, appends it to the recording and starts it playing without waiting.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/audio_device.h"
#include "audio/voice_library.h"
#include "util/files.h"

namespace kotonel {

// Failure codes of PLAY.
enum : int32_t {
  kDeviceNotOpen = 101,
  kEmptyWord = 201,
  kSynthesisFailed = 301,
  kPrepareFailed = 401,
  kWriteFailed = 501,
};

class clsWAVE {
 public:
  // Opens the device at once; a device that fails to open makes every PLAY return 101.
  clsWAVE(std::unique_ptr<AudioDevice> device, std::unique_ptr<VoiceLibrary> voices);
  ~clsWAVE();
  clsWAVE(const clsWAVE&) = delete;
  clsWAVE& operator=(const clsWAVE&) = delete;

  void RECORD(bool on);
  void VOICE(int32_t voice) { voice_ = voice; }
  int32_t VOICE() const { return voice_; }
  void VOLUME(int32_t volume) { volume_ = volume; }
  int32_t VOLUME() const { return volume_; }
  void SPEED(int32_t speed);  // clamped to 50..300
  int32_t SPEED() const { return speed_; }
  void WORD(std::u32string word) { word_ = std::move(word); }

  bool IsPLAY();
  int32_t PLAY();
  bool PAUSE();
  bool RESTART();
  bool CANCEL();
  // Writes the recording to path when recording is on. Returns false only when a recording
  // was there to be written and the file could not be written.
  bool SAVE(const std::string& path);

  bool IsRecording() const { return recordFlag_; }
  // Why the last synthesis failed, for the user (UTF-8); empty after a success.
  const std::string& LastError() const { return lastError_; }
  AudioDevice& Device() { return *device_; }

  // Multiplies every 16-bit sample from byte 44 on by volume / 20, halves to even, clamped.
  static void ApplyVolume(Bytes& image, int32_t volume);
  // Zero bytes appended to the recording after a piece ending in c.
  static uint32_t SilenceAfter(char32_t last);

 private:
  bool Synthesize();

  std::unique_ptr<AudioDevice> device_;
  std::unique_ptr<VoiceLibrary> voices_;
  int32_t voice_ = 0;
  int32_t speed_ = 100;
  int32_t volume_ = 20;
  std::u32string word_;
  Bytes samples_;       // the last synthesized image, header included
  Bytes recordBuffer_;  // the wave file being assembled while recording
  bool recordFlag_ = false;
  bool deviceOpen_ = false;
  bool prepared_ = false;
  int64_t playLength_ = -1;  // the play header's buffer length
  std::string lastError_;
};

// "読み上げエラー「code:text」" for a result of Speech.
std::u32string SpeechErrorMessage(int32_t code);
std::u32string SpeechErrorText(int32_t code);

}  // namespace kotonel
