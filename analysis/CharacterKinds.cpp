#include "analysis/CharacterKinds.h"

#include <array>
#include <string_view>

namespace kotonel {

namespace {

// The members of kinds 0 to 7; a character belongs to the first set that holds it.
constexpr std::u32string_view kSymbols =
    U" !#$%&'()*+-./:;<=>@[\\]^_`{}~"
    U"｢｣･・\u3000"
    U"，．：；！゛゜´｀¨＾￣＿―‐／＼～∥｜…‥‘’（）〔〕［］｛｝〈〉《》「」『』"
    U"【】＋－±×÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■"
    U"△▲▽▼※〒→←↑↓〓∈∋⊆⊇⊂⊃∪∩∧∨￢⇒⇔∀∃∠⊥⌒∂∇≡≒≪≫√∽∝∵∫"
    U"∬Å‰♯♭♪†‡¶◯─│┌┐┘└├┬┤┴┼━┃┏┓┛┗┣┳┫┻╋┠┯┨┷┿┝┰┥"
    U"┸╂①②③④⑤⑥⑦⑧⑨⑩⑪⑫⑬⑭⑮⑯⑰⑱⑲⑳ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ〝〟∮∑∟⊿ヽヾ"
    U"ゝゞ〃㍉㌔㌢㍍㌘㌧㌃㌶㍑㍗㌍㌦㌣㌫㍊㌻㎜㎝㎞㎎㎏㏄㎡㍻㍾㍽㍼№㏍℡㊤㊥㊦㊧㊨㈱㈲"
    U"㈹";
constexpr std::u32string_view kGreekCyrillic =
    U"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩαβγδεζηθικλμνξοπρστυφχψω"
    U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя";
constexpr std::u32string_view kDigits = U"0123456789０１２３４５６７８９";
constexpr std::u32string_view kLatin =
    U"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
    U"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔ"
    U"ｕｖｗｘｙｚ";
constexpr std::u32string_view kHiragana =
    U"ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねの"
    U"はばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをん";
constexpr std::u32string_view kKatakana =
    U"ｦｧｨｩｪｫｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ"
    U"ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノ"
    U"ハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ";
constexpr std::u32string_view kLongVowel = U"ーｰ";
constexpr std::u32string_view kPunctuation = U",、。､｡?？";

struct KindTable {
  std::array<uint8_t, 0x10000> kinds;

  KindTable() {
    kinds.fill(8);
    const std::u32string_view sets[] = {kSymbols,  kGreekCyrillic, kDigits,    kLatin,
                                        kHiragana, kKatakana,      kLongVowel, kPunctuation};
    // Filled from the last set to the first so that the first set holding a character wins.
    for (int k = 7; k >= 0; --k)
      for (char32_t c : sets[k]) kinds[c] = static_cast<uint8_t>(k);
  }
};

const KindTable& Table() {
  static const KindTable table;
  return table;
}

}  // namespace

int32_t CharacterKind(char32_t c) {
  if (c == 0) return 0;
  if (c >= 0x10000) return 8;
  return Table().kinds[c];
}

}  // namespace kotonel
