#include "synth/phonemes.h"

#include "util/encoding.h"

namespace kotonel::synth {

namespace {

using C = Consonant;
using V = Vowel;

struct KanaSound {
  char32_t kana;
  Consonant consonant;
  bool palatal;
  Vowel vowel;
};

// The base kana that are syllables (ん っ ー are handled apart). を is said as お.
constexpr KanaSound kKana[] = {
    {U'あ', C::kNone, false, V::kA}, {U'い', C::kNone, false, V::kI},
    {U'う', C::kNone, false, V::kU}, {U'え', C::kNone, false, V::kE},
    {U'お', C::kNone, false, V::kO}, {U'か', C::kK, false, V::kA},
    {U'が', C::kG, false, V::kA},    {U'き', C::kK, true, V::kI},
    {U'ぎ', C::kG, true, V::kI},     {U'く', C::kK, false, V::kU},
    {U'ぐ', C::kG, false, V::kU},    {U'け', C::kK, false, V::kE},
    {U'げ', C::kG, false, V::kE},    {U'こ', C::kK, false, V::kO},
    {U'ご', C::kG, false, V::kO},    {U'さ', C::kS, false, V::kA},
    {U'ざ', C::kZ, false, V::kA},    {U'し', C::kS, true, V::kI},
    {U'じ', C::kZ, true, V::kI},     {U'す', C::kS, false, V::kU},
    {U'ず', C::kZ, false, V::kU},    {U'せ', C::kS, false, V::kE},
    {U'ぜ', C::kZ, false, V::kE},    {U'そ', C::kS, false, V::kO},
    {U'ぞ', C::kZ, false, V::kO},    {U'た', C::kT, false, V::kA},
    {U'だ', C::kD, false, V::kA},    {U'ち', C::kT, true, V::kI},
    {U'つ', C::kTs, false, V::kU},   {U'て', C::kT, false, V::kE},
    {U'で', C::kD, false, V::kE},    {U'と', C::kT, false, V::kO},
    {U'ど', C::kD, false, V::kO},    {U'な', C::kN, false, V::kA},
    {U'に', C::kN, true, V::kI},     {U'ぬ', C::kN, false, V::kU},
    {U'ね', C::kN, false, V::kE},    {U'の', C::kN, false, V::kO},
    {U'は', C::kH, false, V::kA},    {U'ば', C::kB, false, V::kA},
    {U'ぱ', C::kP, false, V::kA},    {U'ひ', C::kH, true, V::kI},
    {U'び', C::kB, true, V::kI},     {U'ぴ', C::kP, true, V::kI},
    {U'ふ', C::kF, false, V::kU},    {U'ぶ', C::kB, false, V::kU},
    {U'ぷ', C::kP, false, V::kU},    {U'へ', C::kH, false, V::kE},
    {U'べ', C::kB, false, V::kE},    {U'ぺ', C::kP, false, V::kE},
    {U'ほ', C::kH, false, V::kO},    {U'ぼ', C::kB, false, V::kO},
    {U'ぽ', C::kP, false, V::kO},    {U'ま', C::kM, false, V::kA},
    {U'み', C::kM, true, V::kI},     {U'む', C::kM, false, V::kU},
    {U'め', C::kM, false, V::kE},    {U'も', C::kM, false, V::kO},
    {U'や', C::kY, false, V::kA},    {U'ゆ', C::kY, false, V::kU},
    {U'よ', C::kY, false, V::kO},    {U'ら', C::kR, false, V::kA},
    {U'り', C::kR, true, V::kI},     {U'る', C::kR, false, V::kU},
    {U'れ', C::kR, false, V::kE},    {U'ろ', C::kR, false, V::kO},
    {U'わ', C::kW, false, V::kA},    {U'を', C::kNone, false, V::kO},
};

// The 64 pairs a small kana may end (hiragana; katakana is folded to hiragana first).
constexpr std::u32string_view kPairs =
    U"いぇきゃきゅきぇきょしゃしゅしぇしょじゃじゅじぇじょちゃちゅちぇちょにゃにゅにぇにょひゃひゅ"
    U"ひぇひょみゃ"
    U"みゅみぇみょりゃりゅりぇりょぎゃぎゅぎぇぎょうぃうぇうぉつぁつぃつぇつぉふぁふぃふぇふぉびゃ"
    U"びゅびぇびょ"
    U"ぴゃぴゅぴぇぴょすぃてぃずぃでぃとぅどぅでゅてゅ";

const KanaSound* FindKana(char32_t c) {
  for (const KanaSound& k : kKana)
    if (k.kana == c) return &k;
  return nullptr;
}

bool IsSmall(char32_t c) {
  return std::u32string_view(U"ぁぃぅぇぉゃゅょゎ").find(c) != std::u32string_view::npos;
}

bool IsPair(char32_t first, char32_t small) {
  for (size_t i = 0; i + 1 < kPairs.size(); i += 2)
    if (kPairs[i] == first && kPairs[i + 1] == small) return true;
  return false;
}

// Katakana of the alphabet to hiragana; "ー" and everything else unchanged.
char32_t Fold(char32_t c) {
  return c >= U'ァ' && c <= U'ヶ' ? c - 0x60 : c;
}

// The sound of a pair: a small ゃゅょ palatalizes the onset, a small vowel replaces the vowel;
// い and う before a small vowel become the glides [j] and [w].
Mora PairSound(const KanaSound& first, char32_t small) {
  Mora m;
  m.consonant = first.consonant;
  m.palatal = first.palatal;
  switch (small) {
    case U'ゃ':
      m.vowel = V::kA;
      m.palatal = true;
      break;
    case U'ゅ':
      m.vowel = V::kU;
      m.palatal = true;
      break;
    case U'ょ':
      m.vowel = V::kO;
      m.palatal = true;
      break;
    case U'ぁ':
      m.vowel = V::kA;
      break;
    case U'ぃ':
      m.vowel = V::kI;
      break;
    case U'ぅ':
      m.vowel = V::kU;
      break;
    case U'ぇ':
      m.vowel = V::kE;
      break;
    default:
      m.vowel = V::kO;
      break;
  }
  if (first.kana == U'い') m.consonant = C::kY;
  if (first.kana == U'う') m.consonant = C::kW;
  if (first.vowel != V::kI && small != U'ゃ' && small != U'ゅ' && small != U'ょ') {
    m.palatal = false;  // てぃ すぃ ふぁ つぁ とぅ...: plain onsets
  }
  return m;
}

int Strength(Break b) {
  return static_cast<int>(b);
}

void AddBreak(Break& slot, Break b) {
  // A sentence end or question decides the tune even after a weaker mark.
  if (Strength(b) >= Strength(slot)) slot = b;
}

void Devoice(Utterance& u) {
  auto& m = u.morae;
  for (size_t i = 0; i < m.size(); ++i) {
    Mora& x = m[i];
    if (x.kind != MoraKind::kSyllable || x.devoiced) continue;
    if (x.vowel != V::kI && x.vowel != V::kU) continue;
    if (!IsVoiceless(x.consonant)) continue;
    if (i > 0 && m[i - 1].devoiced) continue;  // never two in a row
    bool last = i + 1 == m.size() || x.breakAfter != Break::kNone;
    if (last) {
      // です。 ます、: a final す or つ before a pause; a question keeps its voice for the rise.
      bool suOrTsu =
          x.vowel == V::kU && !x.palatal && (x.consonant == C::kS || x.consonant == C::kTs);
      if (suOrTsu && x.breakAfter != Break::kQuestion && x.breakAfter != Break::kMinor)
        x.devoiced = true;
      continue;
    }
    const Mora& next = m[i + 1];
    bool nextVoiceless =
        (next.kind == MoraKind::kSyllable && IsVoiceless(next.consonant)) ||
        (next.kind == MoraKind::kGeminate && i + 2 < m.size() && IsVoiceless(m[i + 2].consonant));
    if (nextVoiceless) x.devoiced = true;
  }
}

}  // namespace

bool IsVoiceless(Consonant c) {
  return c == C::kK || c == C::kS || c == C::kT || c == C::kTs || c == C::kH || c == C::kF ||
         c == C::kP;
}

bool ParseKoe(std::u32string_view koe, Utterance& utterance, std::string& error) {
  utterance = Utterance{};
  if (koe.empty()) {
    error = "音声記号列が空です";
    return false;
  }
  if (koe.size() > kMaxKoeLength) {
    error = "音声記号列が長すぎます（" + std::to_string(kMaxKoeLength) + " 文字まで）";
    return false;
  }
  auto& morae = utterance.morae;
  bool newPhrase = true;
  auto currentBreak = [&]() -> Break& {
    return morae.empty() ? utterance.leadingBreak : morae.back().breakAfter;
  };
  auto push = [&](Mora m) {
    m.phraseStart = newPhrase;
    newPhrase = false;
    morae.push_back(m);
  };
  for (size_t i = 0; i < koe.size(); ++i) {
    char32_t c = Fold(koe[i]);
    auto fail = [&]() {
      error = "音声記号列に使えない文字があります: 「" + ToUtf8(std::u32string(1, koe[i])) +
              "」（" + std::to_string(i + 1) + " 文字目）";
      return false;
    };
    switch (c) {
      case U',':
        AddBreak(currentBreak(), Break::kComma);
        newPhrase = true;
        continue;
      case U'、':
        AddBreak(currentBreak(), Break::kTouten);
        newPhrase = true;
        continue;
      case U'。':
        AddBreak(currentBreak(), Break::kPeriod);
        newPhrase = true;
        continue;
      case U'？':
        AddBreak(currentBreak(), Break::kQuestion);
        newPhrase = true;
        continue;
      case U';':
        AddBreak(currentBreak(), Break::kMinor);
        newPhrase = true;
        continue;
      case U'/':
        newPhrase = true;
        continue;
      case U'\'':
        if (!morae.empty()) morae.back().accentNucleus = true;
        continue;
      case U'+':
        if (!morae.empty() && morae.back().kind == MoraKind::kSyllable)
          morae.back().devoiced = true;
        continue;
      default:
        break;
    }
    if (koe[i] == U'ヶ' || koe[i] == U'ヵ' || koe[i] == U'ヴ') return fail();
    Mora m;
    if (c == U'ん') {
      m.kind = MoraKind::kMoraicNasal;
    } else if (c == U'っ') {
      m.kind = MoraKind::kGeminate;
    } else if (c == U'ー') {
      m.kind = MoraKind::kLong;
      if (morae.empty()) continue;  // nothing to hold
      const Mora& prev = morae.back();
      if (prev.kind == MoraKind::kMoraicNasal || (prev.kind == MoraKind::kLong && prev.longNasal)) {
        m.longNasal = true;
      } else if (prev.kind == MoraKind::kGeminate) {
        continue;  // a held closure has no vowel to lengthen
      }
      m.vowel = prev.vowel;
      m.devoiced = false;
    } else if (IsSmall(c)) {
      return fail();  // only inside a pair
    } else {
      const KanaSound* k = FindKana(c);
      if (!k) return fail();
      if (i + 1 < koe.size() && IsSmall(Fold(koe[i + 1])) && IsPair(c, Fold(koe[i + 1]))) {
        m = PairSound(*k, Fold(koe[i + 1]));
        ++i;
      } else {
        m.consonant = k->consonant;
        m.palatal = k->palatal;
        m.vowel = k->vowel;
      }
    }
    push(m);
  }
  Devoice(utterance);
  return true;
}

}  // namespace kotonel::synth
