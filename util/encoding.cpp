#include "util/encoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace kotonel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Look-alikes from other Japanese mappings and the code page 932 character they stand for.
constexpr std::pair<char32_t, char32_t> kLookAlikes[] = {
    {0x301C, 0xFF5E}, {0x2212, 0xFF0D}, {0x00A2, 0xFFE0}, {0x00A3, 0xFFE1},
    {0x00AC, 0xFFE2}, {0x2016, 0x2225}, {0x2014, 0x2015},
};

// Characters the code page cannot hold and the form of the same character it holds: the newer
// JIS forms (鷗, 剝, 𠮟), compatibility ideographs and other glyph variants of one character.
constexpr char32_t kVariants[][2] = {
#include "util/cp932_variants.inc"
};

// Both directions of code page 932, built once from glibc's iconv tables so that the
// per-character conversions never go through iconv again.
struct Cp932Tables {
  std::array<char32_t, 65536> toUnicode{};  // code -> character, 0 = unassigned
  std::unordered_map<char32_t, uint16_t> fromUnicode;

  Cp932Tables() {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    auto decode = [&](const char* in, size_t inLen) -> char32_t {
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      char* src = const_cast<char*>(in);
      char out[8];
      char* dst = out;
      size_t outLeft = sizeof out;
      if (iconv(cd, &src, &inLen, &dst, &outLeft) == static_cast<size_t>(-1)) return 0;
      if (sizeof out - outLeft != 4) return 0;
      uint32_t v = static_cast<uint8_t>(out[0]) | static_cast<uint8_t>(out[1]) << 8 |
                   static_cast<uint8_t>(out[2]) << 16 |
                   static_cast<uint32_t>(static_cast<uint8_t>(out[3])) << 24;
      return static_cast<char32_t>(v);
    };
    for (int b = 0; b < 256; ++b) {
      char in = static_cast<char>(b);
      if (char32_t u = decode(&in, 1); u != 0 || b == 0) toUnicode[b] = u;
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead >= 0xA0 && lead <= 0xDF) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        if (char32_t u = decode(in, 2)) toUnicode[lead * 256 + trail] = u;
      }
    }
    iconv_close(cd);
    // The first code wins for characters the code page holds twice (NEC and IBM extensions),
    // as Windows does when it encodes.
    for (int code = 0; code < 65536; ++code) {
      char32_t u = toUnicode[code];
      if ((u != 0 || code == 0) && !fromUnicode.count(u)) fromUnicode.emplace(u, code);
    }
    for (auto [alike, own] : kLookAlikes) {
      auto it = fromUnicode.find(own);
      if (it != fromUnicode.end()) fromUnicode.emplace(alike, it->second);
    }
  }
};

const Cp932Tables& Tables() {
  static const Cp932Tables tables;
  return tables;
}

bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

