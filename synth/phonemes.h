// The phonetic string taken apart into morae. Input: the decoded phonetic string (hiragana or
// katakana from the base set, the 64 two-character small-kana pairs, "っ" "ー" "ん" and the marks
// , 、 。 ？ ' / ; +). Output: one Mora per mora with its consonant, vowel, devoicing, accent
// nucleus, accent-phrase start and the pause that follows it. High vowels are devoiced here the
// way Tokyo speakers do it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kotonel::synth {

enum class Vowel : uint8_t { kA, kI, kU, kE, kO };

// The manner and place of each onset. kS with palatal is [ɕ], kZ [dʑ], kT [tɕ], kH [ç]; kF is
// [ɸ]; kR the alveolar tap. Other palatal onsets carry a [j] glide into the vowel.
enum class Consonant : uint8_t {
  kNone,
  kK,
  kG,
  kS,
  kZ,
  kT,
  kD,
  kTs,
  kN,
  kH,
  kF,
  kB,
  kP,
  kM,
  kR,
  kY,
  kW
};

enum class MoraKind : uint8_t {
  kSyllable,     // (consonant) vowel
  kMoraicNasal,  // ん: place taken from the next onset
  kGeminate,     // っ: the next closure or frication held one mora; elsewhere a glottal stop
  kLong,         // ー: the previous vowel (or nasal) held one mora more
};

// What follows a mora. Ordered by strength: a run of marks keeps the strongest.
enum class Break : uint8_t {
  kNone,
  kMinor,     // ";"  new accent phrase and a short silence
  kComma,     // ","  short pause
  kTouten,    // "、" pause
  kPeriod,    // "。" sentence end, falling
  kQuestion,  // "？" question, rising
};

struct Mora {
  MoraKind kind = MoraKind::kSyllable;
  Consonant consonant = Consonant::kNone;
  bool palatal = false;
  Vowel vowel = Vowel::kA;  // kLong: the vowel held; unused for kMoraicNasal and kGeminate
  bool longNasal = false;   // kLong after ん: the nasal is held
  bool devoiced = false;
  bool accentNucleus = false;  // pitch falls after this mora ("'" follows it)
  bool phraseStart = false;    // first mora of an accent phrase
  Break breakAfter = Break::kNone;
};

struct Utterance {
  Break leadingBreak = Break::kNone;  // marks before the first mora
  std::vector<Mora> morae;
};

inline constexpr size_t kMaxKoeLength = 10000;

// False with a message for the user (UTF-8) when koe is empty, too long, or holds a character
// outside the alphabet (a lone small kana counts as one).
bool ParseKoe(std::u32string_view koe, Utterance& utterance, std::string& error);

bool IsVoiceless(Consonant c);

}  // namespace kotonel::synth
