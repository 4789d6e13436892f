// A voice: the numbers in a voice folder's voice.txt that turn the same phonetic string into
// a different speaker. The file is "key = value" per line; "#" starts a comment; blank lines
// are ignored; keys left out keep the defaults below (the adult male voice m1).
#pragma once

#include <string>

namespace kotonel::synth {

enum class VoiceEffect { kNone, kRing };

struct VoiceParams {
  double pitch = 84.0;          // pitch: base pitch (end of a statement), Hz, 40..600
  double pitchRange = 1.0;      // pitch_range: scales accents and phrase rises, 0..3 (0: monotone)
  double formantScale = 1.0;    // formant_scale: multiplies every formant frequency, 0.6..1.6
  double bandwidthScale = 1.0;  // bandwidth_scale: multiplies formant bandwidths, 0.3..4
  double openQuotient = 0.55;   // open_quotient: open part of each glottal cycle, 0.2..0.95
  double spectralTilt = 0.55;   // spectral_tilt: one-pole damping of the voice source, 0..0.95
  double breathiness = 0.04;    // breathiness: aspiration noise mixed into voicing, 0..1
  double jitter = 0.006;        // jitter: random pitch variation, cycle to cycle and slow, 0..0.2
  double vibratoRate = 5.0;     // vibrato_rate: Hz, 0..20
  double vibratoDepth = 0.0;    // vibrato_depth: cents either side, 0..300
  double speedFactor = 1.0;     // speed_factor: multiplies the speaking rate, 0.5..2
  VoiceEffect effect = VoiceEffect::kNone;  // effect: none | ring
  double effectFrequency = 0.0;             // effect_frequency: ring carrier in Hz, 0..2000
  double effectMix = 0.0;                   // effect_mix: share of the ring-modulated sound, 0..1

  // A recorded-speaker model spoken by hts_engine instead of the formant synthesizer. The
  // numbers above still describe the formant voice used when the model cannot be loaded.
  std::string model;           // model: .htsvoice file, relative to the voice folder; empty: none
  double modelAlpha = -1;      // model_alpha: all-pass constant 0.1..0.9; -1: the model's own
  double modelHalfTones = 0;   // model_half_tones: pitch shift in half tones, -12..12
  double modelPitchRange = 1;  // model_pitch_range: scales the model's pitch movement, 0.3..2
};

// Reads the file voice.txt in folder (with or without a trailing '/'). On failure returns false and
// sets error to a message for the user (UTF-8) naming the file and, for a bad line, its number and
// text.
bool LoadVoiceParams(const std::string& folder, VoiceParams& voice, std::string& error);

// Parses the text of a voice file; fileName only labels the messages.
bool ParseVoiceParams(const std::string& text, const std::string& fileName, VoiceParams& voice,
                      std::string& error);

}  // namespace kotonel::synth
