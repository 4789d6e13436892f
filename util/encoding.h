// Text encodings at the program's edges. Inside the program text is std::u32string (one
// element per character); UTF-8 is used towards Qt, the command line and the terminal, and
// code page 932 (Shift_JIS) only where a file format or the voice library asks for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kotonel {

std::u32string FromUtf8(std::string_view utf8);  // invalid sequences become U+FFFD
std::string ToUtf8(std::u32string_view text);
bool IsValidUtf8(std::string_view bytes);

// Code page 932. Characters it cannot hold become '?' and clear *lossless when given.
std::string ToCp932(std::u32string_view text, bool* lossless = nullptr);
std::u32string FromCp932(std::string_view bytes);  // undecodable bytes become U+FFFD

// The code of one character in code page 932 (a byte for single-byte characters, lead*256+trail
// for double-byte ones), or -1 when the code page has no code for it.
int Cp932Code(char32_t c);
// The character with that code, or 0 when the code is unassigned.
char32_t FromCp932Code(int code);

// Characters that other systems write where the Japanese code page has a look-alike (the wave
// dash 〜 for ～, the minus sign − for －, ¢ £ ¬ ‖ —) replaced by the code page's own forms, so
// that text typed or saved on Linux meets the same tables as text written on Windows; and
// characters the code page lacks replaced by the form of the same character it holds (鷗 by
// 鴎, 剝 by 剥, 𠮟 by 叱, compatibility ideographs by their unified forms).
std::u32string ToCp932Forms(std::u32string_view text);

// A text file the user opens or drops, or standard input: UTF-16 with a BOM, UTF-8 with a BOM,
// else UTF-8 or code page 932 as the whole text shows (LooksLikeUtf8). Bytes that do not
// decode become U+FFFD in the encoding chosen.
std::u32string DecodeTextFile(std::string_view bytes);
// Whether bytes without a BOM are UTF-8 rather than code page 932, on the evidence of the whole
// text: valid UTF-8 throughout, or many valid multibyte sequences against a few stray bytes.
bool LooksLikeUtf8(std::string_view bytes);
// Whether DecodeTextFile reads bytes as their writer meant: false for EUC-JP, ISO-2022-JP and
// other bytes that neither UTF-8 nor code page 932 decode, which would come out as mojibake.
bool IsKnownTextEncoding(std::string_view bytes);

std::u32string U32(std::string_view utf8);  // short form of FromUtf8 for literals in code

}  // namespace kotonel
