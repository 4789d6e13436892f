#include "synth/wav_image.h"

#include <algorithm>
#include <cmath>

namespace kotonel::synth {

namespace {

// Little-endian writes into a buffer sized beforehand.
void Put16(uint8_t*& p, uint16_t v) {
  *p++ = static_cast<uint8_t>(v & 0xFF);
  *p++ = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t*& p, uint32_t v) {
  Put16(p, static_cast<uint16_t>(v & 0xFFFF));
  Put16(p, static_cast<uint16_t>(v >> 16));
}
void PutTag(uint8_t*& p, const char* tag) {
  for (int i = 0; i < 4; ++i) *p++ = static_cast<uint8_t>(tag[i]);
}

}  // namespace

void NormalizeLevel(std::vector<float>& samples) {
  constexpr size_t kWindow = 80;  // 10 ms
  std::vector<double> energy;
  double loudest = 0;
  for (size_t i = 0; i < samples.size(); i += kWindow) {
    double e = 0;
    size_t end = std::min(samples.size(), i + kWindow);
    for (size_t k = i; k < end; ++k) e += double(samples[k]) * samples[k];
    e /= double(end - i);
    energy.push_back(e);
    loudest = std::max(loudest, e);
  }
  if (loudest <= 0) return;
  double sum = 0;
  size_t count = 0;
  for (double e : energy)
    if (e >= loudest * 1e-4) sum += e, ++count;
  const double rms = std::sqrt(sum / double(count));
  const double gain = std::pow(10.0, kTargetRmsDb / 20) / rms;
  // Above the knee, peaks bend smoothly towards the ceiling (tanh keeps the slope continuous).
  const double knee = std::pow(10.0, -7.0 / 20), ceiling = std::pow(10.0, kPeakCeilingDb / 20);
  for (float& s : samples) {
    double x = s * gain, a = std::fabs(x);
    if (a > knee) a = knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee));
    s = static_cast<float>(std::copysign(a, x));
  }
}

void FadeEnds(std::vector<float>& samples, int fadeSamples) {
  size_t n = std::min(samples.size() / 2, static_cast<size_t>(std::max(fadeSamples, 1)));
  for (size_t i = 0; i < n; ++i) {
    float w = static_cast<float>(0.5 - 0.5 * std::cos(3.14159265358979 * double(i) / double(n)));
    samples[i] *= w;
    samples[samples.size() - 1 - i] *= w;
  }
}

std::vector<uint8_t> MakeWavImage(const std::vector<float>& samples, int sampleRate) {
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out(44 + size_t(dataBytes));
  uint8_t* p = out.data();
  PutTag(p, "RIFF");
  Put32(p, 36 + dataBytes);
  PutTag(p, "WAVE");
  PutTag(p, "fmt ");
  Put32(p, 16);
  Put16(p, 1);  // PCM
  Put16(p, 1);  // mono
  Put32(p, static_cast<uint32_t>(sampleRate));
  Put32(p, static_cast<uint32_t>(sampleRate * 2));
  Put16(p, 2);
  Put16(p, 16);
  PutTag(p, "data");
  Put32(p, dataBytes);
  for (float s : samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(p, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return out;
}

}  // namespace kotonel::synth
