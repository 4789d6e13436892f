#include "ui/frm_dummy.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include "ui/frm_main.h"
#include "ui/frm_settings.h"
#include "ui/prompts.h"

#include <iostream>

namespace kotonel {

frmダミー::frmダミー(std::string writableFolder, std::string programName, Clock& clock)
    : writableFolder_(std::move(writableFolder)),
      programName_(std::move(programName)),
      clock_(clock),
      receiver_(clock) {
  setObjectName(QStringLiteral("frmダミー"));
  if (!writableFolder_.empty() && writableFolder_.back() != '/') writableFolder_ += '/';
  timCMD = new QTimer(this);
  timCMD->setObjectName(QStringLiteral("timCMD"));
  timCMD->setInterval(500);
  connect(timCMD, &QTimer::timeout, this, [this] { Tick(); });
  quit = [](int status) { QCoreApplication::exit(status); };
  pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
  warn = [this](const std::string& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
      CurrentPrompts().Notice(nullptr, QMessageBox::Warning, Q(programName_), Q(text));
    else
      std::cerr << programName_ << ": " << text << std::endl;
  };
}

frmダミー::~frmダミー() {
  // A start that ends early (a dictionary that failed to load) still takes its handle file away.
  if (loaded_) Unload();
}

bool frmダミー::PreviousInstanceRunning() {
  if (decided_ >= 0) return decided_ == 1;
  switch (lock_.Acquire(LockFile())) {
    case InstanceLock::Result::Acquired:
      decided_ = 0;
      break;
    case InstanceLock::Result::Busy:
      decided_ = 1;
      break;
    case InstanceLock::Result::Failed:
      // Nobody can be told apart: a receiver that is there still takes the command line; else
      // this process reads aloud on its own and says why later starts will not find it.
      decided_ = CheckHandleFile(HandleFile()).verdict == HandleFileCheck::Usable ? 1 : 0;
      if (decided_ == 0) lockProblem_ = lock_.Problem();
      break;
  }
  return decided_ == 1;
}

void frmダミー::Load(const std::u32string& commandLine, bool first) {
  loaded_ = true;
  commandLine_ = commandLine;
  // The first instance's own command line is queued like any that arrives later.
  if (first) receiver_.SetMailbox({commandLine, folder});
  FIRST(first);
}

void frmダミー::FIRST(bool first) {
  first_ = first;
  if (first) {
    // Without a mailbox the program still reads what it was started with and what the user
    // types; the user hears once why later starts cannot hand anything over.
    std::string problem = lockProblem_;
    if (!receiver_.Open(HandleFile()))
      problem += (problem.empty() ? "" : "\n") + receiver_.Problem();
    if (!problem.empty() && warn) warn("ほかの起動からのコマンドを受け取れません。\n" + problem);
    return;
  }
  sender_ = std::make_unique<MailboxSender>(HandleFile(), MailItem{commandLine_, folder}, clock_);
  sender_->Start();
  if (sender_->WaitForReceiver(pump)) {
    if (main_) main_->hide();
    timCMD->start();
  }
}

void frmダミー::EnableTimer() {
  timCMD->start();
}

void frmダミー::Unload() {
  timCMD->stop();
  if (first_) {
    // The handle file goes while the lock is still held, so it never removes a newer one.
    receiver_.Close();
    lock_.Release();
  }
  sender_.reset();
  queue_.clear();
  loaded_ = false;
}

bool frmダミー::FileOptionOn() const {
  return main_ && main_->Settings() && main_->Settings()->chkFILE->isChecked();
}

bool frmダミー::CMD_NOW() {
  if (!loaded_ || !first_) return false;
  receiver_.Poll();
  MailItem s = receiver_.Take();
  if (!s.text.empty()) queue_.push_back(std::move(s));
  // A long text going into the window: what arrives is taken in (its sender is answered) and
  // obeyed once the text is whole, as if it had come just after.
  if (!FileOptionOn() || (main_ && main_->IsLoadingText())) return false;
  try {
    return ProcessCommands(queue_, *this);
  } catch (const std::exception& e) {
    // Not modal: a box waiting for a click would hold up every later command.
    if (warn) warn(e.what());
    return false;
  }
}

void frmダミー::Tick() {
  if (!loaded_) return;
  if (!first_) {
    // A sender: hand the command line over, or give up at the deadline; either way it ends.
    MailboxSender::State state = sender_ ? sender_->Tick() : MailboxSender::State::GaveUp;
    if (state == MailboxSender::State::Offering) return;
    // Running out of time stays silent; a reason found early is told.
    if (state == MailboxSender::State::GaveUp && sender_ && !sender_->Problem().empty() && warn)
      warn("コマンドラインを渡せませんでした: " + sender_->Problem());
    CloseProgram(state == MailboxSender::State::Delivered ? 0 : 1);
    return;
  }
  bool handled = CMD_NOW();
  if (handled || !main_ || main_->IsClosing() || main_->IsLoadingText() ||
      main_->chk再生->isChecked() || queue_.empty())
    return;
  MailItem entry = std::move(queue_.front());
  queue_.pop_front();
  std::u32string text = entry.text;
  if (FileOptionOn()) {
    ParsedEntry parsed = ParseEntry(entry.text, entry.folder);
    if (!parsed.fileError.empty() && warn) warn(parsed.fileError);
    ApplyOptions(parsed.options);
    text = std::move(parsed.text);
  }
  main_->ReplaceText(Q(text));
  if (main_->IsClosing()) return;
  // The reading runs inside this tick; commands keep arriving through the engine's Wait.
  main_->chk再生->setChecked(true);
}

void frmダミー::ApplyOptions(const EntryOptions& options) {
  if (options.speed) main_->sld速度->setValue(*options.speed);
  if (options.volume) main_->sld音量->setValue(*options.volume);
  if (options.voice && main_->Settings())
    main_->Settings()->opt声色[*options.voice]->setChecked(true);
  if (options.recordPath && main_->メイン()) {
    main_->メイン()->RECORD(true);
    main_->メイン()->PATH(*options.recordPath);
  } else if (options.recordPathMissing && warn) {
    warn("録音するファイル名がありません。「/r:」のあとのファイル名には「/」を使えません。");
  }
}

bool frmダミー::Reading() const {
  return main_ && main_->chk再生->isChecked();
}

void frmダミー::Obey(Command command) {
  if (!main_) return;
  switch (command) {
    case Command::Play:
      main_->chk再生->setChecked(true);
      break;
    case Command::Stop:
      main_->chk中止->setChecked(true);
      break;
    case Command::Pause:
      main_->chk停止->setChecked(true);
      break;
    case Command::Resume:
      main_->chk停止->setChecked(false);
      break;
    case Command::Next:
      main_->chk次行->setChecked(true);
      break;
    case Command::Previous:
      main_->chk前行->setChecked(true);
      break;
    case Command::Close:
    case Command::Close2:
      timCMD->stop();
      // Settings are saved at closing only while the main window shows: "/close" leaves them,
      // "/close2" keeps them.
      if (command == Command::Close)
        main_->hide();
      else
        main_->show();
      CloseProgram();
      break;
    case Command::Clear:
    case Command::None:
      break;
  }
}

void frmダミー::CloseProgram(int status) {
  timCMD->stop();
  if (main_) main_->M_QUIT_Click();
  if (quit && (!main_ || main_->IsClosing())) quit(status);
}

}  // namespace kotonel
