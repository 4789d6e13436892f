#include "sound_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace kotonel::test {

namespace {

size_t Index(const std::vector<float>& s, double t) {
  return static_cast<size_t>(std::clamp(t * kRate, 0.0, double(s.size())));
}

double Loudest10ms(const std::vector<float>& s) {
  double best = 0;
  for (size_t i = 0; i + 80 <= s.size(); i += 16) {
    double e = 0;
    for (size_t k = i; k < i + 80; ++k) e += double(s[k]) * s[k];
    best = std::max(best, e / 80);
  }
  return best;
}

// Windows of 2 ms: true where the sound is within belowDb of the loudest 10 ms.
std::vector<bool> Sounding(const std::vector<float>& s, double belowDb) {
  const double limit = Loudest10ms(s) * std::pow(10.0, -belowDb / 10);
  std::vector<bool> on;
  for (size_t i = 0; i + 16 <= s.size(); i += 16) {
    double e = 0;
    for (size_t k = i; k < i + 16; ++k) e += double(s[k]) * s[k];
    on.push_back(e / 16 > limit);
  }
  return on;
}

}  // namespace

double RmsDb(const std::vector<float>& s, double from, double to) {
  size_t a = Index(s, from), b = Index(s, to);
  if (b <= a) return -200;
  double e = 0;
  for (size_t k = a; k < b; ++k) e += double(s[k]) * s[k];
  e /= double(b - a);
  return e > 0 ? 10 * std::log10(e) : -200;
}

double PitchAt(const std::vector<float>& s, double t, double window) {
  size_t a = Index(s, t - window / 2), b = Index(s, t + window / 2);
  std::vector<double> x(s.begin() + a, s.begin() + b);
  const int minLag = static_cast<int>(kRate / 700), maxLag = static_cast<int>(kRate / 60);
  if (x.size() < size_t(maxLag) + 64) return 0;
  auto r = [&](int lag) {
    double c = 0, e1 = 0, e2 = 0;
    for (size_t i = 0; i + lag < x.size(); ++i) {
      c += x[i] * x[i + lag];
      e1 += x[i] * x[i];
      e2 += x[i + lag] * x[i + lag];
    }
    return e1 > 0 && e2 > 0 ? c / std::sqrt(e1 * e2) : 0.0;
  };
  std::vector<double> rs(maxLag + 1, 0);
  int best = 0;
  for (int lag = minLag; lag <= maxLag; ++lag) {
    rs[lag] = r(lag);
    if (best == 0 || rs[lag] > rs[best]) best = lag;
  }
  if (rs[best] < 0.5) return 0;
  // Prefer the shortest lag that is nearly as good: avoids octave-down errors.
  for (int div = 4; div >= 2; --div) {
    int lag = static_cast<int>(std::lround(double(best) / div));
    if (lag < minLag) continue;
    int bestNear = lag;
    for (int l = std::max(minLag, lag - 2); l <= std::min(maxLag, lag + 2); ++l)
      if (rs[l] > rs[bestNear]) bestNear = l;
    if (rs[bestNear] > 0.85 * rs[best]) {
      best = bestNear;
      break;
    }
  }
  // Parabolic refinement of the peak.
  double shift = 0;
  if (best > minLag && best < maxLag) {
    double y0 = rs[best - 1], y1 = rs[best], y2 = rs[best + 1];
    double d = y0 - 2 * y1 + y2;
    if (d < 0) shift = 0.5 * (y0 - y2) / d;
  }
  return kRate / (best + shift);
}

double StretchPitch(const std::vector<float>& s, double start, double end, double from, double to) {
  const double length = s.size() / kRate;
  double loudest = -200;
  for (double t = 0.01; t < length; t += 0.01)
    loudest = std::max(loudest, RmsDb(s, t - 0.01, t + 0.01));
  auto measure = [&](double t) {
    return RmsDb(s, t - 0.01, t + 0.01) < loudest - 30 ? 0.0 : PitchAt(s, t, 0.030);
  };
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
  };
  std::vector<double> all;
  for (double t = 0.02; t < length - 0.02; t += 0.01)
    if (double p = measure(t); p > 0) all.push_back(p);
  const double typical = median(all);
  std::vector<double> f;
  for (int k = 0; k <= 8; ++k) {
    double p = measure(start + (end - start) * (from + (to - from) * k / 8.0));
    if (p > typical / 2 && p < typical * 2) f.push_back(p);
  }
  return median(f);
}

