#include "util/commands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

namespace {

bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t';
}

std::u32string_view TrimEnd(std::u32string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u32string_view Trim(std::u32string_view text) {
  text = TrimEnd(text);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::u32string AsciiLower(std::u32string_view text) {
  std::u32string out(text);
  for (char32_t& c : out)
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
  return out;
}

std::string Resolve(std::u32string_view name, const std::string& folder) {
  std::string path = ToUtf8(name);
  if (!path.empty() && path[0] != '/' && !folder.empty()) path = folder + path;
  return path;
}

struct Word {
  std::u32string_view text;
  Command command;
};

// In the order they are compared; the first match decides.
constexpr Word kWords[] = {
    {U"/play", Command::Play},     {U"/stop", Command::Stop},   {U"/pause", Command::Pause},
    {U"/resume", Command::Resume}, {U"/next", Command::Next},   {U"/previous", Command::Previous},
    {U"/clear", Command::Clear},   {U"/close", Command::Close}, {U"/close2", Command::Close2},
};

}  // namespace

Command CommandOf(std::u32string_view entry, bool now) {
  std::u32string key = AsciiLower(Trim(entry));
  for (const Word& word : kWords) {
    std::u32string expected(word.text);
    if (now) expected += U"_now";
    if (key == expected) return word.command;
  }
  return Command::None;
}

double NumericValue(std::u32string_view text) {
  double value = 0;
  double scale = 0;  // > 0 after the decimal point
  bool negative = false;
  bool started = false;
  for (char32_t c : text) {
    if (IsBlank(c)) continue;
    if (!started && (c == U'-' || c == U'+')) {
      negative = c == U'-';
      started = true;
    } else if (c >= U'0' && c <= U'9') {
      started = true;
      if (scale > 0) {
        value += (c - U'0') * scale;
        scale /= 10;
      } else {
        value = value * 10 + (c - U'0');
      }
    } else if (c == U'.' && scale == 0) {
      started = true;
      scale = 0.1;
    } else {
      break;
    }
  }
  return negative ? -value : value;
}

ParsedEntry ParseEntry(std::u32string_view entry, const std::string& folder) {
  ParsedEntry parsed;
  std::u32string lower = AsciiLower(entry);
  std::u32string_view rest = entry;
  size_t at = lower.find(U"/w:");
  if (at != std::u32string::npos) {
    std::u32string_view w = entry.substr(at + 3);
    if (!w.empty()) {
      parsed.text = w;
      parsed.text += U'\n';
    }
    rest = entry.substr(0, at);
  }

  std::vector<std::u32string> pieces = SplitText(rest, U'/');
  for (size_t i = 1; i < pieces.size(); ++i) {
    const std::u32string& piece = pieces[i];
    std::u32string key = AsciiLower(std::u32string_view(piece).substr(0, 2));
    std::u32string_view value =
        std::u32string_view(piece).substr(std::min<size_t>(2, piece.size()));
    EntryOptions& o = parsed.options;
    if (key == U"s:") {
      o.speed = static_cast<int>(RoundHalfEven(std::clamp(NumericValue(value), 50.0, 300.0)));
    } else if (key == U"v:") {
      o.volume = static_cast<int>(RoundHalfEven(std::clamp(NumericValue(value), 0.0, 60.0)));
    } else if (key == U"t:") {
      double voice = NumericValue(value);
      if (voice > -1 && voice < 8) {
        int64_t index = RoundHalfEven(voice);
        if (index >= 0 && index <= 7) o.voice = static_cast<int>(index);
      }
    } else if (key == U"r:") {
      // Blanks before the next option separate it; they are not part of the path. An empty
      // path must not switch recording on.
      if (Trim(value).empty()) {
        o.recordPath.reset();
        o.recordPathMissing = true;
      } else {
        o.recordPath = Resolve(TrimEnd(value), folder);
        o.recordPathMissing = false;
      }
    }
  }

  std::u32string_view name = TrimEnd(pieces.empty() ? std::u32string_view() : pieces[0]);
  if (!Trim(name).empty()) {
    parsed.fileName = Resolve(name, folder);
    std::string data, why;
    // Only a plain file (the reader refuses pipes and folders); a failure is told, not hidden.
    if (ReadWholeFile(parsed.fileName, data, &why)) {
      for (const std::u32string& line : SplitLines(DecodeTextFile(data))) {
        parsed.text += line;
        parsed.text += U'\n';
      }
    } else if (!FileExists(parsed.fileName)) {
      parsed.fileError = "ファイルが見つかりません。\n" + parsed.fileName;
    } else {
      parsed.fileError = "ファイルを読み込めませんでした。\n" + parsed.fileName + "\n" + why;
    }
  }
  return parsed;
}

bool ProcessCommands(std::deque<MailItem>& queue, CommandTarget& target) {
  for (int pass = 0; pass < 2; ++pass) {
    if (queue.empty()) return false;
    bool head = pass == 0;
    Command command = CommandOf(head ? queue.front().text : queue.back().text, !head);
    if (command == Command::None) continue;
    // A plain close waits for the reading to end; its "_now" form does not.
    if (head && target.Reading() && (command == Command::Close || command == Command::Close2))
      continue;
    if (command == Command::Clear) {
      queue.clear();
      return true;
    }
    // Off the queue before obeying: obeying may run a reading that takes up more commands.
    if (head)
      queue.pop_front();
    else
      queue.pop_back();
    target.Obey(command);
    return true;
  }
  return false;
}

}  // namespace kotonel
