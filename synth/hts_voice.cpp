#include "synth/hts_voice.h"

#include <sys/stat.h>

#include <HTS_engine.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace kotonel::synth {

namespace {

struct CacheEntry {
  std::shared_ptr<HtsModel> model;
  off_t size = 0;
  time_t modified = 0;
};

std::mutex& CacheMutex() {
  static std::mutex m;
  return m;
}

std::map<std::string, CacheEntry>& Cache() {
  static std::map<std::string, CacheEntry> c;
  return c;
}

constexpr size_t kLf0Stream = 1;
constexpr double kSilenceFrames = 20;
constexpr int kVocoderRate = 16000;
constexpr double kVocoderAlpha = 0.42;         // the usual all-pass constant at 16 kHz
constexpr size_t kVocoderCepstrumLength = 25;  // and the usual order, 24

}  // namespace

HtsModel::~HtsModel() {
  if (engine_) HTS_Engine_clear(engine_.get());
}

std::shared_ptr<HtsModel> HtsModel::Load(const std::string& path, std::string& error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = "声のモデルファイルが見つかりません: " + path;
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(CacheMutex());
  auto found = Cache().find(path);
  if (found != Cache().end() && found->second.size == info.st_size &&
      found->second.modified == info.st_mtime)
    return found->second.model;

  std::shared_ptr<HtsModel> model(new HtsModel);
  model->path_ = path;
  model->engine_ = std::make_unique<HTS_Engine>();
  HTS_Engine* e = model->engine_.get();
  HTS_Engine_initialize(e);
  std::string copy = path;
  char* voices[] = {copy.data()};
  if (HTS_Engine_load(e, voices, 1) != TRUE || HTS_Engine_get_nstream(e) < 2 ||
      HTS_Engine_get_sampling_frequency(e) < 8000) {
    HTS_Engine_clear(e);
    model->engine_.reset();
    error = "声のモデルファイルを読めません（壊れているか、音声モデルではありません）: " + path;
    return nullptr;
  }
  HTS_Engine_set_audio_buff_size(e, 0);  // never play: we only want the samples
  model->sampleRate_ = static_cast<int>(HTS_Engine_get_sampling_frequency(e));
  model->defaultAlpha_ = HTS_Engine_get_alpha(e);
  // Only a mel-cepstral model (stage 0) at a whole multiple of the vocoder's rate is converted.
  const size_t period = HTS_Engine_get_fperiod(e);
  model->vocoderRate_ = model->sampleRate_;
  if (model->sampleRate_ > kVocoderRate && model->sampleRate_ % kVocoderRate == 0 &&
      (period * kVocoderRate) % model->sampleRate_ == 0 && e->condition.stage == 0)
    model->vocoderRate_ = kVocoderRate;
  Cache()[path] = CacheEntry{model, info.st_size, info.st_mtime};
  return model;
}

