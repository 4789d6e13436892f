// Small measurements of synthesized sound for the tests: energy, autocorrelation pitch, LPC
// formants and silent stretches. Samples are floats at 8000 Hz; times are in seconds.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

namespace kotonel::test {

inline constexpr double kRate = 8000.0;

// RMS of samples in [from, to) as dBFS (full scale 1.0); -200 for silence.
double RmsDb(const std::vector<float>& s, double from, double to);

// Pitch in Hz of a window centred at t (autocorrelation, 60..700 Hz), or 0 when the window is
// not clearly periodic (normalized peak below 0.5).
double PitchAt(const std::vector<float>& s, double t, double window = 0.040);

// Median pitch over the part of a stretch [start, end) from share `from` to `to` of its
// length (a mora's vowel), counting only points within 30 dB of the loudest 20 ms and within an
// octave of the whole sound's median pitch: a dying voice turns breathy and gives the tracker
// formant ringing instead. 0 when no point counts (a whispered last vowel).
double StretchPitch(const std::vector<float>& s, double start, double end, double from = 0.2,
                    double to = 0.8);

// Formant frequencies (Hz, ascending) of a steady stretch [from, to): LPC of pre-emphasized,
// Hamming-windowed 30 ms windows every 5 ms whose autocorrelations are summed first, so that a
// moving pitch smears its harmonics and the envelope shows. Roots with a bandwidth under
// 500 Hz above 150 Hz count.
std::vector<double> FormantsOver(const std::vector<float>& s, double from, double to,
                                 double window = 0.030, int order = 10);

// Power-weighted mean frequency (Hz) of [from, to), from 128-point spectra.
double SpectralCentroid(const std::vector<float>& s, double from, double to);

// Stretches (start, end) longer than minLength where every 2 ms window lies more than
// belowDb under the loudest 10 ms of the sound.
std::vector<std::pair<double, double>> SilentStretches(const std::vector<float>& s,
                                                       double minLength, double belowDb = 45);

// Time from the first to the last 2 ms window within belowDb of the loudest 10 ms.
double SoundingLength(const std::vector<float>& s, double belowDb = 45);

inline double Semitones(double from, double to) {
  return 12.0 * std::log2(to / from);
}

}  // namespace kotonel::test
