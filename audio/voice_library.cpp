#include "audio/voice_library.h"

#include "synth/hts_voice.h"
#include "synth/synthesizer.h"
#include "synth/voice_params.h"

namespace kotonel {

const char* VoiceFolderName(int32_t voice) {
  static const char* const kNames[] = {"f1", "f2", "m1", "m2", "r1", "imd1", "dvd"};
  return voice >= 0 && voice <= 6 ? kNames[voice] : "jgr";
}

SynthVoiceLibrary::SynthVoiceLibrary(std::string dictionaryFolder)
    : folder_(std::move(dictionaryFolder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

const uint8_t* SynthVoiceLibrary::Synthe(int32_t voice, const std::string& koe, int16_t speed,
                                         int32_t& size) {
  std::vector<uint8_t> image;
  std::string voiceFolder = folder_ + VoiceFolderName(voice) + "/";
  error_.clear();
  if (!synth::Synthesize(voiceFolder, koe, speed, image, error_) || image.size() < 44 ||
      image.size() > 0x7FFFFFFF) {
    if (error_.empty()) error_ = "音声を合成できませんでした";
    size = 0;
    return nullptr;
  }
  size = static_cast<int32_t>(image.size());
  const uint8_t* address = image.data();
  images_.emplace(address, std::move(image));
  return address;
}

void SynthVoiceLibrary::Prepare(int32_t voice) {
  const std::string voiceFolder = folder_ + VoiceFolderName(voice) + "/";
  synth::VoiceParams params;
  std::string error;
  if (synth::LoadVoiceParams(voiceFolder, params, error) && !params.model.empty())
    synth::HtsModel::Load(synth::ModelPath(voiceFolder, params), error);
}

void SynthVoiceLibrary::FreeWave(int32_t voice, const uint8_t* image) {
  images_.erase(image);
}

}  // namespace kotonel
