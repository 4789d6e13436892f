// Command lines as the running instance takes them from its queue: every input line is one
// entry. Each is compared with the command words and taken apart into text, options and a file
// name (files are looked for in a folder of this process that holds a few), and the queue is
// worked off the way the command timer does it.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "fuzz_support.h"
#include "util/commands.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

namespace {

class Target final : public CommandTarget {
 public:
  bool Reading() const override { return reading; }
  void Obey(Command command) override {
    if (command == Command::Play) reading = true;
    if (command == Command::Stop) reading = false;
  }
  bool reading = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    std::string f = fuzz::ScratchFolder();
    WriteFileAtomic(f + "note.txt", "一行目\r\n二行目\r\n");
    WriteFileAtomic(f + "a", std::string("\xff\xfe\x42\x30", 4));
    WriteFileAtomic(f + "sjis.txt", "\x93\xfa\x96\x7b\x8c\xea\r\n");
    return f;
  }();
  if (size == 0) return 0;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  std::deque<MailItem> queue;
  for (const std::u32string& entry : SplitLines(FromUtf8(bytes))) {
    CommandOf(entry, false);
    CommandOf(entry, true);
    ParsedEntry parsed = ParseEntry(entry, folder);
    if (parsed.options.speed && (*parsed.options.speed < 50 || *parsed.options.speed > 300))
      __builtin_trap();
    if (parsed.options.volume && (*parsed.options.volume < 0 || *parsed.options.volume > 60))
      __builtin_trap();
    if (parsed.options.voice && (*parsed.options.voice < 0 || *parsed.options.voice > 7))
      __builtin_trap();
    queue.push_back({entry, folder});
  }
  Target target;
  target.reading = data[0] & 1;
  for (int i = 0; i < 64 && ProcessCommands(queue, target); ++i) {
  }
  return 0;
}
