// The sound output the wave player plays through: one buffer at a time, 8000 Hz, 16-bit mono.
// The calls map one to one onto a wave-out style interface, so the player's failure codes
// (prepare 401, write 501) keep their meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kotonel {

class Clock;

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  virtual bool Open() = 0;
  // Hands over the samples of the next playback; they stay owned by the caller and valid
  // until Unprepare.
  virtual bool Prepare(const uint8_t* data, size_t bytes) = 0;
  virtual bool Write() = 0;  // starts playing the prepared buffer
  // Bytes of the prepared buffer played so far.
  virtual bool Position(uint64_t& bytes) = 0;
  virtual bool Pause() = 0;
  virtual bool Restart() = 0;
  // Stops at once and forgets the buffer; a device that was paused is no longer paused.
  virtual bool Reset() = 0;
  virtual bool Unprepare() = 0;
  virtual void Close() = 0;
  // The phonetic string of the piece about to be prepared, for devices that log it.
  virtual void NoteText(std::u32string_view phonetic) {}
};

// Chooses the device for the programs: KOTONEL_AUDIO=null gives the virtual device on the
// real clock (with KOTONEL_AUDIO_LOG=FILE appending every piece's phonetic string to FILE),
// anything else SDL's default output.
std::unique_ptr<AudioDevice> MakeDefaultAudioDevice();

}  // namespace kotonel
