// What the main window asks of the hidden command window that takes command lines from other
// starts of the program. The main window calls it at start, on every Wait of the engine and at
// close; without one the program simply reads what the user types.
#pragma once

#include <string>

namespace kotonel {

class CommandWindow {
 public:
  virtual ~CommandWindow() = default;
  // Whether another instance of the program is already running.
  virtual bool PreviousInstanceRunning() = 0;
  // Loads the window: puts commandLine into its mailbox (first instance) and sets FIRST, which
  // publishes the handle (true) or waits for the running instance (false).
  virtual void Load(const std::u32string& commandLine, bool first) = 0;
  virtual void EnableTimer() = 0;
  // Takes up a command that has arrived; true when one was obeyed.
  virtual bool CMD_NOW() = 0;
  // At close: stops the timer and, in the first instance, removes the handle file.
  virtual void Unload() = 0;
};

}  // namespace kotonel
