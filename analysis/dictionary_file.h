// The common shape of the dictionary files: lines of fields separated by half-width spaces, each
// line with at least a fixed number of fields, and one message for every fault of the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {

// Cuts text at every separator (consecutive separators give empty pieces).
inline void SplitAt(std::u32string_view text, char32_t separator,
                    std::vector<std::u32string_view>& pieces) {
  pieces.clear();
  for (size_t start = 0;;) {
    size_t p = text.find(separator, start);
    if (p == std::u32string_view::npos) {
      pieces.push_back(text.substr(start));
      return;
    }
    pieces.push_back(text.substr(start, p - start));
    start = p + 1;
  }
}

// Cuts a line into its fields at every space.
inline void SplitFields(std::u32string_view line, std::vector<std::u32string_view>& fields) {
  SplitAt(line, U' ', fields);
}

// Reads the file at path into text, decoded from code page 932 in one pass, and calls
// onLine(line, fields) for every line in file order, with the line and its fields as views
// into text (which the caller may keep, so that a table can point into it). A line ends at
// CR LF, a lone CR or a lone LF; a last line without an ending still counts, a final line
// ending adds no empty line. Fields are cut at every space, so consecutive spaces give empty
// fields. A file that cannot be read throws DictionaryError::Unreadable with the system's
// reason; a line with fewer than minFields fields throws DictionaryError(message) with that
// line and its number, and a DictionaryError that onLine throws gets the line's number too.
template <class OnLine>
void ReadDictionaryText(const std::string& path, std::u32string_view message, size_t minFields,
                        std::u32string& text, OnLine&& onLine) {
  std::string bytes;
  std::string why;
  if (!ReadWholeFile(path, bytes, &why))
    throw DictionaryError::Unreadable(std::u32string(message), path, why);
  text = FromCp932(bytes);
  std::string().swap(bytes);
  const std::u32string_view all(text);
  std::vector<std::u32string_view> fields;
  int64_t number = 0;
  auto take = [&](std::u32string_view line) {
    ++number;
    SplitFields(line, fields);
    if (fields.size() < minFields)
      throw DictionaryError(std::u32string(message), std::u32string(line), path, number);
    try {
      onLine(line, fields);
    } catch (DictionaryError& e) {
      if (e.LineNumber() == 0) e.SetLineNumber(number);
      throw;
    }
  };
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] != U'\r' && all[i] != U'\n') continue;
    take(all.substr(start, i - start));
    if (all[i] == U'\r' && i + 1 < all.size() && all[i + 1] == U'\n') ++i;
    start = i + 1;
  }
  if (start < all.size()) take(all.substr(start));
}

// As ReadDictionaryText, for loaders that keep copies of the fields: onLine(line, fields) gets
// the line as text and the fields as a list of texts, which it may move from.
template <class OnLine>
void ReadDictionaryLines(const std::string& path, std::u32string_view message, size_t minFields,
                         OnLine&& onLine) {
  std::u32string text;
  std::u32string line;
  // Kept from line to line, so that the field texts reuse what they have already taken.
  std::vector<std::u32string> fields;
  ReadDictionaryText(path, message, minFields, text,
                     [&](std::u32string_view view, const std::vector<std::u32string_view>& cut) {
                       line.assign(view);
                       fields.resize(cut.size());
                       for (size_t k = 0; k < cut.size(); ++k) fields[k].assign(cut[k]);
                       onLine(static_cast<const std::u32string&>(line), fields);
                     });
}

}  // namespace kotonel
