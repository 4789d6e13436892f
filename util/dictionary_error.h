// The one fatal error of the program: a dictionary file that cannot be loaded. It carries the
// file's own message, the offending line and where it stands, or, for a file that cannot be
// read at all, the system's reason; the GUI shows the text and exits, kotonel-say prints it and
// exits with status 3.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kotonel {

class DictionaryError : public std::runtime_error {
 public:
  // A line of the file that the loader refuses; lineNumber counts from 1 (0: not known yet).
  DictionaryError(std::u32string message, std::u32string line, std::string file = {},
                  int64_t lineNumber = 0);
  // A file (or the dictionary folder) that cannot be read: reason is the system's text, such as
  // "No such file or directory". message is the file's own message or the name of what failed
  // ("辞書フォルダ").
  static DictionaryError Unreadable(std::u32string message, std::string file, std::string reason);

  const std::u32string& Message() const { return message_; }
  const std::u32string& Line() const { return line_; }
  const std::string& File() const { return file_; }
  int64_t LineNumber() const { return lineNumber_; }
  void SetLineNumber(int64_t lineNumber);
  // Empty unless the file could not be read.
  const std::string& Reason() const { return reason_; }

  // The text the user sees. For a refused line: the message, two line breaks, the line, two
  // line breaks, the file and the line's number. For a file that cannot be read: what could not
  // be read, two line breaks, the file, a line break and the reason.
  std::u32string Text() const;

 private:
  DictionaryError(std::u32string message, std::u32string line, std::string file, int64_t lineNumber,
                  std::string reason);

  std::u32string message_;
  std::u32string line_;
  std::string file_;
  int64_t lineNumber_ = 0;
  std::string reason_;
};

}  // namespace kotonel
