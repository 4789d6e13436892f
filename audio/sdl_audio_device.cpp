#include "audio/sdl_audio_device.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "audio/virtual_audio_device.h"
#include "util/clock.h"

namespace kotonel {

SdlAudioDevice::~SdlAudioDevice() {
  Close();
}

bool SdlAudioDevice::Open() {
  if (device_ != 0) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 8000;
  want.format = AUDIO_S16LSB;
  want.channels = 1;
  want.samples = 256;  // 32 ms: short enough that pause and stop feel immediate
  SDL_AudioSpec have{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

bool SdlAudioDevice::Prepare(const uint8_t* data, size_t bytes) {
  if (device_ == 0 || bytes > 0x7FFFFFFF) return false;
  data_ = data;
  size_ = bytes;
  written_ = false;
  return true;
}

bool SdlAudioDevice::Write() {
  if (device_ == 0 || data_ == nullptr) return false;
  SDL_ClearQueuedAudio(device_);
  if (size_ > 0 && SDL_QueueAudio(device_, data_, static_cast<Uint32>(size_)) != 0) return false;
  written_ = true;
  SDL_PauseAudioDevice(device_, paused_ ? 1 : 0);
  return true;
}

bool SdlAudioDevice::Position(uint64_t& bytes) {
  if (device_ == 0) return false;
  if (!written_) {
    bytes = 0;
    return true;
  }
  uint64_t queued = SDL_GetQueuedAudioSize(device_);
  bytes = queued >= size_ ? 0 : size_ - queued;
  return true;
}

bool SdlAudioDevice::Pause() {
  if (device_ == 0) return false;
  paused_ = true;
  SDL_PauseAudioDevice(device_, 1);
  return true;
}

bool SdlAudioDevice::Restart() {
  if (device_ == 0) return false;
  paused_ = false;
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

bool SdlAudioDevice::Reset() {
  if (device_ == 0) return false;
  SDL_ClearQueuedAudio(device_);
  written_ = false;
  paused_ = false;
  return true;
}

bool SdlAudioDevice::Unprepare() {
  if (device_ == 0) return false;
  data_ = nullptr;
  size_ = 0;
  return true;
}

void SdlAudioDevice::Close() {
  if (device_ == 0) return;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<AudioDevice> MakeDefaultAudioDevice() {
  const char* kind = std::getenv("KOTONEL_AUDIO");
  if (kind && std::string(kind) == "null") {
    const char* log = std::getenv("KOTONEL_AUDIO_LOG");
    auto device = std::make_unique<VirtualAudioDevice>(SystemClock(), log ? log : "");
    device->keepPieces = false;  // a long silent reading must not keep all its sound
    return device;
  }
  return std::make_unique<SdlAudioDevice>();
}

}  // namespace kotonel
