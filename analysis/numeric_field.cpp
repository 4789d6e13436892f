#include "analysis/numeric_field.h"

#include <limits>

#include "util/strings.h"

namespace kotonel {

namespace {

bool IsDigit(char32_t c) {
  return c >= U'0' && c <= U'9';
}

}  // namespace

double LeadingDecimal(std::u32string_view field) {
  size_t i = 0;
  while (i < field.size() && (field[i] == U' ' || field[i] == U'\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == U'+' || field[i] == U'-')) negative = field[i++] == U'-';
  // Accumulated by hand rather than with strtod, whose decimal point follows the C locale of
  // the moment (a GUI may set a locale that writes 2,5).
  double value = 0.0;
  for (; i < field.size() && IsDigit(field[i]); ++i) value = value * 10.0 + (field[i] - U'0');
  if (i < field.size() && field[i] == U'.') {
    // Digits after the point are gathered as a whole number and divided once, so that a
    // half such as 2.5 comes out exact and rounds as a half.
    double fraction = 0.0;
    double scale = 1.0;
    for (++i; i < field.size() && IsDigit(field[i]); ++i) {
      if (scale < 1e17) {
        fraction = fraction * 10.0 + (field[i] - U'0');
        scale *= 10.0;
      }
    }
    value += fraction / scale;
  }
  return negative ? -value : value;
}

int32_t RoundedField(std::u32string_view field) {
  double value = LeadingDecimal(field);
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(RoundHalfEven(value));
}

}  // namespace kotonel
