// Kotonel: the desktop reader. Starts the main window; SIGTERM and SIGINT close it as the menu's
// "終了(&X)" does, so that a desktop session that ends or a Ctrl+C in a terminal keeps the
// settings.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "ui/frm_dummy.h"
#include "ui/frm_main.h"
#include "util/encoding.h"
#include "util/program.h"

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  char byte = 1;
  // Only async-signal-safe work here; the window closes from the event loop.
  [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace kotonel;

  MainSetup setup;
  setup.programName = ProgramName();
  // readme.txt and font.ini sit with the dictionaries: beside the program or in share/kotonel/.
  setup.programFolder = DataFolder();
  setup.writableFolder = WritableFolder();
  setup.dictionaryFolder = DictionaryFolder();
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  setup.commandLine = FromUtf8(line);

  // The command window outlives the main window: it takes the handle file away last.
  frmダミー commands(setup.writableFolder, setup.programName);
  setup.commands = &commands;
  frmメイン window(std::move(setup));
  commands.SetMain(&window);
  if (!window.Load()) return window.exitCode;

  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&window] {
      char byte;
      [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
      window.M_QUIT_Click();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
  }

  if (!window.IsSecondInstance()) window.show();
  return app.exec();
}
