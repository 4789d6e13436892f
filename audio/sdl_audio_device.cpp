#include "audio/sdl_audio_device.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdlib>
#include <string>

#include "audio/virtual_audio_device.h"
#include "util/clock.h"

namespace kotonel {

// SDL2 is loaded when sound is first played, not when the program starts: it and the libraries
// it brings (X11, Wayland, PulseAudio) take some 10 ms to load and link, which a reader that
// writes a file or a stream never needs.
struct SdlFunctions {
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_ClearQueuedAudio) ClearQueuedAudio;
  decltype(&SDL_QueueAudio) QueueAudio;
  decltype(&SDL_GetQueuedAudioSize) GetQueuedAudioSize;
};

namespace {

// The library's functions, or nullptr when it cannot be loaded (then no device opens).
const SdlFunctions* LoadSdl() {
  static const SdlFunctions* const loaded = []() -> const SdlFunctions* {
    void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    static SdlFunctions sdl;
    bool all = true;
    auto get = [&](auto& function, const char* name) {
      function =
          reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
      all = all && function != nullptr;
    };
    get(sdl.InitSubSystem, "SDL_InitSubSystem");
    get(sdl.QuitSubSystem, "SDL_QuitSubSystem");
    get(sdl.OpenAudioDevice, "SDL_OpenAudioDevice");
    get(sdl.CloseAudioDevice, "SDL_CloseAudioDevice");
    get(sdl.PauseAudioDevice, "SDL_PauseAudioDevice");
    get(sdl.ClearQueuedAudio, "SDL_ClearQueuedAudio");
    get(sdl.QueueAudio, "SDL_QueueAudio");
    get(sdl.GetQueuedAudioSize, "SDL_GetQueuedAudioSize");
    return all ? &sdl : nullptr;
  }();
  return loaded;
}

}  // namespace

SdlAudioDevice::~SdlAudioDevice() {
  Close();
}

bool SdlAudioDevice::Open() {
  if (device_ != 0) return true;
  sdl_ = LoadSdl();
  if (!sdl_ || sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = 8000;
  want.format = AUDIO_S16LSB;
  want.channels = 1;
  want.samples = 256;  // 32 ms: short enough that pause and stop feel immediate
  SDL_AudioSpec have{};
  device_ = sdl_->OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    sdl_->QuitSubSystem(SDL_INIT_AUDIO);
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
  sdl_->ClearQueuedAudio(device_);
  if (size_ > 0 && sdl_->QueueAudio(device_, data_, static_cast<Uint32>(size_)) != 0) return false;
  written_ = true;
  sdl_->PauseAudioDevice(device_, paused_ ? 1 : 0);
  return true;
}

bool SdlAudioDevice::Position(uint64_t& bytes) {
  if (device_ == 0) return false;
  if (!written_) {
    bytes = 0;
    return true;
  }
  uint64_t queued = sdl_->GetQueuedAudioSize(device_);
  bytes = queued >= size_ ? 0 : size_ - queued;
  return true;
}

bool SdlAudioDevice::Pause() {
  if (device_ == 0) return false;
  paused_ = true;
  sdl_->PauseAudioDevice(device_, 1);
  return true;
}

bool SdlAudioDevice::Restart() {
  if (device_ == 0) return false;
  paused_ = false;
  sdl_->PauseAudioDevice(device_, 0);
  return true;
}

bool SdlAudioDevice::Reset() {
  if (device_ == 0) return false;
  sdl_->ClearQueuedAudio(device_);
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
  sdl_->CloseAudioDevice(device_);
  device_ = 0;
  sdl_->QuitSubSystem(SDL_INIT_AUDIO);
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
