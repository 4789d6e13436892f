// The one fatal error of the program: a dictionary file that cannot be loaded. It carries the
// file's own message and the offending line; the GUI shows both and exits, kotonel-say prints
// them and exits with status 3.
#pragma once

#include <stdexcept>
#include <string>

namespace kotonel {

class DictionaryError : public std::runtime_error {
 public:
  DictionaryError(std::u32string message, std::u32string line, std::string file = {});

  const std::u32string& Message() const { return message_; }
  const std::u32string& Line() const { return line_; }
  const std::string& File() const { return file_; }
  // The text the user sees: the message, two line breaks, the offending line.
  std::u32string Text() const;

 private:
  std::u32string message_;
  std::u32string line_;
  std::string file_;
};

}  // namespace kotonel
