// Full-context labels for the HTS Japanese voices, made from a parsed phonetic string.
// Input: the utterance (morae with devoicing, accent nuclei, accent-phrase starts and the
// pauses after them). Output: one label per phoneme, silence first and last, "pau" at every
// pause mark (",", "、", "。", "？") inside the utterance, in the context format the HTS
// Japanese voices were trained with:
//
//   p1^p2-p3+p4=p5/A:a1+a2+a3/B:b1-b2_b3/C:c1_c2+c3/D:d1+d2_d3/E:e1_e2!e3_e4-e5
//   /F:f1_f2#f3_f4@f5_f6|f7_f8/G:g1_g2%g3_g4_g5/H:h1_h2/I:i1-i2@i3+i4&i5-i6|i7+i8
//   /J:j1_j2/K:k1+k2-k3   (one line; split here for reading)
//
//   p1..p5  phonemes two before .. two after (sil, pau, a i u e o, A I U E O devoiced, N, cl,
//           k ky g gy s sh z j t ch ts d dy n ny h hy f b by p py m my r ry y w)
//   A       mora: distance from the accent nucleus (position - accent type, or - mora count in a
//           flat phrase), position from the start and from the end of the accent phrase
//   B C D   part of speech, conjugation type and form of the previous, current, next word:
//           the phonetic string carries no words, so always xx
//   E F G   previous, current, next accent phrase: morae, accent type (0 = flat), question
//           (1 when "？" ends it), xx, and E5/G5 1 when no pause separates it from the current
//           one; F5..F8 its position in the breath group by phrases and by morae, both ways
//   H I J   previous, current, next breath group: phrases and morae; I3..I8 its position in
//           the utterance by breath groups, phrases and morae, both ways
//   K       breath groups, accent phrases and morae of the whole utterance
//
// Fields that do not apply are xx (all but p, E, G, H, J, K on sil and pau). Counts are capped
// where the voices' training data stops (phrase 49 morae, breath group 19 phrases...).
// ";" starts a new accent phrase without a pause; "ー" repeats the vowel it lengthens.
#pragma once

#include <string>
#include <vector>

#include "synth/phonemes.h"

namespace kotonel::synth {

struct HtsLabel {
  std::string context;  // the full-context label text
  std::string phoneme;  // p3
  int mora = -1;        // index into Utterance::morae; -1 for sil and pau
  bool vowel = false;   // the sounding part of its mora (vowel, N, cl, lengthening)
  // sil and pau: the mark that made the silence (kNone for the utterance's own ends).
  bool silence = false;
  Break pause = Break::kNone;
  // Set by the synthesis, not by MakeHtsLabels: the phoneme held longer than the model says,
  // and a pitch rise (half tones, reached at its end) laid over the model's pitch.
  double lengthen = 1.0;
  double riseHalfTones = 0;
  // A shift of the whole phoneme's pitch (half tones): the downstep after accented phrases.
  double shiftHalfTones = 0;
};

std::vector<HtsLabel> MakeHtsLabels(const Utterance& utterance);

// The phonemes of one mora as the labels write them ("ky" "o", "N", "cl", "A" for a devoiced a).
std::vector<std::string> MoraPhonemes(const Utterance& utterance, size_t index);

}  // namespace kotonel::synth
