// A recorded-speaker voice model (.htsvoice) spoken by hts_engine. Input: full-context labels
// (synth/hts_labels.h) and the engine's own controls; output: the samples at the model's rate
// and where each label starts in them. Loaded models are kept for the life of the process (a
// model is about a megabyte and takes a few milliseconds to load), one per file path; the file
// is loaded again when its size or time changes.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "synth/hts_labels.h"

struct _HTS_Engine;

namespace kotonel::synth {

struct HtsControls {
  double speed = 1.0;     // durations divided by this (0.25 .. 6)
  double alpha = -1;      // all-pass constant (frequency warping: higher = longer vocal tract);
                          // below 0 keeps the model's own
  double halfTones = 0;   // pitch shift
  double pitchRange = 1;  // log-F0 movement around the utterance mean scaled by this
};

struct HtsSpeech {
  std::vector<float> samples;       // at the model's rate, full scale about 32768
  std::vector<size_t> labelStarts;  // one per label, plus the end
  int sampleRate = 0;               // the model's, or 16000 when the vocoder runs at that rate
};

class HtsModel {
 public:
  // The model in the file path, loaded or taken from the cache. nullptr with a message naming
  // the file when it is missing or not a usable voice model.
  static std::shared_ptr<HtsModel> Load(const std::string& path, std::string& error);

  ~HtsModel();
  HtsModel(const HtsModel&) = delete;
  HtsModel& operator=(const HtsModel&) = delete;

  int SampleRate() const { return sampleRate_; }
  const std::string& Path() const { return path_; }

  bool Speak(const std::vector<HtsLabel>& labels, const HtsControls& controls, HtsSpeech& speech,
             std::string& error);

 private:
  HtsModel() = default;
  void ShapePitch(const std::vector<HtsLabel>& labels, double pitchRange);
  void ConvertParameters(double alpha);
  const std::vector<double>& CepstrumMatrix(double alpha);
  size_t VocoderCepstrumLength() const;
  std::unique_ptr<_HTS_Engine> engine_;
  std::mutex mutex_;  // one engine speaks one utterance at a time
  std::string path_;
  int sampleRate_ = 0;
  double defaultAlpha_ = 0;
  int vocoderRate_ = 0;
  size_t cepstrumLength_ = 0;
  std::map<double, std::vector<double>> matrices_;  // by the model's all-pass constant
};

}  // namespace kotonel::synth
