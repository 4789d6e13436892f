#include "audio/virtual_audio_device.h"

#include <algorithm>
#include <fstream>

#include "util/clock.h"
#include "util/encoding.h"

namespace kotonel {

namespace {
constexpr uint64_t kBytesPerMs = 16;  // 8000 Hz, 16-bit mono
}

VirtualAudioDevice::VirtualAudioDevice(Clock& clock, std::string logPath)
    : clock_(clock), logPath_(std::move(logPath)) {}

bool VirtualAudioDevice::Open() {
  open_ = !failOpen;
  return open_;
}

void VirtualAudioDevice::NoteText(std::u32string_view phonetic) {
  pendingText_ = phonetic;
}

bool VirtualAudioDevice::Prepare(const uint8_t* data, size_t bytes) {
  if (!open_ || failPrepare) return false;
  totalPlayed_ += PlayedBytes();
  prepared_ = true;
  writing_ = false;
  size_ = bytes;
  Piece piece{pendingText_, {}, clock_.NowMs()};
  if (keepPieces) piece.bytes.assign(data, data + bytes);
  pieces_.push_back(std::move(piece));
  if (!logPath_.empty()) {
    std::ofstream log(logPath_, std::ios::app | std::ios::binary);
    log << ToUtf8(pendingText_) << '\n';
  }
  pendingText_.clear();
  return true;
}

bool VirtualAudioDevice::Write() {
  if (!open_ || !prepared_ || failWrite) return false;
  writing_ = true;
  playedBefore_ = 0;
  startMs_ = clock_.NowMs();
  return true;
}

uint64_t VirtualAudioDevice::PlayedBytes() const {
  if (!writing_) return 0;
  uint64_t played = playedBefore_;
  if (!paused_) played += (clock_.NowMs() - startMs_) * kBytesPerMs;
  return std::min<uint64_t>(played, size_);
}

bool VirtualAudioDevice::Position(uint64_t& bytes) {
  if (!open_) return false;
  bytes = PlayedBytes();
  return true;
}

bool VirtualAudioDevice::Pause() {
  if (!open_) return false;
  if (!paused_) {
    playedBefore_ = PlayedBytes();
    paused_ = true;
  }
  return true;
}

bool VirtualAudioDevice::Restart() {
  if (!open_) return false;
  if (paused_) {
    paused_ = false;
    startMs_ = clock_.NowMs();
  }
  return true;
}

bool VirtualAudioDevice::Reset() {
  if (!open_) return false;
  totalPlayed_ += PlayedBytes();
  writing_ = false;
  paused_ = false;
  playedBefore_ = 0;
  return true;
}

bool VirtualAudioDevice::Unprepare() {
  if (!open_ || !prepared_) return false;
  prepared_ = false;
  return true;
}

void VirtualAudioDevice::Close() {
  open_ = false;
}

uint64_t VirtualAudioDevice::PlayedMs() const {
  return (totalPlayed_ + PlayedBytes()) / kBytesPerMs;
}

}  // namespace kotonel
