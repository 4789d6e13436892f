// The common shape of the dictionary files: lines of fields separated by half-width spaces, each
// line with at least a fixed number of fields, and one message for every fault of the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

// Calls onLine(line, fields) for every line of the file at path, in file order. A file that
// cannot be read throws DictionaryError::Unreadable with the system's reason; a line with fewer
// than minFields fields throws DictionaryError(message) with that line and its number, and a
// DictionaryError that onLine throws gets the line's number too.
template <class OnLine>
void ReadDictionaryLines(const std::string& path, std::u32string_view message, size_t minFields,
                         OnLine&& onLine) {
  StringList lines;
  std::string why;
  if (!ReadLines(path, lines, &why))
    throw DictionaryError::Unreadable(std::u32string(message), path, why);
  int64_t number = 0;
  for (const std::u32string& line : lines) {
    ++number;
    std::vector<std::u32string> fields = SplitText(line, U' ');
    if (fields.size() < minFields)
      throw DictionaryError(std::u32string(message), line, path, number);
    try {
      onLine(line, fields);
    } catch (DictionaryError& e) {
      if (e.LineNumber() == 0) e.SetLineNumber(number);
      throw;
    }
  }
}

}  // namespace kotonel