namespace {

// Autocorrelation (lags 0..order) of one pre-emphasized, Hamming-windowed stretch.
std::vector<double> WindowAutocorrelation(const std::vector<float>& s, size_t a, size_t b,
                                          int order) {
  const size_t n = b - a;
  std::vector<double> x(n), r(order + 1, 0);
  for (size_t i = 0; i < n; ++i) {
    double prev = a + i > 0 ? s[a + i - 1] : 0.0;
    double w = 0.54 - 0.46 * std::cos(2 * M_PI * double(i) / double(n - 1));
    x[i] = (s[a + i] - 0.9 * prev) * w;
  }
  for (int lag = 0; lag <= order; ++lag)
    for (size_t i = 0; i + lag < n; ++i) r[lag] += x[i] * x[i + lag];
  return r;
}

std::vector<double> FormantsOf(std::vector<double> r, int order) {
  if (r[0] <= 0) return {};
  r[0] *= 1.0001;  // a little white noise keeps the recursion stable
  // Levinson-Durbin.
  std::vector<double> lpc(order + 1, 0), tmp;
  lpc[0] = 1;
  double err = r[0];
  for (int i = 1; i <= order; ++i) {
    double acc = r[i];
    for (int j = 1; j < i; ++j) acc += lpc[j] * r[i - j];
    double k = -acc / err;
    tmp = lpc;
    for (int j = 1; j < i; ++j) lpc[j] = tmp[j] + k * tmp[i - j];
    lpc[i] = k;
    err *= 1 - k * k;
  }
  // Roots of z^order + lpc[1] z^(order-1) + ... by Durand-Kerner.
  using C = std::complex<double>;
  std::vector<C> roots(order);
  for (int i = 0; i < order; ++i) roots[i] = std::polar(0.9, 2 * M_PI * (i + 0.25) / order);
  auto poly = [&](C z) {
    C v = 1;
    for (int j = 1; j <= order; ++j) v = v * z + lpc[j];
    return v;
  };
  for (int iter = 0; iter < 500; ++iter) {
    double moved = 0;
    for (int i = 0; i < order; ++i) {
      C d = 1;
      for (int j = 0; j < order; ++j)
        if (j != i) d *= roots[i] - roots[j];
      C step = poly(roots[i]) / d;
      roots[i] -= step;
      moved = std::max(moved, std::abs(step));
    }
    if (moved < 1e-12) break;
  }
  std::vector<double> formants;
  for (const C& z : roots) {
    if (z.imag() <= 0) continue;
    double f = std::arg(z) * kRate / (2 * M_PI);
    double bw = -std::log(std::abs(z)) * kRate / M_PI;
    if (f > 150 && f < kRate / 2 - 50 && bw < 500) formants.push_back(f);
  }
  std::sort(formants.begin(), formants.end());
  return formants;
}

}  // namespace

std::vector<double> FormantsOver(const std::vector<float>& s, double from, double to, double window,
                                 int order) {
  std::vector<double> sum(order + 1, 0);
  for (double t = from; t + window <= to; t += 0.005) {
    size_t a = Index(s, t), b = Index(s, t + window);
    if (b <= a + size_t(order)) continue;
    std::vector<double> r = WindowAutocorrelation(s, a, b, order);
    for (int k = 0; k <= order; ++k) sum[k] += r[k];
  }
  return FormantsOf(sum, order);
}

double SpectralCentroid(const std::vector<float>& s, double from, double to) {
  const size_t n = 128;
  double weighted = 0, total = 0;
  for (size_t a = Index(s, from); a + n <= Index(s, to); a += n / 2) {
    for (size_t k = 1; k < n / 2; ++k) {
      std::complex<double> sum = 0;
      for (size_t i = 0; i < n; ++i) {
        double w = 0.54 - 0.46 * std::cos(2 * M_PI * double(i) / double(n - 1));
        sum += s[a + i] * w * std::polar(1.0, -2 * M_PI * double(k * i) / double(n));
      }
      double power = std::norm(sum), f = double(k) * kRate / double(n);
      weighted += power * f;
      total += power;
    }
  }
  return total > 0 ? weighted / total : 0;
}

std::vector<std::pair<double, double>> SilentStretches(const std::vector<float>& s,
                                                       double minLength, double belowDb) {
  std::vector<bool> on = Sounding(s, belowDb);
  std::vector<std::pair<double, double>> out;
  size_t i = 0;
  while (i < on.size()) {
    if (on[i]) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < on.size() && !on[j]) ++j;
    double from = i * 16 / kRate, to = j * 16 / kRate;
    if (to - from >= minLength) out.emplace_back(from, to);
    i = j;
  }
  return out;
}

double SoundingLength(const std::vector<float>& s, double belowDb) {
  std::vector<bool> on = Sounding(s, belowDb);
  auto first = std::find(on.begin(), on.end(), true);
  auto last = std::find(on.rbegin(), on.rend(), true);
  if (first == on.end()) return 0;
  size_t a = first - on.begin(), b = on.rend() - last;
  return (b - a) * 16 / kRate;
}

}  // namespace kotonel::test