bool HtsModel::Speak(const std::vector<HtsLabel>& labels, const HtsControls& controls,
                     HtsSpeech& speech, std::string& error) {
  std::lock_guard<std::mutex> lock(mutex_);
  HTS_Engine* e = engine_.get();
  speech = HtsSpeech{};
  speech.sampleRate = sampleRate_;
  const size_t period = HTS_Engine_get_fperiod(e);
  const size_t perLabel = HTS_Engine_get_nstate(e);
  auto fail = [&]() {
    HTS_Engine_set_phoneme_alignment_flag(e, FALSE);
    HTS_Engine_refresh(e);
    error = "声のモデルで音声を作れませんでした: " + path_;
    return false;
  };
  auto generateStates = [&](const std::vector<std::string>& texts) {
    std::vector<std::string> copies = texts;
    std::vector<char*> lines;
    for (std::string& t : copies) lines.push_back(t.data());
    return HTS_Engine_generate_state_sequence_from_strings(e, lines.data(), lines.size()) == TRUE;
  };

  // First the model's own durations. The engine's speed control stretches states by their
  // variance, which mostly lengthens the silences at the ends; so the durations are scaled here,
  // phoneme by phoneme, and handed back as a time-aligned label sequence.
  std::vector<std::string> texts;
  texts.reserve(labels.size());
  for (const HtsLabel& l : labels) texts.push_back(l.context);
  HTS_Engine_set_speed(e, 1.0);
  HTS_Engine_set_phoneme_alignment_flag(e, FALSE);
  e->condition.additional_half_tone = 0;
  if (!generateStates(texts)) return fail();
  std::vector<double> frames(labels.size());
  for (size_t l = 0; l < labels.size(); ++l) {
    size_t d = 0;
    for (size_t s = 0; s < perLabel; ++s) d += HTS_Engine_get_state_duration(e, l * perLabel + s);
    // Silences are replaced by silence of the reader's own length: a short one does.
    frames[l] = labels[l].silence ? std::min<double>(d, kSilenceFrames)
                                  : d * labels[l].lengthen / controls.speed;
  }
  HTS_Engine_refresh(e);
  // Times in units of 100 ns, whole frames, carrying the rounding error forward.
  const double unit = double(period) * 1e7 / sampleRate_;
  double exact = 0;
  size_t whole = 0;
  for (size_t l = 0; l < labels.size(); ++l) {
    exact += frames[l];
    size_t next = std::max<size_t>(whole + perLabel, static_cast<size_t>(std::lround(exact)));
    char times[64];
    std::snprintf(times, sizeof times, "%.0f %.0f ", (whole + 0.1) * unit, (next + 0.1) * unit);
    texts[l] = times + labels[l].context;
    whole = next;
  }
  HTS_Engine_set_alpha(e, controls.alpha < 0 ? defaultAlpha_ : controls.alpha);
  // The shift adds up in the engine: set it from zero each time.
  e->condition.additional_half_tone = controls.halfTones;
  HTS_Engine_set_phoneme_alignment_flag(e, TRUE);
  if (!generateStates(texts)) return fail();
  ShapePitch(labels, controls.pitchRange);
  if (HTS_Engine_generate_parameter_sequence(e) != TRUE) return fail();
  // The reader needs 8000 Hz: the vocoder runs at 16000 Hz (a third of the work at 48 kHz),
  // on spectra converted to that rate, and the resampler takes it the rest of the way.
  const double alpha = HTS_Engine_get_alpha(e);
  const bool reduced = vocoderRate_ != sampleRate_;
  const size_t vocoderPeriod = period * vocoderRate_ / sampleRate_;
  if (reduced) {
    ConvertParameters(alpha);
    e->condition.sampling_frequency = vocoderRate_;
    e->condition.fperiod = vocoderPeriod;
    e->condition.alpha = kVocoderAlpha;
  }
  // The vocoder's filter order follows the stream's length: the spectrum up to 8 kHz needs the
  // order usual at 16 kHz, not the one the model's 24 kHz band needed.
  const size_t modelLength = e->pss.pstream[0].vector_length;
  if (reduced) e->pss.pstream[0].vector_length = VocoderCepstrumLength();
  const bool made = HTS_Engine_generate_sample_sequence(e) == TRUE;
  e->pss.pstream[0].vector_length = modelLength;
  e->condition.sampling_frequency = sampleRate_;
  e->condition.fperiod = period;
  e->condition.alpha = alpha;
  if (!made) return fail();
  speech.sampleRate = vocoderRate_;

  const size_t n = HTS_Engine_get_nsamples(e);
  speech.samples.resize(n);
  for (size_t i = 0; i < n; ++i)
    speech.samples[i] = static_cast<float>(HTS_Engine_get_generated_speech(e, i));
  size_t frame = 0;
  for (size_t l = 0; l < labels.size(); ++l) {
    speech.labelStarts.push_back(std::min(n, frame * vocoderPeriod));
    for (size_t s = 0; s < perLabel; ++s)
      frame += HTS_Engine_get_state_duration(e, l * perLabel + s);
  }
  speech.labelStarts.push_back(n);
  HTS_Engine_set_phoneme_alignment_flag(e, FALSE);
  HTS_Engine_refresh(e);
  return true;
}

const std::vector<double>& HtsModel::CepstrumMatrix(double alpha) {
  std::vector<double>& a = matrices_[alpha];
  if (!a.empty()) return a;
  // The log spectrum the model's mel-cepstrum (all-pass constant alpha, at the model's rate)
  // describes from 0 to half the vocoder's rate, fitted again by a mel-cepstrum with the
  // vocoder's constant at the vocoder's rate. Both are linear, so one matrix.
  const size_t in = cepstrumLength_, out = VocoderCepstrumLength();
  constexpr int kGrid = 512;
  auto warp = [](double w, double a) {
    return w + 2 * std::atan(a * std::sin(w) / (1 - a * std::cos(w)));
  };
  a.assign(out * in, 0.0);
  for (int k = 0; k < kGrid; ++k) {
    const double warped = M_PI * (k + 0.5) / kGrid;                         // vocoder's axis
    const double linear = warp(warped, -kVocoderAlpha);                     // 0..pi
    const double model = warp(linear * vocoderRate_ / sampleRate_, alpha);  // model's axis
    for (size_t m = 0; m < out; ++m) {
      const double weight = (m == 0 ? 1.0 : 2.0) / kGrid * std::cos(m * warped);
      for (size_t j = 0; j < in; ++j) a[m * in + j] += weight * std::cos(j * model);
    }
  }
  return a;
}

