#include "ui/frm_help.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

#include "ui/prompts.h"
#include "util/encoding.h"
#include "util/files.h"

namespace kotonel {

frmヘルプ::frmヘルプ(QWidget* mainWindow, std::string helpFile)
    : QWidget(mainWindow, Qt::Window), main_(mainWindow), helpFile_(std::move(helpFile)) {
  setObjectName(QStringLiteral("frmヘルプ"));
  resize(700, 560);
  lblタイトル = new QLabel(this);
  lblタイトル->setObjectName(QStringLiteral("lblタイトル"));
  QFont title(QStringLiteral("ＭＳ Ｐゴシック"));
  title.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                     QStringLiteral("sans-serif")});
  title.setPointSize(28);
  title.setBold(true);
  lblタイトル->setFont(title);
  txtHELP = new QPlainTextEdit(this);
  txtHELP->setObjectName(QStringLiteral("txtHELP"));
  txtHELP->setReadOnly(true);
  txtHELP->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont body(QStringLiteral("ＭＳ 明朝"));
  body.setFamilies({QStringLiteral("ＭＳ 明朝"), QStringLiteral("Noto Serif CJK JP"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("serif")});
  body.setPointSize(11);
  txtHELP->setFont(body);
  cmd閉じる = new QPushButton(QStringLiteral("閉じる"), this);
  cmd閉じる->setObjectName(QStringLiteral("cmd閉じる"));
  connect(cmd閉じる, &QPushButton::clicked, this, [this] { hide(); });
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  esc->setContext(Qt::WindowShortcut);
  connect(esc, &QShortcut::activated, this, [this] { hide(); });
  lblタイトル->setAccessibleName(QStringLiteral("見出し"));
  txtHELP->setAccessibleName(QStringLiteral("ヘルプの本文"));
  cmd閉じる->setAccessibleName(QStringLiteral("閉じる (Esc)"));
}

void frmヘルプ::LoadHelp() {
  // The program's name only: an error the main window shows after " - " is no heading.
  QString caption = main_->windowTitle().section(QStringLiteral(" - "), 0, 0);
  setWindowTitle(caption);
  lblタイトル->setText(caption);
  // A long name gets a smaller title.
  if (caption.size() > 14) {
    QFont f = lblタイトル->font();
    f.setPointSize(22);
    lblタイトル->setFont(f);
  }
  txtHELP->clear();
  std::u32string text;
  std::string bytes;
  if (!helpFile_.empty() && ReadWholeFile(helpFile_, bytes))
    for (const std::u32string& line : SplitLines(DecodeTextFile(bytes))) text += U"\n" + line;
  txtHELP->setPlainText(Q(text));
  loaded_ = true;
}

void frmヘルプ::ShowHelp() {
  if (!loaded_) LoadHelp();
  show();
  raise();
  activateWindow();
}

void frmヘルプ::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  lblタイトル->setGeometry(12, 8, width() - 24, 48);
  txtHELP->setGeometry(12, 60, width() - 24, height() - 60 - 44);
  cmd閉じる->setGeometry(width() - 108, height() - 36, 96, 28);
}

void frmヘルプ::closeEvent(QCloseEvent* e) {
  if (isVisible()) {
    e->ignore();
    hide();
    return;
  }
  QWidget::closeEvent(e);
}

}  // namespace kotonel
