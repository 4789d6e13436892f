#include "synth/voice_params.h"

#include <sys/stat.h>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kotonel::synth {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

struct NumberKey {
  const char* key;
  double VoiceParams::*field;
  double low, high;
};

const NumberKey kNumbers[] = {
    {"pitch", &VoiceParams::pitch, 40, 600},
    {"pitch_range", &VoiceParams::pitchRange, 0, 3},
    {"formant_scale", &VoiceParams::formantScale, 0.6, 1.6},
    {"bandwidth_scale", &VoiceParams::bandwidthScale, 0.3, 4},
    {"open_quotient", &VoiceParams::openQuotient, 0.2, 0.95},
    {"spectral_tilt", &VoiceParams::spectralTilt, 0, 0.95},
    {"breathiness", &VoiceParams::breathiness, 0, 1},
    {"jitter", &VoiceParams::jitter, 0, 0.2},
    {"vibrato_rate", &VoiceParams::vibratoRate, 0, 20},
    {"vibrato_depth", &VoiceParams::vibratoDepth, 0, 300},
    {"speed_factor", &VoiceParams::speedFactor, 0.5, 2},
    {"effect_frequency", &VoiceParams::effectFrequency, 0, 2000},
    {"effect_mix", &VoiceParams::effectMix, 0, 1},
    {"model_alpha", &VoiceParams::modelAlpha, 0.1, 0.9},
    {"model_half_tones", &VoiceParams::modelHalfTones, -12, 12},
    {"model_pitch_range", &VoiceParams::modelPitchRange, 0.3, 2},
};

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  value = std::strtod(begin, &end);
  return errno == 0 && end == begin + text.size() && std::isfinite(value);
}

}  // namespace

bool ParseVoiceParams(const std::string& text, const std::string& fileName, VoiceParams& voice,
                      std::string& error) {
  VoiceParams parsed;
  // Editors on Windows like to start UTF-8 files with a byte order mark.
  std::istringstream in(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
  std::string raw;
  int lineNumber = 0;
  while (std::getline(in, raw)) {
    ++lineNumber;
    std::string line = raw;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = Trim(line);
    if (line.empty()) continue;
    auto bad = [&](const std::string& why) {
      error = "声の設定ファイル " + fileName + " の " + std::to_string(lineNumber) +
              " 行目が正しくありません（" + why + "）: " + Trim(raw);
      return false;
    };
    size_t eq = line.find('=');
    if (eq == std::string::npos) return bad("「キー = 値」の形ではありません");
    std::string key = Trim(line.substr(0, eq));
    std::string value = Trim(line.substr(eq + 1));
    if (key == "name") continue;  // free text for people reading the file
    if (key == "model") {
      if (value.empty()) return bad("model にはモデルファイルの名前を書きます");
      parsed.model = value;
      continue;
    }
    if (key == "effect") {
      if (value == "none") {
        parsed.effect = VoiceEffect::kNone;
      } else if (value == "ring") {
        parsed.effect = VoiceEffect::kRing;
      } else {
        return bad("effect は none か ring です");
      }
      continue;
    }
    const NumberKey* found = nullptr;
    for (const NumberKey& k : kNumbers)
      if (key == k.key) found = &k;
    if (!found) return bad("知らないキー " + key);
    double number = 0;
    if (!ParseNumber(value, number)) return bad(key + " の値が数ではありません");
    if (number < found->low || number > found->high) {
      std::ostringstream range;
      range << key << " は " << found->low << " から " << found->high << " までです";
      return bad(range.str());
    }
    parsed.*(found->field) = number;
  }
  voice = parsed;
  return true;
}

bool LoadVoiceParams(const std::string& folder, VoiceParams& voice, std::string& error) {
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    error = "声のフォルダーが見つかりません: " + folder;
    return false;
  }
  std::string path = folder + (folder.empty() || folder.back() == '/' ? "" : "/") + "voice.txt";
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "声の設定ファイルを読めません: " + path;
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = "声の設定ファイルを読めません: " + path;
    return false;
  }
  return ParseVoiceParams(text.str(), path, voice, error);
}

}  // namespace kotonel::synth
