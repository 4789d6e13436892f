#include "synth/hts_labels.h"

#include <algorithm>
#include <cstddef>

namespace kotonel::synth {

namespace {

using C = Consonant;

bool IsPauseBreak(Break b) {
  return b == Break::kComma || b == Break::kTouten || b == Break::kPeriod || b == Break::kQuestion;
}

const char* VowelName(Vowel v, bool devoiced) {
  static const char* const kVoiced[] = {"a", "i", "u", "e", "o"};
  static const char* const kDevoiced[] = {"A", "I", "U", "E", "O"};
  return (devoiced ? kDevoiced : kVoiced)[static_cast<int>(v)];
}

// Palatal onsets before i are written plain (き = k i, ひ = h i); before other vowels with y.
std::string Onset(const Mora& m) {
  auto palatalized = [&](const char* plain) {
    std::string s = plain;
    if (m.palatal && m.vowel != Vowel::kI) s += 'y';
    return s;
  };
  switch (m.consonant) {
    case C::kNone:
      return "";
    case C::kK:
      return palatalized("k");
    case C::kG:
      return palatalized("g");
    case C::kS:
      return m.palatal ? "sh" : "s";
    case C::kZ:
      return m.palatal ? "j" : "z";
    case C::kT:
      return m.palatal ? "ch" : "t";
    case C::kD:
      return palatalized("d");
    case C::kTs:
      return "ts";
    case C::kN:
      return palatalized("n");
    case C::kH:
      return palatalized("h");
    case C::kF:
      return "f";
    case C::kB:
      return palatalized("b");
    case C::kP:
      return palatalized("p");
    case C::kM:
      return palatalized("m");
    case C::kR:
      return palatalized("r");
    case C::kY:
      return "y";
    case C::kW:
      return "w";
  }
  return "";
}

int Cap(int value, int low, int high) {
  return std::clamp(value, low, high);
}

std::string N(int value) {
  return std::to_string(value);
}

struct Phrase {
  int firstMora = 0, morae = 0;
  int accent = 0;  // mora of the nucleus, 1-based; 0 flat
  bool question = false;
  int group = 0;         // breath group index
  int indexInGroup = 0;  // 0-based
  int moraInGroup = 0;   // 0-based mora offset of its start within the group
};

struct Group {
  int firstPhrase = 0, phrases = 0;
  int firstMora = 0, morae = 0;
};

struct Structure {
  std::vector<Phrase> phrases;
  std::vector<Group> groups;
  std::vector<int> phraseOfMora;
  int morae = 0;
};

Structure Analyse(const Utterance& u) {
  Structure s;
  const auto& morae = u.morae;
  s.morae = static_cast<int>(morae.size());
  s.phraseOfMora.resize(morae.size());
  bool newGroup = true;
  for (size_t i = 0; i < morae.size(); ++i) {
    const Mora& m = morae[i];
    if (newGroup) {
      Group g;
      g.firstPhrase = static_cast<int>(s.phrases.size());
      g.firstMora = static_cast<int>(i);
      s.groups.push_back(g);
    }
    if (m.phraseStart || newGroup || s.phrases.empty()) {
      Phrase p;
      p.firstMora = static_cast<int>(i);
      p.group = static_cast<int>(s.groups.size()) - 1;
      s.phrases.push_back(p);
    }
    newGroup = false;
    Phrase& p = s.phrases.back();
    ++p.morae;
    if (m.accentNucleus && p.accent == 0) p.accent = p.morae;
    if (m.breakAfter == Break::kQuestion) p.question = true;
    s.phraseOfMora[i] = static_cast<int>(s.phrases.size()) - 1;
    ++s.groups.back().morae;
    if (IsPauseBreak(m.breakAfter)) newGroup = true;
  }
  for (size_t k = 0; k < s.phrases.size(); ++k) {
    Phrase& p = s.phrases[k];
    Group& g = s.groups[p.group];
    p.indexInGroup = static_cast<int>(k) - g.firstPhrase;
    p.moraInGroup = p.firstMora - g.firstMora;
    ++g.phrases;
  }
  return s;
}

std::string PhraseFields(const Phrase* p) {  // e1_e2!e3_e4 / g1_g2%g3_g4 without the last field
  // A flat phrase is written with its mora count as accent type, as the voices were trained.
  return p ? N(Cap(p->morae, 1, 49)) + "_" + N(Cap(p->accent == 0 ? p->morae : p->accent, 1, 49))
           : "xx_xx";
}

}  // namespace

std::vector<std::string> MoraPhonemes(const Utterance& u, size_t index) {
  const Mora& m = u.morae[index];
  switch (m.kind) {
    case MoraKind::kMoraicNasal:
      return {"N"};
    case MoraKind::kGeminate:
      return {"cl"};
    case MoraKind::kLong:
      return {m.longNasal ? "N" : VowelName(m.vowel, false)};
    case MoraKind::kSyllable:
      break;
  }
  std::vector<std::string> out;
  std::string onset = Onset(m);
  if (!onset.empty()) out.push_back(onset);
  out.push_back(VowelName(m.vowel, m.devoiced));
  return out;
}

std::vector<HtsLabel> MakeHtsLabels(const Utterance& u) {
  const Structure s = Analyse(u);
  std::vector<HtsLabel> labels;

  // The phoneme sequence first, then the context of each.
  HtsLabel first;
  first.phoneme = "sil";
  first.silence = true;
  first.pause = u.leadingBreak;
  labels.push_back(first);
  for (size_t i = 0; i < u.morae.size(); ++i) {
    std::vector<std::string> ph = MoraPhonemes(u, i);
    for (size_t k = 0; k < ph.size(); ++k) {
      HtsLabel l;
      l.phoneme = ph[k];
      l.mora = static_cast<int>(i);
      l.vowel = k + 1 == ph.size();
      labels.push_back(l);
    }
    const Break b = u.morae[i].breakAfter;
    if (IsPauseBreak(b) || i + 1 == u.morae.size()) {
      HtsLabel pause;
      pause.phoneme = i + 1 == u.morae.size() ? "sil" : "pau";
      pause.silence = true;
      pause.pause = b;
      labels.push_back(pause);
    }
  }

  const int totalPhrases = static_cast<int>(s.phrases.size());
  const int totalGroups = static_cast<int>(s.groups.size());
  const std::string k = "/K:" + N(Cap(totalGroups, 1, 19)) + "+" + N(Cap(totalPhrases, 1, 49)) +
                        "-" + N(Cap(s.morae, 1, 199));
  auto group = [&](int g) -> const Group* {
    return g >= 0 && g < totalGroups ? &s.groups[g] : nullptr;
  };
  auto phrase = [&](int p) -> const Phrase* {
    return p >= 0 && p < totalPhrases ? &s.phrases[p] : nullptr;
  };
  auto groupFields = [&](const Group* g) {
    return g ? N(Cap(g->phrases, 1, 19)) + "_" + N(Cap(g->morae, 1, 49)) : std::string("xx_xx");
  };
  auto question = [](const Phrase* p) { return p ? std::string(p->question ? "1" : "0") : "xx"; };

  // For sil and pau: the phrases and groups either side. A silence after mora i lies between
  // phrase phraseOfMora[i] and the next one.
  int lastMora = -1;
  for (size_t n = 0; n < labels.size(); ++n) {
    HtsLabel& l = labels[n];
    auto name = [&](std::ptrdiff_t at) {
      return at >= 0 && at < static_cast<std::ptrdiff_t>(labels.size()) ? labels[at].phoneme
                                                                        : std::string("xx");
    };
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(n);
    std::string text = name(at - 2) + "^" + name(at - 1) + "-" + l.phoneme + "+" + name(at + 1) +
                       "=" + name(at + 2);
    if (l.silence) {
      const int before = lastMora < 0 ? -1 : s.phraseOfMora[lastMora];
      const int after = before + 1;
      const Phrase* prev = phrase(before);
      const Phrase* next = phrase(after);
      const int prevGroup = prev ? prev->group : -1;
      text += "/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx";
      text += "/E:" + PhraseFields(prev) + "!" + question(prev) + "_xx-xx";
      text += "/F:xx_xx#xx_xx@xx_xx|xx_xx";
      text += "/G:" + PhraseFields(next) + "%" + question(next) + "_xx_xx";
      text += "/H:" + groupFields(group(prevGroup));
      text += "/I:xx-xx@xx+xx&xx-xx|xx+xx";
      text += "/J:" + groupFields(group(prevGroup + 1));
    } else {
      lastMora = l.mora;
      const int pi = s.phraseOfMora[l.mora];
      const Phrase& p = s.phrases[pi];
      const Group& g = s.groups[p.group];
      const Phrase* prev = phrase(pi - 1);
      const Phrase* next = phrase(pi + 1);
      const int position = l.mora - p.firstMora + 1;
      const int accent = p.accent == 0 ? p.morae : p.accent;
      text += "/A:" + N(Cap(position - accent, -49, 49)) + "+" + N(Cap(position, 1, 49)) + "+" +
              N(Cap(p.morae - position + 1, 1, 49));
      text += "/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx";
      text += "/E:" + PhraseFields(prev) + "!" + question(prev) + "_xx-" +
              (prev ? N(prev->group == p.group ? 1 : 0) : "xx");
      text += "/F:" + PhraseFields(&p) + "#" + question(&p) + "_xx@" +
              N(Cap(p.indexInGroup + 1, 1, 49)) + "_" + N(Cap(g.phrases - p.indexInGroup, 1, 49)) +
              "|" + N(Cap(p.moraInGroup + 1, 1, 49)) + "_" + N(Cap(g.morae - p.moraInGroup, 1, 49));
      text += "/G:" + PhraseFields(next) + "%" + question(next) + "_xx_" +
              (next ? N(next->group == p.group ? 1 : 0) : "xx");
      text += "/H:" + groupFields(group(p.group - 1));
      text += "/I:" + N(Cap(g.phrases, 1, 19)) + "-" + N(Cap(g.morae, 1, 49)) + "@" +
              N(Cap(p.group + 1, 1, 19)) + "+" + N(Cap(totalGroups - p.group, 1, 19)) + "&" +
              N(Cap(g.firstPhrase + 1, 1, 49)) + "-" + N(Cap(totalPhrases - g.firstPhrase, 1, 49)) +
              "|" + N(Cap(g.firstMora + 1, 1, 199)) + "+" + N(Cap(s.morae - g.firstMora, 1, 199));
      text += "/J:" + groupFields(group(p.group + 1));
    }
    l.context = text + k;
  }
  return labels;
}

}  // namespace kotonel::synth