size_t HtsModel::VocoderCepstrumLength() const {
  return std::min(cepstrumLength_, kVocoderCepstrumLength);
}

void HtsModel::ConvertParameters(double alpha) {
  HTS_Engine* e = engine_.get();
  HTS_PStream& spectrum = e->pss.pstream[0];
  cepstrumLength_ = spectrum.vector_length;
  const size_t in = cepstrumLength_, out = VocoderCepstrumLength();
  const std::vector<double>& a = CepstrumMatrix(alpha);
  std::vector<double> c(in);
  for (size_t t = 0; t < spectrum.length; ++t) {
    double* par = spectrum.par[t];
    std::copy(par, par + in, c.begin());
    for (size_t m = 0; m < out; ++m) {
      double sum = 0;
      for (size_t j = 0; j < in; ++j) sum += a[m * in + j] * c[j];
      par[m] = sum;
    }
    std::fill(par + out, par + in, 0.0);
  }
  // The excitation's low-pass filter (odd length, centred): each group of taps around every
  // third one summed, so its gain stays and its centre stays where the vocoder expects it.
  if (e->pss.nstream < 3) return;
  HTS_PStream& lpf = e->pss.pstream[2];
  const int length = static_cast<int>(lpf.vector_length);
  const int centre = length / 2;
  const int step = sampleRate_ / vocoderRate_;
  std::vector<double> taps(length);
  for (size_t t = 0; t < lpf.length; ++t) {
    double* par = lpf.par[t];
    std::fill(taps.begin(), taps.end(), 0.0);
    for (int k = 0; k < length; ++k) {
      const int offset = k - centre;
      const int j = (offset >= 0 ? offset + step / 2 : offset - step / 2) / step;
      if (centre + j >= 0 && centre + j < length) taps[centre + j] += par[k];
    }
    std::copy(taps.begin(), taps.end(), par);
  }
}

void HtsModel::ShapePitch(const std::vector<HtsLabel>& labels, double pitchRange) {
  HTS_Engine* e = engine_.get();
  const size_t perLabel = HTS_Engine_get_nstate(e);
  const size_t states = HTS_Engine_get_total_state(e);
  auto voiced = [](double v) { return v > HTS_NODATA / 2 && std::isfinite(v); };
  if (pitchRange != 1.0) {
    // Scale the log-F0 means around their average: a livelier or flatter speaker.
    double sum = 0;
    size_t count = 0;
    for (size_t s = 0; s < states; ++s) {
      double v = HTS_Engine_get_state_mean(e, kLf0Stream, s, 0);
      if (voiced(v)) sum += v, ++count;
    }
    if (count > 0) {
      const double mean = sum / count;
      for (size_t s = 0; s < states; ++s) {
        double v = HTS_Engine_get_state_mean(e, kLf0Stream, s, 0);
        if (voiced(v))
          HTS_Engine_set_state_mean(e, kLf0Stream, s, 0, mean + (v - mean) * pitchRange);
      }
    }
  }
  // A rise climbs through the phoneme's states from its start to the full height at its end;
  // a shift moves them all.
  for (size_t l = 0; l < labels.size() && (l + 1) * perLabel <= states; ++l) {
    if (labels[l].riseHalfTones == 0 && labels[l].shiftHalfTones == 0) continue;
    const double top = labels[l].riseHalfTones * std::log(2.0) / 12;
    const double shift = labels[l].shiftHalfTones * std::log(2.0) / 12;
    for (size_t s = 0; s < perLabel; ++s) {
      const size_t index = l * perLabel + s;
      double v = HTS_Engine_get_state_mean(e, kLf0Stream, index, 0);
      if (voiced(v))
        HTS_Engine_set_state_mean(e, kLf0Stream, index, 0,
                                  v + shift + top * double(s + 1) / perLabel);
    }
  }
}

}  // namespace kotonel::synth
