// The settings file as the settings dialog reads it at start: the input is the whole file (any
// header, the older format, migration; Shift_JIS or UTF-8, with or without BOM), applied to the
// real dialog's controls on Qt's offscreen platform. Message boxes are answered silently.
//
// What was read must survive being saved: the file written after the load, read back, applies
// without a single message and is written again byte for byte the same.
#include <QApplication>
#include <QListWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "ui/command_window.h"
#include "ui/frm_main.h"
#include "ui/frm_settings.h"
#include "ui/prompts.h"
#include "util/encoding.h"
#include "util/files.h"

using namespace kotonel;

namespace {

class QuietPrompts final : public Prompts {
 public:
  void Message(QWidget*, QMessageBox::Icon, const QString&, const QString&) override { ++messages; }
  void Notice(QWidget*, QMessageBox::Icon, const QString&, const QString&) override { ++messages; }
  int messages = 0;
  void Beep() override {}
  void ShowModal(QDialog&) override {}
  bool Ask(QWidget*, const QString&, const QString&) override { return false; }
};

class NoCommands final : public CommandWindow {
 public:
  bool PreviousInstanceRunning() override { return false; }
  void Load(const std::u32string&, bool) override {}
  void EnableTimer() override {}
  bool CMD_NOW() override { return false; }
  void Unload() override {}
};

struct Window {
  Window() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
    SetPrompts(&prompts);
    folder = fuzz::ScratchFolder();
    MainSetup setup;
    setup.programFolder = folder;
    setup.writableFolder = folder;
    setup.dictionaryFolder = fuzz::BaseDictionaryFolder();
    setup.commands = &commands;
    setup.makeEngine = [this](MessagePump pump) {
      return fuzz::MakeSilentEngine(fuzz::BaseDictionaryFolder(), clock, std::move(pump));
    };
    window = std::make_unique<frmメイン>(std::move(setup));
    if (!window->Load()) __builtin_trap();
  }
  int argc = 1;
  char name[8] = "Kotonel";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  QuietPrompts prompts;
  NoCommands commands;
  VirtualClock clock;
  std::string folder;
  std::unique_ptr<frmメイン> window;
};

}  // namespace

// Fontconfig keeps its font caches to the end of the process on purpose; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Window* w = new Window;  // lives to the end: Qt must not be torn down at exit
  frm設定& settings = *w->window->Settings();
  // Each input starts from an empty word list, or the list grows from input to input.
  settings.WORD()->clear();
  if (!WriteFileAtomic(settings.SettingsPath(),
                       std::string(reinterpret_cast<const char*>(data), size)))
    return 0;
  settings.LoadSettings();

  auto save = [&settings] {
    StringList lines{FromUtf8(w->window->ProgramName()) + U"\t3"};
    if (!settings.Setting().設定書込(&settings, settings.SettingsPath(), lines)) __builtin_trap();
    std::string bytes;
    if (!ReadWholeFile(settings.SettingsPath(), bytes)) __builtin_trap();
    return bytes;
  };
  std::string first = save();
  settings.WORD()->clear();
  w->prompts.messages = 0;
  settings.LoadSettings();
  if (w->prompts.messages != 0) __builtin_trap();  // our own file had a line we cannot read
  if (save() != first) __builtin_trap();           // something changed on the way
  return 0;
}
