// Sample-rate conversion by a rational factor (polyphase FIR). The low-pass is a Kaiser-windowed
// sinc designed for the lower of the two rates: flat to 85 % of its Nyquist frequency, at least
// 80 dB down from its Nyquist frequency on, so nothing above the new Nyquist frequency folds
// back into the band (no aliasing) and nothing is imaged when going up. The delay of the filter
// is taken out: output sample n lies at input time n * inRate / outRate.
#pragma once

#include <cstddef>
#include <vector>

namespace kotonel::synth {

class Resampler {
 public:
  // Rates in Hz, both positive.
  Resampler(int inRate, int outRate);

  // The whole signal, taken as silent before and after; about size * outRate / inRate samples.
  std::vector<float> Process(const std::vector<float>& in) const;

  std::size_t Taps() const { return taps_.size(); }

 private:
  int up_ = 1, down_ = 1;    // the factor up_ / down_ in lowest terms
  std::vector<float> taps_;  // the prototype filter at inRate * up_, odd length, gain up_
};

}  // namespace kotonel::synth
