// A main window on a virtual clock, a virtual audio device and a fake voice library, in its own
// temporary folders, with message boxes and modal dialogs answered by the test.
#pragma once

#include <QDialog>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/virtual_audio_device.h"
#include "support/fakes.h"
#include "ui/command_window.h"
#include "ui/frm_main.h"
#include "ui/prompts.h"
#include "util/clock.h"

namespace kotonel::test {

struct Shown {
  QMessageBox::Icon icon;
  QString title;
  QString text;
};

class TestPrompts final : public Prompts {
 public:
  TestPrompts() { SetPrompts(this); }
  ~TestPrompts() override { SetPrompts(nullptr); }
  void Message(QWidget*, QMessageBox::Icon icon, const QString& title,
               const QString& text) override {
    messages.push_back({icon, title, text});
  }
  // Recorded like any message; notices counts those shown without waiting for the user.
  void Notice(QWidget*, QMessageBox::Icon icon, const QString& title,
              const QString& text) override {
    messages.push_back({icon, title, text});
    ++notices;
  }
  void Beep() override { ++beeps; }
  bool Ask(QWidget*, const QString& title, const QString& text) override {
    questions.push_back({QMessageBox::Question, title, text});
    return answer;
  }
  void ShowModal(QDialog& dialog) override {
    ++modals;
    dialog.show();
    if (onModal) onModal(dialog);
  }
  std::vector<Shown> messages;
  std::vector<Shown> questions;
  bool answer = true;  // the answer to every question
  int beeps = 0;
  int notices = 0;
  int modals = 0;
  std::function<void(QDialog&)> onModal;
};

class FakeCommandWindow final : public CommandWindow {
 public:
  bool PreviousInstanceRunning() override { return previous; }
  void Load(const std::u32string& commandLine, bool first) override {
    loadedWith = commandLine;
    loadedFirst = first;
    ++loads;
  }
  void EnableTimer() override { ++timers; }
  bool CMD_NOW() override {
    ++waits;
    return false;
  }
  void Unload() override { ++unloads; }
  bool previous = false;
  std::u32string loadedWith;
  bool loadedFirst = false;
  int loads = 0, timers = 0, waits = 0, unloads = 0;
};

class Harness {
 public:
  // Folders and files are created; the window is made by Start().
  Harness();
  ~Harness();

  // Makes and loads the window; show it unless told not to. Phonetic mode unless told.
  frmメイン& Start(bool show = true, bool phonetic = true);
  // Reads text: sets it and presses play; returns when the reading has ended.
  void Read(const QString& text);
  // The phonetic strings the device was given, in order.
  std::vector<std::u32string> Spoken() const;
  // Runs action once, at the first sleep of the engine at or after ms of virtual time since
  // the reading began.
  void At(uint64_t ms, std::function<void()> action);

  std::string ProgramFolder() const { return program.path().toStdString() + "/"; }
  std::string WritableFolder() const { return writable.path().toStdString() + "/"; }
  std::string SettingsPath() const { return WritableFolder() + "Kotonel.ini"; }

  // The engine's small fixture dictionaries.
  static std::string DictionaryFolder() { return std::string(KOTONEL_TEST_DATA) + "engine/"; }

  QTemporaryDir program, writable;
  std::string writableOverride;  // when set, used instead of the writable folder
  VirtualClock clock;
  TestPrompts prompts;
  FakeCommandWindow commands;
  FakeVoiceLibrary* voices = nullptr;
  VirtualAudioDevice* device = nullptr;
  std::unique_ptr<frmメイン> window;
  std::vector<std::string> failOn;  // UTF-8 strings the voice library refuses

 private:
  struct Timed {
    uint64_t at;
    std::function<void()> action;
    bool done = false;
  };
  std::vector<std::shared_ptr<Timed>> timed_;
  uint64_t readStart_ = 0;
};

}  // namespace kotonel::test
