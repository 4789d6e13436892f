#include "synth/resampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kotonel::synth {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStopbandDb = 80.0;
constexpr double kPassbandShare = 0.85;  // of the lower Nyquist frequency

double BesselI0(double x) {
  double sum = 1, term = 1;
  for (int k = 1; k < 50; ++k) {
    term *= (x / (2 * k)) * (x / (2 * k));
    sum += term;
    if (term < sum * 1e-12) break;
  }
  return sum;
}

}  // namespace

Resampler::Resampler(int inRate, int outRate) {
  const int g = std::gcd(inRate, outRate);
  up_ = outRate / g;
  down_ = inRate / g;
  const double fastRate = double(inRate) * up_;
  const double nyquist = 0.5 * std::min(inRate, outRate);
  const double pass = kPassbandShare * nyquist;
  const double cutoff = 0.5 * (pass + nyquist);  // half way through the transition band
  // Kaiser's estimates of the window's shape and length for the wanted attenuation.
  const double beta = 0.1102 * (kStopbandDb - 8.7);
  const double transition = 2 * kPi * (nyquist - pass) / fastRate;
  int length = static_cast<int>(std::ceil((kStopbandDb - 8) / (2.285 * transition))) + 1;
  length |= 1;  // odd: the delay is a whole number of samples
  taps_.resize(length);
  const double middle = (length - 1) / 2.0;
  const double wc = 2 * kPi * cutoff / fastRate;
  const double norm = BesselI0(beta);
  for (int k = 0; k < length; ++k) {
    const double t = k - middle;
    const double sinc = t == 0 ? wc / kPi : std::sin(wc * t) / (kPi * t);
    const double r = t / middle;
    const double window = BesselI0(beta * std::sqrt(std::max(0.0, 1 - r * r))) / norm;
    taps_[k] = static_cast<float>(sinc * window * up_);
  }
}

std::vector<float> Resampler::Process(const std::vector<float>& in) const {
  const long long n = static_cast<long long>(in.size());
  const long long outSize = (n * up_ + down_ - 1) / down_;
  const long long length = static_cast<long long>(taps_.size());
  const long long delay = (length - 1) / 2;
  std::vector<float> out(static_cast<size_t>(outSize));
  for (long long o = 0; o < outSize; ++o) {
    // Position on the fast grid, delay included; input j sits at j * up_ there.
    const long long u = o * down_ + delay;
    long long jLow = u - (length - 1) <= 0 ? 0 : (u - (length - 1) + up_ - 1) / up_;
    long long jHigh = std::min(u / up_, n - 1);
    double acc = 0;
    for (long long j = jLow; j <= jHigh; ++j) acc += double(in[j]) * taps_[u - j * up_];
    out[static_cast<size_t>(o)] = static_cast<float>(acc);
  }
  return out;
}

}  // namespace kotonel::synth
