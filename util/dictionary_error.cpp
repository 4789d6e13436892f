#include "util/dictionary_error.h"

#include "util/encoding.h"

namespace kotonel {

namespace {

// "英語ファイル" of "英語ファイルの以下の行でエラーが発生しました。": what the message is about.
std::u32string Subject(const std::u32string& message) {
  size_t at = message.find(U"の以下の行");
  return at == std::u32string::npos ? message : message.substr(0, at);
}

}  // namespace

DictionaryError::DictionaryError(std::u32string message, std::u32string line, std::string file,
                                 int64_t lineNumber)
    : std::runtime_error(ToUtf8(message + U"\n\n" + line)),
      message_(std::move(message)),
      line_(std::move(line)),
      file_(std::move(file)),
      lineNumber_(lineNumber) {}

DictionaryError DictionaryError::Unreadable(std::u32string message, std::string file,
                                            std::string reason) {
  DictionaryError e(std::move(message), U"", std::move(file));
  e.reason_ = reason.empty() ? std::string("Unknown error") : std::move(reason);
  return e;
}

void DictionaryError::SetLineNumber(int64_t lineNumber) {
  lineNumber_ = lineNumber;
}

std::u32string DictionaryError::Text() const {
  if (!reason_.empty())
    return Subject(message_) + U"を読み込めませんでした。\r\n\r\n" + FromUtf8(file_) + U"\r\n" +
           FromUtf8(reason_);
  std::u32string text = message_ + U"\r\n\r\n" + line_;
  if (!file_.empty()) {
    text += U"\r\n\r\n" + FromUtf8(file_);
    if (lineNumber_ > 0) text += U" " + U32(std::to_string(lineNumber_)) + U"行目";
  }
  return text;
}

}  // namespace kotonel
