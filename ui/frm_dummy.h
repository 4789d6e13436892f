// The hidden command window: the command queue of the reading instance, and the hand-over of a
// later start's command line. It is never shown; the mailbox it stands for is a socket (see
// util/mailbox.h), its timer timCMD and the engine's Wait drive it.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "ui/command_window.h"
#include "util/clock.h"
#include "util/commands.h"
#include "util/mailbox.h"

class QTimer;

namespace kotonel {

class frmメイン;

class frmダミー final : public QObject, public CommandWindow, private CommandTarget {
 public:
  // writableFolder (with '/') holds the lock file and the handle file, named after the program.
  frmダミー(std::string writableFolder, std::string programName, Clock& clock = SystemClock());
  ~frmダミー() override;

  // The window the commands steer; set before the main window loads.
  void SetMain(frmメイン* main) { main_ = main; }

  // CommandWindow.
  bool PreviousInstanceRunning() override;
  void Load(const std::u32string& commandLine, bool first) override;
  void EnableTimer() override;
  bool CMD_NOW() override;
  void Unload() override;

  // Publishes the mailbox (true) or waits for the running instance's handle file (false).
  void FIRST(bool first);
  // One tick of timCMD.
  void Tick();

  QTimer* timCMD = nullptr;
  const std::deque<MailItem>& Queue() const { return queue_; }
  std::string HandleFile() const { return writableFolder_ + programName_ + ".hwnd"; }
  std::string LockFile() const { return writableFolder_ + programName_ + ".lock"; }
  bool IsFirst() const { return first_; }
  // The working folder the own command line's file names are taken from.
  std::string folder = CurrentFolder();
  // Ends the event loop with an exit status once the main window has closed; the window alone
  // cannot, when it was never shown or was hidden before closing.
  std::function<void(int status)> quit;
  // Runs while the sender waits for the handle file.
  MessagePump pump;
  // Tells the user something went wrong without stopping anything: a message box that waits for
  // nobody in the reading instance, standard error in a sender (which has no window).
  std::function<void(const std::string& text)> warn;

 private:
  bool Reading() const override;
  void Obey(Command command) override;
  bool FileOptionOn() const;
  void ApplyOptions(const EntryOptions& options);
  // status 1 tells a script that its command line was not handed over.
  void CloseProgram(int status = 0);

  std::string writableFolder_;
  std::string programName_;
  Clock& clock_;
  frmメイン* main_ = nullptr;
  bool first_ = false;
  bool loaded_ = false;
  InstanceLock lock_;
  MailboxReceiver receiver_;
  std::unique_ptr<MailboxSender> sender_;
  int decided_ = -1;  // PreviousInstanceRunning's answer, once made
  std::string lockProblem_;
  std::u32string commandLine_;
  std::deque<MailItem> queue_;
};

}  // namespace kotonel
