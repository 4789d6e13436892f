// An audio device that plays silently at the real rate on the clock it is given, and keeps
// what it was given to play: the programs use it with the real clock on machines without
// sound (KOTONEL_AUDIO=null), kotonel-say -o and the tests with a virtual clock.
#pragma once

#include <string>
#include <vector>

#include "audio/audio_device.h"

namespace kotonel {

class VirtualAudioDevice final : public AudioDevice {
 public:
  struct Piece {
    std::u32string phonetic;
    std::vector<uint8_t> bytes;
    uint64_t preparedAtMs = 0;  // on the device's clock
  };

  // logPath: when not empty, every piece's phonetic string is appended there as a UTF-8 line.
  explicit VirtualAudioDevice(Clock& clock, std::string logPath = {});

  bool Open() override;
  bool Prepare(const uint8_t* data, size_t bytes) override;
  bool Write() override;
  bool Position(uint64_t& bytes) override;
  bool Pause() override;
  bool Restart() override;
  bool Reset() override;
  bool Unprepare() override;
  void Close() override;
  void NoteText(std::u32string_view phonetic) override;

  // Test controls and observations.
  bool failOpen = false, failPrepare = false, failWrite = false;
  bool keepPieces = true;
  const std::vector<Piece>& Pieces() const { return pieces_; }
  bool IsOpen() const { return open_; }
  bool IsPaused() const { return paused_; }
  // Milliseconds of sound actually "heard" (played while not paused) since creation.
  uint64_t PlayedMs() const;

 private:
  uint64_t PlayedBytes() const;

  Clock& clock_;
  std::string logPath_;
  bool open_ = false;
  bool prepared_ = false;
  bool writing_ = false;
  bool paused_ = false;
  size_t size_ = 0;
  uint64_t startMs_ = 0;       // when the current stretch of playing began
  uint64_t playedBefore_ = 0;  // bytes played before the current stretch
  uint64_t totalPlayed_ = 0;   // bytes of every finished or reset playback
  std::u32string pendingText_;
  std::vector<Piece> pieces_;
};

}  // namespace kotonel
