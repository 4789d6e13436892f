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
  kRecordingFull = 601,    // the next piece would take the recording past the WAV size limit
  kRecordingFailed = 602,  // the recording could not be written (a full disk, say)
};

// The largest recording a WAV file can describe: its length fields are 32-bit.
constexpr uint64_t kMaxRecordingBytes = 0xFFFFFFFEu;

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
  // was there to be written and the file could not be written (RecordingError says why).
  bool SAVE(const std::string& path);

  // The recording is streamed to its file while it is made, so it never sits in memory: to a
  // temporary file beside the path given here (or, before there is one, to a nameless file in
  // the temporary folder), whose header SAVE completes before renaming it into place.
  void RecordingPath(const std::string& path) { recordPath_ = path; }
  // Opens the recording's file now, so that a file that cannot be written is known before
  // anything is synthesized; false with RecordingError set.
  bool OpenRecording();
  const std::string& RecordingError() const { return recordError_; }
  // For tests: a smaller size limit in bytes, header included.
  void RecordingLimit(uint64_t bytes) { recordLimit_ = bytes; }
  // Bytes of the recording so far, header included.
  uint64_t RecordingLength() const { return recordLength_; }

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
  int32_t AppendRecording(uint32_t silence);
  bool EnsureRecordingFile();
  bool WriteRecording(const void* data, size_t size);
  bool FinishRecording(const std::string& path);
  void DropRecording();

  std::unique_ptr<AudioDevice> device_;
  std::unique_ptr<VoiceLibrary> voices_;
  int32_t voice_ = 0;
  int32_t speed_ = 100;
  int32_t volume_ = 20;
  std::u32string word_;
  Bytes samples_;  // the last synthesized image, header included
  bool recordFlag_ = false;
  std::string recordPath_;
  std::unique_ptr<OutputFile> recordOut_;  // the recording's target, once opened
  int spoolFd_ = -1;          // a nameless file holding the recording when the target cannot
  bool recordReady_ = false;  // the header is written where the samples go
  uint64_t recordLength_ = 0;
  uint64_t recordLimit_ = kMaxRecordingBytes;
  std::string recordError_;
  bool deviceOpen_ = false;
  bool prepared_ = false;
  int64_t playLength_ = -1;  // the play header's buffer length
  std::string lastError_;
};

// "読み上げエラー「code:text」" for a result of Speech.
std::u32string SpeechErrorMessage(int32_t code);
std::u32string SpeechErrorText(int32_t code);

}  // namespace kotonel
