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
    : DictionaryError(std::move(message), std::move(line), std::move(file), lineNumber, {}) {}

DictionaryError::DictionaryError(std::u32string message, std::u32string line, std::string file,
                                 int64_t lineNumber, std::string reason)
    : std::runtime_error(reason.empty() ? ToUtf8(message + U"\n\n" + line)
                                        : ToUtf8(Subject(message)) +
                                              "を読み込めませんでした: " + file + ": " + reason),
      message_(std::move(message)),
      line_(std::move(line)),
      file_(std::move(file)),
      lineNumber_(lineNumber),
      reason_(std::move(reason)) {}

DictionaryError DictionaryError::Unreadable(std::u32string message, std::string file,
                                            std::string reason) {
  if (reason.empty()) reason = "Unknown error";
  return DictionaryError(std::move(message), U"", std::move(file), 0, std::move(reason));
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
