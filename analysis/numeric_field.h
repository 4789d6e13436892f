// Numbers in dictionary fields. The dictionaries have always been read with a lenient number
// reader that takes what it can from the start of a field, so "3", "3本" and "3.0" all give 3
// and a field without a leading number gives 0; the loaders keep that reading.
#pragma once

#include <cstdint>
#include <string_view>

namespace kotonel {

// The decimal number at the start of field: optional spaces or tabs, an optional sign, digits
// with an optional fractional part. Anything else ends the number; no digits at all read 0.
double LeadingDecimal(std::u32string_view field);

// LeadingDecimal rounded to a whole number, halves to even (2.5 -> 2, 3.5 -> 4), clamped to
// the 32-bit range.
int32_t RoundedField(std::u32string_view field);

}  // namespace kotonel
