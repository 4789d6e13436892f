// The entries of the command queue: control commands, and text to read with its options and
// text file. The windows obey what is decided here; nothing in this file knows about them.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "util/mailbox.h"

namespace kotonel {

enum class Command { None, Play, Stop, Pause, Resume, Next, Previous, Clear, Close, Close2 };

// The command an entry is, trimmed of blanks and compared without letter case against the whole
// command words ("/play" ... "/close2"), or those followed by "_now" when now is true.
Command CommandOf(std::u32string_view entry, bool now);

// The numeric value of an option: the decimal number at the start, blanks skipped, 0 when there
// is none. Not rounded.
double NumericValue(std::u32string_view text);

// The options of an entry, already fitted to what the controls take.
struct EntryOptions {
  std::optional<int> speed;               // 50 to 300; a value outside is clamped
  std::optional<int> volume;              // 0 to 60; a value outside is clamped
  std::optional<int> voice;               // 0 to 7; a number outside is ignored
  std::optional<std::string> recordPath;  // the wave file to record the reading into
  // "/r:" without a file name, as when the path held a "/" that cut it off: nothing recorded.
  bool recordPathMissing = false;
};

struct ParsedEntry {
  std::u32string text;  // the "/w:" text, then the file's lines, each ending in a line feed
  EntryOptions options;
  std::string fileName;  // the text file named, resolved; empty when none
  // Why the file named could not be read, for the user ("" when it was read or none was named).
  std::string fileError;
};

// Takes an entry apart: entry = [file name] { "/" option } [ "/w:" text ]. File names and the
// recording path are taken relative to folder (the sender's working folder) unless absolute.
ParsedEntry ParseEntry(std::u32string_view entry, const std::string& folder);

// What obeying a command does to the windows.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  // Whether a reading is under way (the play button is pressed).
  virtual bool Reading() const = 0;
  // Obeys one command other than Clear. The entry is already off the queue, so the target may
  // run a whole reading (and this function again, nested) inside.
  virtual void Obey(Command command) = 0;
};

// Obeys the command at the head of the queue, or else a "_now" command at its tail. True when
// a command was obeyed. Text entries are left for the reading loop.
bool ProcessCommands(std::deque<MailItem>& queue, CommandTarget& target);

}  // namespace kotonel
