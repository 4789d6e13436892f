// kotonel-screenshots DIR [DICTIONARY_FOLDER]: renders the windows of Kotonel with sample content
// and saves them as PNG files in DIR (main.png, settings-1.png … settings-4.png, file.png,
// help.png, main-dark.png). Used by scripts/screenshots.sh under Xvfb to keep the pictures in docs/
// current.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "ui/frm_file.h"
#include "ui/frm_help.h"
#include "ui/frm_main.h"
#include "ui/frm_settings.h"
#include "util/files.h"
#include "util/program.h"

namespace {

bool Save(QWidget* w, const QString& path) {
  QApplication::processEvents();
  bool ok = w->grab().save(path);
  std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", path.toLocal8Bit().constData());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace kotonel;
  if (argc < 2) {
    std::fprintf(stderr, "usage: kotonel-screenshots DIR [DICTIONARY_FOLDER]\n");
    return 2;
  }
  QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir config;
  // A fixed folder, so the picture of the chooser does not change from run to run.
  QDir samples(QDir::tempPath() + QStringLiteral("/文書"));
  samples.removeRecursively();
  QDir().mkpath(samples.path());

  MainSetup setup;
  setup.programName = "Kotonel";
  setup.programFolder = ProgramFolder();
  setup.writableFolder = config.path().toStdString() + "/";
  setup.dictionaryFolder = argc > 2 ? std::string(argv[2]) : DictionaryFolder();
  frmメイン w(std::move(setup));
  if (!w.Load()) return 1;
  w.resize(720, 420);
  w.show();
  w.テキスト()->setPlainText(
      QStringLiteral("吾輩は猫である。名前はまだ無い。\n"
                     "どこで生れたかとんと見当がつかぬ。\n"
                     "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。\n"
                     "\n"
                     "今日の天気は晴れ、最高気温は25度の予報です。"));
  // As while the second line is read: marked, and counted in the status line.
  w.ShowReadingLine(1, 5);
  bool ok = Save(&w, out + QStringLiteral("/main.png"));

  frm設定* s = w.Settings();
  s->WORD()->addItem(QStringLiteral("ことねる\tKotonel\t0"));
  s->WORD()->addItem(QStringLiteral("わがはい\t吾輩\t1"));
  s->WORD()->addItem(QStringLiteral("にゃーにゃー\tニャーニャー\t0"));
  w.M_Set->trigger();
  for (int tab = 0; tab < 4; ++tab) {
    s->tab設定->setCurrentIndex(tab);
    if (tab == 0) {
      // After the dialog's first activation, which empties the word fields.
      QApplication::processEvents();
      s->WORD()->setCurrentRow(1);
    }
    ok &= Save(s, out + QStringLiteral("/settings-%1.png").arg(tab + 1));
  }
  s->hide();

  std::string folder = samples.path().toStdString() + "/";
  for (const char* name : {"あいさつ.txt", "吾輩は猫である.txt", "memo.txt", "録音.wav"})
    WriteFileAtomic(folder + name, "x");
  samples.mkdir(QStringLiteral("朗読"));
  frmファイル* f = w.FileChooser();
  f->SAVE(false);
  f->FILTER(QStringLiteral("*.txt"));
  f->show();
  f->SetFolder(samples.path());
  f->txtファイル->setText(QStringLiteral("あいさつ.txt"));
  ok &= Save(f, out + QStringLiteral("/file.png"));
  f->Cancel();

  w.M_Mokuji_Click();
  w.Help()->resize(700, 560);
  ok &= Save(w.Help(), out + QStringLiteral("/help.png"));
  w.Help()->hide();

  // A dark theme: the icons and the values must stay readable.
  QApplication::setStyle(QStringLiteral("Fusion"));
  QPalette dark;
  dark.setColor(QPalette::Window, QColor(45, 45, 48));
  dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::Button, QColor(60, 60, 64));
  dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
  dark.setColor(QPalette::Highlight, QColor(60, 110, 180));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  QApplication::setPalette(dark);
  w.ShowReadingLine(1, 5);  // the mark follows the new highlight colour
  ok &= Save(&w, out + QStringLiteral("/main-dark.png"));
  samples.removeRecursively();
  return ok ? 0 : 1;
}
