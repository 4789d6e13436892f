// Kotonel: the desktop reader. Decides first whether another instance is reading already; only
// the instance that shows the window builds the window system's application, so a later start
// hands its command line over from ssh, cron or a service without any display. SIGTERM, SIGINT
// and SIGHUP close the window as the menu's "終了(&X)" does, so that a desktop session that
// ends, a Ctrl+C or a terminal that is closed keeps the settings.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

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

// Installed before anything is loaded: a signal during a slow start waits in the pipe until the
// window can close properly.
void CatchClosingSignals() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kotonel;

  // Every argument is ours: Qt sees only the program's name, so "-style", "-reverse" or
  // "-session" in a text to read stay text.
  static int qtArgc = 1;
  static char* qtArgv[] = {argv[0], nullptr};

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
  if (commands.PreviousInstanceRunning()) {
    // A later start: it only hands its command line over, with no window and no display.
    if (setup.commandLine.empty()) return 0;
    QCoreApplication app(qtArgc, qtArgv);
    commands.Load(setup.commandLine, false);
    commands.EnableTimer();
    return app.exec();
  }

  CatchClosingSignals();
  QApplication app(qtArgc, qtArgv);
  setup.commands = &commands;
  frmメイン window(std::move(setup));
  commands.SetMain(&window);

  bool loaded = false, closeWhenLoaded = false;
  if (signalPipe[0] >= 0) {
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&] {
      char byte;
      [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &byte, 1);
      if (loaded) {
        window.M_QUIT_Click();
        return;
      }
      // A message box during the start runs the event loop; the window is not whole yet. The
      // box goes, so the start can end (a broken dictionary) or the window close once loaded.
      closeWhenLoaded = true;
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
  }
  if (!window.Load()) return window.exitCode;
  loaded = true;

  if (!window.IsSecondInstance()) window.show();
  if (closeWhenLoaded) QTimer::singleShot(0, &window, [&window] { window.M_QUIT_Click(); });
  return app.exec();
}