namespace {

// The character of the valid UTF-8 sequence at s[i] and its length, or length 0 when the bytes
// there are no valid sequence (bad lead or trail byte, overlong form, surrogate, cut short).
size_t NextUtf8(std::string_view s, size_t i, char32_t& c) {
  uint8_t b = static_cast<uint8_t>(s[i]);
  size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  c = len == 1 ? b : b & (0x7F >> len);
  for (size_t k = 1; k < len; ++k) {
    uint8_t t = static_cast<uint8_t>(s[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return len;
}

std::u32string DecodeUtf8(std::string_view s, bool* valid) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t c = 0;
    size_t len = NextUtf8(s, i, c);
    if (len == 0) {
      if (valid) *valid = false;
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    out.push_back(c);
    i += len;
  }
  return out;
}

}  // namespace

std::u32string FromUtf8(std::string_view s) {
  return DecodeUtf8(s, nullptr);
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view s) {
  bool valid = true;
  DecodeUtf8(s, &valid);
  return valid;
}

std::string ToCp932(std::u32string_view text, bool* lossless) {
  const auto& t = Tables();
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text) {
    auto it = t.fromUnicode.find(c);
    if (it == t.fromUnicode.end()) {
      out.push_back('?');
      if (lossless) *lossless = false;
      continue;
    }
    uint16_t code = it->second;
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return out;
}

std::u32string FromCp932(std::string_view bytes) {
  const auto& t = Tables();
  // Written through a pointer rather than push_back: the dictionaries decode megabytes at
  // every start.
  std::u32string out(bytes.size(), U'\0');
  char32_t* o = out.data();
  for (size_t i = 0; i < bytes.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(bytes[i]);
    if (IsLeadByte(b) && i + 1 < bytes.size()) {
      char32_t u = t.toUnicode[b * 256 + static_cast<uint8_t>(bytes[i + 1])];
      if (u != 0) {
        *o++ = u;
        ++i;
        continue;
      }
    }
    char32_t u = t.toUnicode[b];
    *o++ = u != 0 || b == 0 ? u : kReplacement;
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

int Cp932Code(char32_t c) {
  const auto& t = Tables();
  auto it = t.fromUnicode.find(c);
  return it == t.fromUnicode.end() ? -1 : it->second;
}

char32_t FromCp932Code(int code) {
  if (code < 0 || code > 0xFFFF) return 0;
  return Tables().toUnicode[code];
}

std::u32string DecodeTextFile(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(bytes.substr(3));
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    bool little = bytes[0] == '\xFF';
    std::u32string out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto unit = [&](size_t k) -> char32_t {
        uint8_t a = static_cast<uint8_t>(bytes[k]), b = static_cast<uint8_t>(bytes[k + 1]);
        return little ? (b << 8 | a) : (a << 8 | b);
      };
      char32_t u = unit(i);
      if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
        char32_t lo = unit(i + 2);
        if (lo >= 0xDC00 && lo <= 0xDFFF) {
          out.push_back(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
          i += 2;
          continue;
        }
      }
      out.push_back(u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
    }
    return out;
  }
  return LooksLikeUtf8(bytes) ? FromUtf8(bytes) : FromCp932(bytes);
}

bool LooksLikeUtf8(std::string_view bytes) {
  // Valid multibyte sequences are strong evidence: Shift_JIS text forms them only by chance,
  // while each of its hiragana and most kanji begin with a byte UTF-8 never starts with. So a
  // stray bad byte in a UTF-8 text does not turn the whole text into Shift_JIS.
  size_t multibyte = 0, invalidUtf8 = 0;
  for (size_t i = 0; i < bytes.size();) {
    uint8_t b = static_cast<uint8_t>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    char32_t c = 0;
    size_t len = NextUtf8(bytes, i, c);
    if (len == 0) {
      ++invalidUtf8;
      ++i;
    } else {
      ++multibyte;
      i += len;
    }
  }
  if (invalidUtf8 == 0) return true;
  if (multibyte == 0) return false;
  if (multibyte >= 4 * invalidUtf8) return true;
  // Mixed evidence: the encoding in which fewer bytes fail to decode.
  size_t invalidCp932 = 0;
  for (char32_t c : FromCp932(bytes)) invalidCp932 += c == kReplacement;
  return invalidUtf8 < invalidCp932;
}

bool IsKnownTextEncoding(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF" || bytes.substr(0, 2) == "\xFF\xFE" ||
      bytes.substr(0, 2) == "\xFE\xFF")
    return true;
  // ISO-2022-JP is 7-bit, so it passes for UTF-8; its escapes give it away.
  for (std::string_view esc : {"\x1B$B", "\x1B$@", "\x1B(J", "\x1B$(D"})
    if (bytes.find(esc) != std::string_view::npos) return false;
  if (LooksLikeUtf8(bytes)) return true;
  // EUC-JP: every high byte in a pair of A1-FE bytes (or after 8E/8F). Japanese in code page
  // 932 almost always has a lead byte 81-9F (all kana and punctuation), which EUC-JP never has.
  size_t pairs = 0;
  bool euc = true;
  for (size_t i = 0; i < bytes.size() && euc;) {
    uint8_t b = static_cast<uint8_t>(bytes[i]);
    auto high = [&](size_t k) {
      return k < bytes.size() && static_cast<uint8_t>(bytes[k]) >= 0xA1 &&
             static_cast<uint8_t>(bytes[k]) <= 0xFE;
    };
    if (b < 0x80) {
      ++i;
    } else if (b >= 0xA1 && b <= 0xFE && high(i + 1)) {
      ++pairs;
      i += 2;
    } else if (b == 0x8E && high(i + 1)) {
      ++pairs;
      i += 2;
    } else if (b == 0x8F && high(i + 1) && high(i + 2)) {
      ++pairs;
      i += 3;
    } else {
      euc = false;
    }
  }
  // Shift_JIS half-width katakana are single bytes A1-DF, so a text of them pairs up like
  // EUC-JP. Real EUC-JP text has second bytes above DF (most hiragana, a third of the kanji)
  // within a few characters; without one, the bytes are half-width katakana.
  bool halfWidthKanaOnly = std::all_of(bytes.begin(), bytes.end(), [](char c) {
    auto b = static_cast<uint8_t>(c);
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
  });
  if (euc && pairs > 0 && !halfWidthKanaOnly) return false;
  // Code page 932 with more than a few undecodable bytes is some other encoding.
  size_t nonAscii = 0, bad = 0;
  for (char32_t c : FromCp932(bytes)) {
    nonAscii += c >= 0x80;
    bad += c == kReplacement;
  }
  return bad * 20 <= nonAscii;
}

std::u32string ToCp932Forms(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out) {
    for (auto [alike, own] : kLookAlikes)
      if (c == alike) c = own;
    if (c < 0x3400) continue;  // kana and symbols have no entry; kanji start here
    const auto* end = std::end(kVariants);
    const auto* it = std::lower_bound(std::begin(kVariants), end, c,
                                      [](const auto& entry, char32_t v) { return entry[0] < v; });
    if (it != end && (*it)[0] == c && Cp932Code(c) < 0) c = (*it)[1];
  }
  return out;
}

std::u32string U32(std::string_view utf8) {
  return FromUtf8(utf8);
}

}  // namespace kotonel
