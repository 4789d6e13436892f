#include "synth/hts_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/encoding.h"

namespace kotonel::synth {
namespace {

std::vector<std::string> Labels(const char* koe) {
  Utterance u;
  std::string error;
  EXPECT_TRUE(ParseKoe(FromUtf8(koe), u, error)) << error;
  std::vector<std::string> out;
  for (const HtsLabel& l : MakeHtsLabels(u)) out.push_back(l.context);
  return out;
}

// Expected labels as Open JTalk prints them for the same sentence read with the same
// pronunciation and accents (its word-class fields B, C, D set to xx: we have no words).
struct Case {
  const char* koe;
  const char* why;
  std::vector<std::string> expected;
};

const Case kCases[] = {
    {"きょ'ーわ/あ'めが/ふ'るでしょーか？",
     "three phrases, the last a question",
     {
         "xx^xx-sil+ky=o/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:3_1%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:3_12/"
         "K:1+3-12",
         "xx^sil-ky+o=o/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:3_1#0_xx@1_3|1_12/G:3_1%0_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "sil^ky-o+o=w/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:3_1#0_xx@1_3|1_12/G:3_1%0_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "ky^o-o+w=a/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_3|1_12/"
         "G:3_1%0_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "o^o-w+a=a/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_3|1_12/"
         "G:3_1%0_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "o^w-a+a=m/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_3|1_12/"
         "G:3_1%0_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "w^a-a+m=e/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:3_1#0_xx@2_2|4_9/"
         "G:6_1%1_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "a^a-m+e=g/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:3_1#0_xx@2_2|4_9/"
         "G:6_1%1_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "a^m-e+g=a/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:3_1#0_xx@2_2|4_9/"
         "G:6_1%1_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "m^e-g+a=f/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:3_1#0_xx@2_2|4_9/"
         "G:6_1%1_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "e^g-a+f=u/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:3_1#0_xx@2_2|4_9/"
         "G:6_1%1_xx_1/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "g^a-f+u=r/A:0+1+6/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "a^f-u+r=u/A:0+1+6/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "f^u-r+u=d/A:1+2+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "u^r-u+d=e/A:1+2+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "r^u-d+e=sh/A:2+3+4/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "u^d-e+sh=o/A:2+3+4/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "d^e-sh+o=o/A:3+4+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "e^sh-o+o=k/A:3+4+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "sh^o-o+k=a/A:4+5+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "o^o-k+a=sil/A:5+6+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "o^k-a+sil=xx/A:5+6+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-1/F:6_1#1_xx@3_1|7_6/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:3-12@1+1&1-3|1+12/J:xx_xx/K:1+3-12",
         "k^a-sil+xx=xx/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:6_1!1_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:xx_xx%xx_xx_xx/H:3_12/I:xx-xx@xx+xx&xx-xx|xx+xx/J:xx_xx/"
         "K:1+3-12",
     }},
    {"あ'めが、ふ'るか？",
     "two breath groups split by a pause",
     {
         "xx^xx-sil+a=m/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:3_1%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:1_3/K:2+2-6",
         "xx^sil-a+m=e/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:3_1#0_xx@1_1|1_3/G:3_1%1_xx_0/H:xx_xx/I:1-3@1+2&1-2|1+6/J:1_3/K:2+2-6",
         "sil^a-m+e=g/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_1|1_3/"
         "G:3_1%1_xx_0/H:xx_xx/I:1-3@1+2&1-2|1+6/J:1_3/K:2+2-6",
         "a^m-e+g=a/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_1|1_3/"
         "G:3_1%1_xx_0/H:xx_xx/I:1-3@1+2&1-2|1+6/J:1_3/K:2+2-6",
         "m^e-g+a=pau/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_1|1_3/"
         "G:3_1%1_xx_0/H:xx_xx/I:1-3@1+2&1-2|1+6/J:1_3/K:2+2-6",
         "e^g-a+pau=f/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:3_1#0_xx@1_1|1_3/"
         "G:3_1%1_xx_0/H:xx_xx/I:1-3@1+2&1-2|1+6/J:1_3/K:2+2-6",
         "g^a-pau+f=u/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:3_1%1_xx_xx/H:1_3/I:xx-xx@xx+xx&xx-xx|xx+xx/J:1_3/K:2+2-6",
         "a^pau-f+u=r/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "pau^f-u+r=u/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "f^u-r+u=k/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "u^r-u+k=a/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "r^u-k+a=sil/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "u^k-a+sil=xx/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-0/F:3_1#1_xx@1_1|1_3/"
         "G:xx_xx%xx_xx_xx/H:1_3/I:1-3@2+1&2-1|4+3/J:xx_xx/K:2+2-6",
         "k^a-sil+xx=xx/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!1_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:xx_xx%xx_xx_xx/H:1_3/I:xx-xx@xx+xx&xx-xx|xx+xx/J:xx_xx/"
         "K:2+2-6",
     }},
    {"がっこーに/いきま'す。",
     "a flat phrase, a geminate, a devoiced final す",
     {
         "xx^xx-sil+g=a/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:5_5%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:2_9/K:1+2-9",
         "xx^sil-g+a=cl/A:-4+1+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:5_5#0_xx@1_2|1_9/G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "sil^g-a+cl=k/A:-4+1+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:5_5#0_xx@1_2|1_9/G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "g^a-cl+k=o/A:-3+2+4/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "a^cl-k+o=o/A:-2+3+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "cl^k-o+o=n/A:-2+3+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "k^o-o+n=i/A:-1+4+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "o^o-n+i=i/A:0+5+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "o^n-i+i=k/A:0+5+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_9/"
         "G:4_3%0_xx_1/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "n^i-i+k=i/A:-2+1+4/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "i^i-k+i=m/A:-1+2+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "i^k-i+m=a/A:-1+2+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "k^i-m+a=s/A:0+3+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "i^m-a+s=U/A:0+3+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "m^a-s+U=sil/A:1+4+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "a^s-U+sil=xx/A:1+4+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:4_3#0_xx@2_1|6_4/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-9@1+1&1-2|1+9/J:xx_xx/K:1+2-9",
         "s^U-sil+xx=xx/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:4_3!0_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:xx_xx%xx_xx_xx/H:2_9/I:xx-xx@xx+xx&xx-xx|xx+xx/J:xx_xx/"
         "K:1+2-9",
     }},
    {"しんぶんお/よ'んだ。",
     "moraic nasals",
     {
         "xx^xx-sil+sh=i/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:5_5%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:2_8/K:1+2-8",
         "xx^sil-sh+i=N/A:-4+1+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:5_5#0_xx@1_2|1_8/G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "sil^sh-i+N=b/A:-4+1+5/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/"
         "F:5_5#0_xx@1_2|1_8/G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "sh^i-N+b=u/A:-3+2+4/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_8/"
         "G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "i^N-b+u=N/A:-2+3+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_8/"
         "G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "N^b-u+N=o/A:-2+3+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_8/"
         "G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "b^u-N+o=y/A:-1+4+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_8/"
         "G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "u^N-o+y=o/A:0+5+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:xx_xx!xx_xx-xx/F:5_5#0_xx@1_2|1_8/"
         "G:3_1%0_xx_1/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "N^o-y+o=N/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:3_1#0_xx@2_1|6_3/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "o^y-o+N=d/A:0+1+3/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:3_1#0_xx@2_1|6_3/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "y^o-N+d=a/A:1+2+2/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:3_1#0_xx@2_1|6_3/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "o^N-d+a=sil/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:3_1#0_xx@2_1|6_3/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "N^d-a+sil=xx/A:2+3+1/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:5_5!0_xx-1/F:3_1#0_xx@2_1|6_3/"
         "G:xx_xx%xx_xx_xx/H:xx_xx/I:2-8@1+1&1-2|1+8/J:xx_xx/K:1+2-8",
         "d^a-sil+xx=xx/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:3_1!0_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:xx_xx%xx_xx_xx/H:2_8/I:xx-xx@xx+xx&xx-xx|xx+xx/J:xx_xx/"
         "K:1+2-8",
     }},
};

TEST(HtsLabels, PhonemesAndEveryPositionFieldMatchTheReferenceLabeller) {
  for (const Case& c : kCases) {
    std::vector<std::string> got = Labels(c.koe);
    ASSERT_EQ(got.size(), c.expected.size()) << c.koe << ": " << c.why;
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(got[i], c.expected[i]) << c.koe << " (" << c.why << "), label " << i;
  }
}

TEST(HtsLabels, PhonemeSpellings) {
  auto phonemes = [](const char* koe) {
    Utterance u;
    std::string error;
    EXPECT_TRUE(ParseKoe(FromUtf8(koe), u, error)) << error;
    std::string s;
    for (const HtsLabel& l : MakeHtsLabels(u)) s += l.phoneme + " ";
    return s;
  };
  EXPECT_EQ(phonemes("きゃしちつふじ"), "sil ky a sh I ch i ts U f u j i sil ");
  EXPECT_EQ(phonemes("ひゃひにょにりゅりでゅでぃてぃ"),
            "sil hy a h i ny o n i ry u r i dy u d i t i sil ");
  EXPECT_EQ(phonemes("ふぁうぃうぇうぉいぇを"), "sil f a w i w e w o y e o sil ");
  // ー repeats the vowel (or the nasal) it lengthens; っ is cl; a pause is pau, the end sil.
  EXPECT_EQ(phonemes("かーさん、んー。"), "sil k a a s a N pau N N sil ");
  EXPECT_EQ(phonemes("きって"), "sil k I cl t e sil ");
  // "+" marks a devoiced vowel; ";" starts a phrase without a pause.
  EXPECT_EQ(phonemes("が+;か"), "sil g A k a sil ");
}

TEST(HtsLabels, SemicolonStartsAPhraseWithoutABreathGroupAndQuestionMarksItsPhrase) {
  std::vector<std::string> l = Labels("あ'め;あめ？");
  ASSERT_EQ(l.size(), 8u);
  // Two phrases in one breath group; only the second asks.
  EXPECT_NE(l[1].find("/F:2_1#0_xx@1_2|1_4/G:2_2%1_xx_1/"), std::string::npos) << l[1];
  EXPECT_NE(l[4].find("/E:2_1!0_xx-1/F:2_2#1_xx@2_1|3_2/"), std::string::npos) << l[4];
  EXPECT_NE(l[7].find("/E:2_2!1_xx-xx/"), std::string::npos) << l[7];
}

}  // namespace
}  // namespace kotonel::synth
