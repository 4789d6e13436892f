// The common shape of the dictionary files: lines of fields separated by half-width spaces, each
// line with at least a fixed number of fields, and one message for every fault of the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "util/dictionary_error.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

// Calls onLine(line, fields) for every line of the file at path, in file order. A file that
// cannot be read throws DictionaryError(message) with an empty line; a line with fewer than
// minFields fields throws it with that line.
template <class OnLine>
void ReadDictionaryLines(const std::string& path, std::u32string_view message, size_t minFields,
                         OnLine&& onLine) {
  StringList lines;
  if (!ReadLines(path, lines)) throw DictionaryError(std::u32string(message), U"", path);
  for (const std::u32string& line : lines) {
    std::vector<std::u32string> fields = SplitText(line, U' ');
    if (fields.size() < minFields) throw DictionaryError(std::u32string(message), line, path);
    onLine(line, fields);
  }
}

}  // namespace kotonel
