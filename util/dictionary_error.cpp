#include "util/dictionary_error.h"

#include "util/encoding.h"

namespace kotonel {

DictionaryError::DictionaryError(std::u32string message, std::u32string line, std::string file)
    : std::runtime_error(ToUtf8(message + U"\n\n" + line)),
      message_(std::move(message)),
      line_(std::move(line)),
      file_(std::move(file)) {}

std::u32string DictionaryError::Text() const {
  return message_ + U"\r\n\r\n" + line_;
}

}  // namespace kotonel
