#include "ui/frm_main.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "analysis/Separate.h"
#include "ui/command_window.h"
#include "ui/frm_file.h"
#include "ui/frm_help.h"
#include "ui/frm_settings.h"
#include "ui/prompts.h"
#include "util/dictionary_error.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/program.h"
#include "util/strings.h"
#include "util/width.h"

#ifndef KOTONEL_VERSION_MAJOR
#define KOTONEL_VERSION_MAJOR 1
#define KOTONEL_VERSION_MINOR 56
#endif

namespace kotonel {

namespace {

constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 2;
constexpr int kIconSize = 18;

// The icons are drawn in the colour of the window's text, so that they show under any theme.
QPixmap SpeakerIcon(const QColor& ink) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  QPolygonF body;
  body << QPointF(2, 6) << QPointF(6, 6) << QPointF(10, 2) << QPointF(10, 16) << QPointF(6, 12)
       << QPointF(2, 12);
  p.drawPolygon(body);
  p.setPen(QPen(ink, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(7, 5, 6, 8), -60 * 16, 120 * 16);
  p.drawArc(QRectF(6, 2, 10, 14), -60 * 16, 120 * 16);
  return pm;
}

QPixmap SpeedIcon(const QColor& ink) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(ink, 1.6));
  p.drawEllipse(QRectF(2, 3, 14, 14));
  p.drawLine(QPointF(9, 10), QPointF(9, 5.5));
  p.drawLine(QPointF(9, 10), QPointF(12.5, 12));
  p.drawLine(QPointF(7, 1.2), QPointF(11, 1.2));
  return pm;
}

// Room for a slider's value ("300") next to it.
constexpr int kValueWidth = 30;
// The narrowest a slider gets before the window stops shrinking.
constexpr int kMinSliderWidth = 40;
// Where the sliders' row begins beside the six buttons, and how wide it gets at the least.
constexpr int kButtonsWidth = kButtonGap + 6 * (kButtonWidth + kButtonGap);
constexpr int kSlidersLeft = kButtonsWidth + 4;
constexpr int kSlidersWidth = 2 * (kIconSize + 8 + kValueWidth) + 2 * kMinSliderWidth;

// Lines of a text as the reading loop sees them: split at CR LF or LF; a text without a line
// end is one line, an empty text one empty line, a text ending in a line end gets an empty
// last line.
std::vector<std::u32string> SplitReadingLines(const std::u32string& text) {
  return SplitText(ReplaceAll(text, U"\r\n", U"\n"), U'\n');
}

std::u32string Trimmed(const std::u32string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == U' ' || s[a] == U'\t')) ++a;
  while (b > a && (s[b - 1] == U' ' || s[b - 1] == U'\t')) --b;
  return s.substr(a, b - a);
}

}  // namespace

char32_t TextCompareForm(char32_t c) {
  char32_t w = ToWide(std::u32string(1, c))[0];
  w = ToHiragana(std::u32string(1, w))[0];
  if (w >= 0xFF21 && w <= 0xFF3A) w += 0x20;  // full-width capitals
  return w;
}

// ---------------------------------------------------------------------------------------------
// The text box.

namespace {

// Marks a block that goes on the line of the block before it (a cut made only for display).
constexpr int kContinuesLine = QTextFormat::UserProperty + 1;

// The characters at which QTextCursor::insertText starts a new block.
bool IsBlockBreak(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
         c == QChar(0xFDD1);
}

// Where to cut a line for display at or before limit, but after from: after a sentence end
// when one is in the second half, else after a comma or blank, else at limit (never inside a
// surrogate pair).
qsizetype DisplayCut(const QString& text, qsizetype from, qsizetype limit) {
  qsizetype half = from + (limit - from) / 2;
  auto endsSentence = [](QChar c) {
    return c == u'。' || c == u'．' || c == u'！' || c == u'？' || c == u'!' || c == u'?' ||
           c == u'.';
  };
  auto pauses = [](QChar c) {
    return c == u'、' || c == u'，' || c == u',' || c == u' ' || c == u'　' || c == u'\t';
  };
  for (qsizetype at = limit; at > half; --at)
    if (endsSentence(text[at - 1])) return at;
  for (qsizetype at = limit; at > half; --at)
    if (pauses(text[at - 1])) return at;
  qsizetype at = limit;
  if (text[at - 1].isHighSurrogate()) --at;
  return at;
}

}  // namespace

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  // Typing, pasting or opening a file is not placing the cursor to read from.
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    placed_ = false;
    linesKnown_ = false;
  });
}

bool TextBox::Continues(const QTextBlock& block) {
  return block.blockNumber() > 0 && block.blockFormat().boolProperty(kContinuesLine);
}

const std::vector<int>& TextBox::LineStarts() const {
  if (!linesKnown_) {
    lineStarts_.clear();
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
      if (!Continues(b)) lineStarts_.push_back(b.blockNumber());
    linesKnown_ = true;
  }
  return lineStarts_;
}

int TextBox::LineOfBlock(int blockNumber) const {
  const std::vector<int>& starts = LineStarts();
  auto after = std::upper_bound(starts.begin(), starts.end(), blockNumber);
  return std::max(0, static_cast<int>(after - starts.begin()) - 1);
}

int TextBox::LineCount() const {
  return static_cast<int>(LineStarts().size());
}

QString TextBox::PlainText(int from, int to) const {
  QTextDocument* doc = document();
  int end = doc->characterCount() - 1;
  if (to < 0 || to > end) to = end;
  from = std::clamp(from, 0, to);
  QString text;
  if (from == 0 && to == end) {
    text = doc->toPlainText();
  } else {
    QTextCursor range(doc);
    range.setPosition(from);
    range.setPosition(to, QTextCursor::KeepAnchor);
    text = range.selection().toPlainText();
  }
  const std::vector<int>& starts = LineStarts();
  if (static_cast<int>(starts.size()) == doc->blockCount()) return text;  // no display cuts
  // Each block separator is one character of the plain text; the ones before continuing
  // blocks go.
  QString joined;
  joined.reserve(text.size());
  qsizetype copied = 0;
  for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() <= to; b = b.next()) {
    qsizetype separator = b.position() - 1 - from;
    if (!Continues(b) || separator < copied || separator >= text.size()) continue;
    joined += QStringView(text).mid(copied, separator - copied);
    copied = separator + 1;
  }
  joined += QStringView(text).mid(copied);
  return joined;
}

bool TextBox::InsertText(QTextCursor& cursor, const QString& text) {
  QTextBlockFormat hard = cursor.blockFormat();
  hard.clearProperty(kContinuesLine);
  QTextBlockFormat soft = hard;
  soft.setProperty(kContinuesLine, true);
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  // New blocks made by insertText take the format of the block the cursor is in: a line end
  // may go in as text only while that block does not continue a line.
  bool inHardBlock = !cursor.blockFormat().boolProperty(kContinuesLine);
  const qsizetype n = text.size();
  qsizetype pending = 0;  // text from here on is not in yet
  qsizetype sinceTurn = 0;
  bool carryOn = true;
  auto flush = [&](qsizetype to) {
    if (to > pending) cursor.insertText(text.mid(pending, to - pending));
    sinceTurn += to - pending;
    pending = to;
  };
  // Lets the window run, between two whole pieces, within the same undo step.
  // The box is not painted meanwhile: laying out and drawing its first lines again for every
  // chunk would cost more than putting the text in.
  const bool painted = updatesEnabled();
  auto turn = [&](qsizetype done) {
    if (sinceTurn < kChunk || !onProgress) return;
    sinceTurn = 0;
    if (updatesEnabled()) setUpdatesEnabled(false);
    cursor.endEditBlock();
    carryOn = onProgress(done, n);
    cursor.joinPreviousEditBlock();
  };
  qsizetype lineStart = 0;
  while (lineStart <= n && carryOn) {
    qsizetype lineEnd = lineStart;
    while (lineEnd < n && !IsBlockBreak(text[lineEnd])) ++lineEnd;
    qsizetype next = lineEnd;  // after the line end
    if (next < n) next += (text[next] == u'\r' && next + 1 < n && text[next + 1] == u'\n') ? 2 : 1;
    if (lineEnd - lineStart > kLongLine) {
      qsizetype at = lineStart;
      while (carryOn && n - at > 0 && lineEnd - at > kPieceLength) {
        qsizetype cut = DisplayCut(text, at, at + kPieceLength);
        flush(cut);
        cursor.insertBlock(soft);
        inHardBlock = false;
        at = cut;
        turn(at);
      }
      if (!carryOn) break;
    }
    if (next == lineEnd) {  // the last line
      flush(n);
      break;
    }
    if (inHardBlock) {
      flush(next);  // the line end goes in as the text had it
    } else {
      flush(lineEnd);
      cursor.insertBlock(hard);
      pending = next;
      inHardBlock = true;
    }
    turn(next);
    lineStart = next;
  }
  cursor.endEditBlock();
  if (painted && !updatesEnabled()) setUpdatesEnabled(true);
  if (onProgress && carryOn && n > kChunk) carryOn = onProgress(n, n);
  return carryOn;
}

QMimeData* TextBox::createMimeDataFromSelection() const {
  QTextCursor cursor = textCursor();
  auto* data = new QMimeData;
  data->setText(PlainText(cursor.selectionStart(), cursor.selectionEnd()));
  return data;
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source || !source->hasText()) return;
  QTextCursor cursor = textCursor();
  InsertText(cursor, source->text());
  setTextCursor(cursor);
  ensureCursorVisible();
}

void TextBox::mousePressEvent(QMouseEvent* e) {
  QPlainTextEdit::mousePressEvent(e);
  placed_ = true;
}

void TextBox::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Control) ctrl_ = true;
  switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      QPlainTextEdit::keyPressEvent(e);
      placed_ = true;
      return;
    default:
      break;
  }
  // A line end typed inside a line cut for display is a real one.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
      !(e->modifiers() & ~Qt::KeypadModifier) && !isReadOnly()) {
    QTextCursor cursor = textCursor();
    QTextBlockFormat format = cursor.blockFormat();
    format.clearProperty(kContinuesLine);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    cursor.insertBlock(format);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    return;
  }
  // Tab moves the focus on; Ctrl+Tab still types a tab.
  if (e->key() == Qt::Key_Tab && (e->modifiers() & Qt::ControlModifier) && !isReadOnly()) {
    insertPlainText(QStringLiteral("\t"));
    return;
  }
  // The flag alone could outlive a Ctrl released in another window and turn a typed "a" into
  // "replace everything"; the key's own modifiers confirm it.
  if (e->key() == Qt::Key_A && ctrl_ && (e->modifiers() & Qt::ControlModifier)) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void TextBox::MarkReadingLine(int number) {
  marked_ = number;
  QList<QTextEdit::ExtraSelection> marks;
  const std::vector<int>& starts = LineStarts();
  QTextBlock block = number >= 0 && number < static_cast<int>(starts.size())
                         ? document()->findBlockByNumber(starts[static_cast<size_t>(number)])
                         : QTextBlock();
  if (block.isValid()) {
    QTextEdit::ExtraSelection mark;
    // The theme's highlight, faint enough that the text stays readable in light and dark themes.
    QColor colour = palette().color(QPalette::Highlight);
    colour.setAlpha(80);
    mark.format.setBackground(colour);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = QTextCursor(block);
    // A line cut for display is marked over all its blocks.
    QTextBlock last = block;
    while (last.next().isValid() && Continues(last.next())) last = last.next();
    if (last != block) {
      mark.cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    }
    marks << mark;
    QRectF shown = blockBoundingGeometry(block).translated(contentOffset());
    if (shown.top() < 0 || shown.bottom() > viewport()->height())
      verticalScrollBar()->setValue(std::max(0, block.firstLineNumber() - 1));
  }
  setExtraSelections(marks);
}

void TextBox::focusOutEvent(QFocusEvent* e) {
  ctrl_ = false;
  QPlainTextEdit::focusOutEvent(e);
}

void TextBox::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Control) ctrl_ = false;
  QPlainTextEdit::keyReleaseEvent(e);
}

static std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  return paths;
}

void TextBox::dragEnterEvent(QDragEnterEvent* e) {
  if (!LocalFiles(e->mimeData()).empty()) {
    e->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragEnterEvent(e);
}

void TextBox::dragMoveEvent(QDragMoveEvent* e) {
  if (!LocalFiles(e->mimeData()).empty()) {
    e->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragMoveEvent(e);
}

void TextBox::dropEvent(QDropEvent* e) {
  std::vector<std::string> paths = LocalFiles(e->mimeData());
  if (!paths.empty() && onFilesDropped) {
    e->acceptProposedAction();
    onFilesDropped(paths);
    return;
  }
  QPlainTextEdit::dropEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Building the window.

frmメイン::frmメイン(MainSetup setup) : setup_(std::move(setup)) {
  setObjectName(QStringLiteral("frmメイン"));
  BuildControls();
  BuildMenus();
  resize(640, 480);
}

frmメイン::~frmメイン() {
  // The engine goes before the windows that its handlers might reach.
  objMAIN.reset();
}

void frmメイン::BuildControls() {
  auto* inner = new QWidget(this);
  inner->setObjectName(QStringLiteral("qt_inner"));
  setCentralWidget(inner);
  for (int i = 0; i < 2; ++i) {
    txt内容[i] = new TextBox(inner);
    txt内容[i]->setObjectName(QStringLiteral("txt内容"));
    txt内容[i]->setProperty("index", i);
    txt内容[i]->onFilesDropped = [this](const std::vector<std::string>& paths) {
      OpenFiles(paths);
    };
    txt内容[i]->onProgress = [this](qsizetype done, qsizetype total) {
      return ShowLoading(done, total);
    };
    txt内容[i]->setTabChangesFocus(true);
    txt内容[i]->hide();
  }
  // Index 0 keeps long lines whole with a horizontal scroll bar; index 1 wraps them.
  txt内容[0]->setLineWrapMode(QPlainTextEdit::NoWrap);
  txt内容[0]->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  txt内容[1]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txt内容[1]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txt内容[0]->show();

  struct ButtonDesign {
    QPushButton** button;
    const char* name;
    const char* caption;
  };
  const ButtonDesign buttons[] = {
      {&chk再生, "chk再生", "再生"}, {&chk停止, "chk停止", "一時停止"},
      {&chk中止, "chk中止", "中止"}, {&chk次行, "chk次行", "次行"},
      {&chk前行, "chk前行", "前行"}, {&chk録音, "chk録音", "録音"},
  };
  int left = kButtonGap;
  for (const ButtonDesign& s : buttons) {
    auto* b = new QPushButton(QString::fromUtf8(s.caption), inner);
    b->setObjectName(QString::fromUtf8(s.name));
    b->setCheckable(true);
    b->setFocusPolicy(Qt::TabFocus);
    b->setGeometry(left, 0, kButtonWidth, kButtonHeight);
    left += kButtonWidth + kButtonGap;
    *s.button = b;
  }
  connect(chk再生, &QPushButton::toggled, this, [this](bool on) { On再生(on); });
  connect(chk停止, &QPushButton::toggled, this, [this](bool on) { On停止(on); });
  connect(chk中止, &QPushButton::pressed, this, [this] { stopPressedByHand_ = true; });
  connect(chk中止, &QPushButton::released, this, [this] { stopPressedByHand_ = false; });
  connect(chk中止, &QPushButton::toggled, this, [this](bool on) { On中止(on); });
  connect(chk次行, &QPushButton::toggled, this, [this](bool on) { OnMove(chk次行, on); });
  connect(chk前行, &QPushButton::toggled, this, [this](bool on) { OnMove(chk前行, on); });
  connect(chk録音, &QPushButton::toggled, this, [this](bool on) { On録音(on); });

  img音量 = new QLabel(inner);
  img音量->setObjectName(QStringLiteral("img音量"));
  img音量->setPixmap(SpeakerIcon(palette().color(QPalette::WindowText)));
  img音量->setGeometry(left + 4, 0, kIconSize, kIconSize);
  img速度 = new QLabel(inner);
  img速度->setObjectName(QStringLiteral("img速度"));
  img速度->setPixmap(SpeedIcon(palette().color(QPalette::WindowText)));
  img速度->setGeometry(left + 4, 0, kIconSize, kIconSize);

  sld音量 = new QSlider(Qt::Horizontal, inner);
  sld音量->setObjectName(QStringLiteral("sld音量"));
  sld音量->setRange(0, 60);
  sld速度 = new QSlider(Qt::Horizontal, inner);
  sld速度->setObjectName(QStringLiteral("sld速度"));
  sld速度->setRange(50, 300);
  for (QSlider* s : {sld音量, sld速度}) {
    s->setFocusPolicy(Qt::TabFocus);
    s->setFixedHeight(kButtonHeight - 2);
  }
  // The values show beside the sliders, not only in a tooltip.
  lbl音量値 = new QLabel(QStringLiteral("0"), inner);
  lbl音量値->setObjectName(QStringLiteral("lbl音量値"));
  lbl速度値 = new QLabel(QStringLiteral("50"), inner);
  lbl速度値->setObjectName(QStringLiteral("lbl速度値"));
  for (QLabel* l : {lbl音量値, lbl速度値}) {
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFixedSize(kValueWidth, kButtonHeight - 2);
  }
  connect(sld音量, &QSlider::valueChanged, lbl音量値, qOverload<int>(&QLabel::setNum));
  connect(sld速度, &QSlider::valueChanged, lbl速度値, qOverload<int>(&QLabel::setNum));
  connect(sld音量, &QSlider::valueChanged, this, [this](int v) { On音量(v); });
  connect(sld速度, &QSlider::valueChanged, this, [this](int v) { On速度(v); });

  inner->installEventFilter(this);
}

void frmメイン::BuildMenus() {
  M_File = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  M_File->setObjectName(QStringLiteral("M_File"));
  M_Open = M_File->addAction(QStringLiteral("開く(&O)"));
  M_Open->setObjectName(QStringLiteral("M_Open"));
  M_Quit = M_File->addAction(QStringLiteral("終了(&X)"));
  M_Quit->setObjectName(QStringLiteral("M_Quit"));
  M_Option = menuBar()->addMenu(QStringLiteral("オプション(&O)"));
  M_Option->setObjectName(QStringLiteral("M_Option"));
  M_Set = M_Option->addAction(QStringLiteral("環境設定(&S)"));
  M_Set->setObjectName(QStringLiteral("M_Set"));
  M_HELP = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  M_HELP->setObjectName(QStringLiteral("M_HELP"));
  M_Mokuji = M_HELP->addAction(QStringLiteral("目次(&C)       F1"));
  M_Mokuji->setObjectName(QStringLiteral("M_Mokuji"));
  M_Version = M_HELP->addAction(QStringLiteral("バージョン情報(&A)"));
  M_Version->setObjectName(QStringLiteral("M_Version"));

  connect(M_Open, &QAction::triggered, this, [this] { M_Open_Click(); });
  connect(M_Quit, &QAction::triggered, this, [this] { M_QUIT_Click(); });
  connect(M_Set, &QAction::triggered, this, [this] { M_Set_Click(); });
  connect(M_Mokuji, &QAction::triggered, this, [this] { M_Mokuji_Click(); });
  connect(M_Version, &QAction::triggered, this, [this] { M_Version_Click(); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, [this] { M_Mokuji_Click(); });
  M_Open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  M_Quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  BuildReadingMenu();
  SetAccessibleNames();
}

void frmメイン::BuildReadingMenu() {
  M_Read = new QMenu(QStringLiteral("読み上げ(&R)"), this);
  M_Read->setObjectName(QStringLiteral("M_Read"));
  menuBar()->insertMenu(M_Option->menuAction(), M_Read);
  struct ActionDesign {
    QAction** action;
    const char* name;
    const char* caption;
    QList<QKeySequence> keys;
    std::function<void()> run;
  };
  // Each action presses its button as a click would, so the buttons' own rules apply.
  auto press = [](QPushButton* b) {
    return [b] {
      if (b->isEnabled() && !b->isChecked()) b->setChecked(true);
    };
  };
  const ActionDesign actions[] = {
      {&M_Play,
       "M_Play",
       "再生(&P)",
       {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return),
        QKeySequence(Qt::CTRL | Qt::Key_Enter)},
       press(chk再生)},
      // Pause and resume are one key, as they are one button.
      {&M_Pause,
       "M_Pause",
       "一時停止／再開(&S)",
       {QKeySequence(Qt::Key_F6), QKeySequence(Qt::Key_Pause)},
       [this] {
         if (chk停止->isEnabled()) chk停止->setChecked(!chk停止->isChecked());
       }},
      // Esc only ever stops a reading: with nothing playing it does nothing, never clears.
      {&M_Stop,
       "M_Stop",
       "中止(&T)",
       {QKeySequence(Qt::Key_Escape)},
       [this] {
         if (chk再生->isChecked() && chk中止->isEnabled() && !chk中止->isChecked())
           chk中止->setChecked(true);
       }},
      {&M_Next,
       "M_Next",
       "次行(&N)",
       {QKeySequence(Qt::Key_F8), QKeySequence(Qt::ALT | Qt::Key_Down)},
       press(chk次行)},
      {&M_Prev,
       "M_Prev",
       "前行(&B)",
       {QKeySequence(Qt::Key_F7), QKeySequence(Qt::ALT | Qt::Key_Up)},
       press(chk前行)},
      {&M_Record, "M_Record", "録音(&R)...", {QKeySequence(Qt::CTRL | Qt::Key_R)}, press(chk録音)},
  };
  for (const ActionDesign& a : actions) {
    QAction* action = M_Read->addAction(QString::fromUtf8(a.caption));
    action->setObjectName(QString::fromUtf8(a.name));
    action->setShortcuts(a.keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, a.run);
    *a.action = action;
  }
}

void frmメイン::SetAccessibleNames() {
  const std::pair<QWidget*, const char*> names[] = {
      {txt内容[0], "読み上げる文章"},
      {txt内容[1], "読み上げる文章"},
      {chk再生, "再生 (F5)"},
      {chk停止, "一時停止／再開 (F6)"},
      {chk中止, "中止 (Esc)"},
      {chk次行, "次行 (F8)"},
      {chk前行, "前行 (F7)"},
      {chk録音, "録音 (Ctrl+R)"},
      {sld音量, "音量"},
      {sld速度, "速度"},
      {img音量, "音量"},
      {img速度, "速度"},
  };
  for (const auto& [w, name] : names) w->setAccessibleName(QString::fromUtf8(name));
  const std::pair<QWidget*, const char*> tips[] = {
      {chk再生, "再生 (F5, Ctrl+Enter)"},
      {chk停止, "一時停止／再開 (F6)"},
      {chk中止, "中止 (Esc)"},
      {chk次行, "次行 (F8, Alt+↓)"},
      {chk前行, "前行 (F7, Alt+↑)"},
      {chk録音, "録音 (Ctrl+R)"},
  };
  for (const auto& [w, tip] : tips) w->setToolTip(QString::fromUtf8(tip));
}

// ---------------------------------------------------------------------------------------------
// Start-up.

bool frmメイン::Load() {
  CommandWindow* commands = setup_.commands;
  if (commands && commands->PreviousInstanceRunning()) {
    secondInstance_ = true;
    if (setup_.commandLine.empty()) {
      exitCode = 0;
      return false;
    }
    commands->Load(setup_.commandLine, false);
    commands->EnableTimer();
    return true;
  }
  if (commands) commands->Load(setup_.commandLine, true);

  versionText_ =
      QStringLiteral(
          "　%1 Ver %2.%3\r\n"
          "　日本語の文章を読み上げるソフトウェアです。"
          // The recorded-speaker voices ask for credit where the program names itself.
          "女性１・女性２の声 \"mei_normal\" (c) Nagoya Institute of Technology、"
          "男性１・男性２の声 \"nitech_jp_atr503_m001\" (c) Nagoya Institute of "
          "Technology, Tokyo Institute of Technology、いずれも CC BY 3.0 "
          "(https://creativecommons.org/licenses/by/3.0/、使用許諾は dll/models/)。"
          "音声合成 hts_engine API (BSD)。\r\n"
          // Every data source the dictionaries and tables were made from, with the
          // terms each is used under (licence texts installed beside the program).
          "　辞書 dic.ktn・acc.ktn・eng.ktn は UniDic 3.1.1 (c) The UniDic Consortium "
          "(BSD 3-clause / LGPL 2.1 / GPL 2 のいずれか、dll/LICENCE-unidic.txt) から、"
          "英単語の読みは CMU Pronouncing Dictionary 0.4 (c) Carnegie Mellon University, "
          "Festival 版 (c) Centre for Speech Technology Research, University of "
          "Edinburgh (著作権表示を残す条件で自由に利用可、dll/LICENCE-cmudict.txt) "
          "から作成しました。異体字の表は Unicode の Unihan データベース (c) Unicode, "
          "Inc. (Unicode License、LICENCE-unicode.txt) から作成しました。\r\n\r\n"
          "　使い方は「ヘルプ」→「目次」（F1）をご覧ください。\r\n\r\n")
          .arg(Q(setup_.programName))
          .arg(KOTONEL_VERSION_MAJOR)
          .arg(KOTONEL_VERSION_MINOR);
  setWindowTitle(Q(setup_.programName));
  for (std::string* folder :
       {&setup_.programFolder, &setup_.writableFolder, &setup_.dictionaryFolder})
    if (!folder->empty() && folder->back() != '/') *folder += '/';

  CheckWritableFolder();
  RecoverTempFiles();

  // Tests hold the start here, before the dictionaries load, by naming a pipe they write to
  // when they are ready: signals can then arrive while the start is still under way.
  if (const char* gate = std::getenv("KOTONEL_START_GATE"); gate && *gate) {
    std::ifstream wait(gate);
    std::string ignored;
    std::getline(wait, ignored);
  }

  MessagePump pump = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
  try {
    if (setup_.makeEngine) {
      objMAIN = setup_.makeEngine(pump);
    } else {
      EngineSetup es;
      es.dictionaryFolder = setup_.dictionaryFolder;
      es.pump = pump;
      objMAIN = std::make_unique<clsMAIN>(std::move(es));
    }
  } catch (const DictionaryError& e) {
    CurrentPrompts().Message(nullptr, QMessageBox::Warning, Q(setup_.programName),
                             Q(ReplaceAll(e.Text(), U"\r\n", U"\n")));
    exitCode = 3;
    return false;
  }
  objMAIN->Wait = [this] { OnWait(); };

  settings_ = new frm設定(this);
  settings_->Load();

  sld音量->setValue(std::clamp(objMAIN->VOLUME(), 0, 60));
  sld速度->setValue(std::clamp(objMAIN->SPEED(), 50, 300));
  On音量(sld音量->value());
  On速度(sld速度->value());

  txt内容[0]->hide();
  txt内容[1]->hide();
  activeIndex_ = settings_->chkFLAP->isChecked() ? 1 : 0;
  txt内容[activeIndex_]->show();
  txt内容[activeIndex_]->setFocus();  // ready for typing or pasting at once
  ShowReadingLine(-1, 0);             // makes the status line
  LayoutControls();
  setMinimumSize(SmallestSize());
  FitToScreen();

  readings_.Clear();
  words_.Clear();
  widthFlags_.Clear();
  if (commands) commands->EnableTimer();
  return true;
}

void frmメイン::RecoverTempFiles() {
  // Only our own temporary files, left by a write that was cut off: never promoted (they may be
  // incomplete), and never anything another program keeps here.
  for (const std::string* folder :
       {&setup_.dictionaryFolder, &setup_.programFolder, &setup_.writableFolder})
    RemoveLeftoverTemporaryFiles(*folder);
}

void frmメイン::CheckWritableFolder() {
  const std::string& folder = setup_.writableFolder;
  if (folder.empty() || !OthersMayWriteInto(folder)) return;
  RefuseWritesInto(folder, "the folder may be written by other users");
  CurrentPrompts().Message(
      this, QMessageBox::Warning, Q(setup_.programName),
      QStringLiteral("設定のフォルダー「%1」は他のユーザーも書き込めるため、"
                     "ここには設定を保存しません。\n"
                     "フォルダーを自分だけが書き込めるようにしてください（chmod go-w）。")
          .arg(Q(folder)));
}

// ---------------------------------------------------------------------------------------------
// The toggle buttons.

void frmメイン::On再生(bool pressed) {
  // A pressed play button cannot be released by the user.
  chk再生->setEnabled(!pressed);
  if (pressed) ReadAloud();
}

void frmメイン::On停止(bool) {
  if (!chk再生->isChecked()) chk停止->setChecked(false);
  if (objMAIN) {
    if (chk停止->isChecked())
      objMAIN->PAUSE();
    else
      objMAIN->RESTART();
  }
  テキスト()->setFocus();
}

void frmメイン::On中止(bool pressed) {
  // Stop while nothing plays doubles as "clear".
  // The user is asked first (Shift skips the question): one press too many must not wipe a
  // long text. A press by a command ("/clear") or by closing the window asks nobody: a question
  // there would hold up the command queue and the closing.
  if (pressed && stopPressedByHand_ && !chk再生->isChecked() &&
      !テキスト()->document()->isEmpty() &&
      !(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) &&
      !CurrentPrompts().Ask(this, Q(setup_.programName),
                            QStringLiteral("文章をすべて消去しますか？\n"
                                           "（消した文章は「元に戻す」Ctrl+Z で戻せます）"))) {
    pressed = false;
  }
  if (pressed && !chk再生->isChecked()) {
    // Removed as an edit, so Ctrl+Z brings back a text cleared by mistake.
    QTextCursor cursor(テキスト()->document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
  }
  if (!chk再生->isChecked()) chk中止->setChecked(false);
  chk中止->setEnabled(!chk中止->isChecked());
  if (chk中止->isChecked() && objMAIN) objMAIN->CANCEL();
}

void frmメイン::OnMove(QPushButton* button, bool pressed) {
  if (pressed) {
    if (chk再生->isChecked() && !chk停止->isChecked()) {
      // The current line ends; the reading loop moves on (or back) and releases the button.
      if (objMAIN) objMAIN->CANCEL();
    } else {
      button->setChecked(false);
    }
  }
  button->setEnabled(!button->isChecked());
}

void frmメイン::On録音(bool pressed) {
  if (objMAIN) objMAIN->RECORD(pressed);
  if (!pressed) return;
  std::string path = ChooseFile(true, QStringLiteral("*.wav"));
  if (path.empty()) {
    chk録音->setChecked(false);
    return;
  }
  std::u32string tail =
      ToLowerAscii(FromUtf8(path.size() >= 4 ? path.substr(path.size() - 4) : path));
  if (tail != U".wav") path += ".wav";
  if (objMAIN) objMAIN->PATH(path);
}

void frmメイン::On音量(int value) {
  if (objMAIN) objMAIN->VOLUME(value);
  sld音量->setToolTip(QString::number(value));
}

void frmメイン::On速度(int value) {
  if (objMAIN) objMAIN->SPEED(value);
  sld速度->setToolTip(QString::number(value));
}

void frmメイン::OnWait() {
  if (setup_.commands) setup_.commands->CMD_NOW();
}

// ---------------------------------------------------------------------------------------------
// The reading loop.

void frmメイン::ReadAloud() {
  if (!objMAIN || !settings_) return;
  ++readingDepth_;
  TextBox* box = テキスト();
  std::u32string text = U(box->PlainText());
  // A selection is read alone; a cursor the user put somewhere is where reading starts. A text
  // just typed, pasted or opened is read from its first line.
  int first = 0, offset = 0;
  QTextCursor cursor = box->textCursor();
  if (cursor.hasSelection() && !(cursor.selectionStart() == 0 &&
                                 cursor.selectionEnd() >= box->document()->characterCount() - 1)) {
    QTextCursor start(box->document());
    start.setPosition(cursor.selectionStart());
    offset = box->LineOfBlock(start.blockNumber());
    text = U(box->PlainText(cursor.selectionStart(), cursor.selectionEnd()));
  } else if (box->CursorPlaced()) {
    first = box->LineOfBlock(cursor.blockNumber());
  }
  LoadUserWords();
  objMAIN->CONV(settings_->opt変換[0]->isChecked() || settings_->opt変換[1]->isChecked());
  objMAIN->Intonation(settings_->opt変換[0]->isChecked());

  std::vector<std::u32string> lines = SplitReadingLines(text);
  int32_t error = 0;
  if (first >= static_cast<int>(lines.size())) first = 0;
  for (int i = first; i < static_cast<int>(lines.size()); ++i) {
    QCoreApplication::processEvents();
    if (closing_) break;
    lines[i] = PrepareLine(lines[i]);
    objMAIN->VOICE(ParseIntLenient(U(settings_->fra設定[2]->property("Tag").toString())));
    ShowReadingLine(i + offset, offset + static_cast<int>(lines.size()));
    error = objMAIN->Speech(static_cast<int32_t>(internalWinId()), lines[i]);
    if (closing_) break;
    if (error != 0) break;
    if (chk中止->isChecked()) break;
    if (chk前行->isChecked()) StepBack(lines, i, 2);
    chk前行->setChecked(false);
    chk次行->setChecked(false);
  }
  --readingDepth_;
  if (!closing_) ShowReadingLine(-1, 0);
  if (closing_) {
    // The window closed while a line was spoken: the engine waited for this call to return.
    if (releaseEngineLater_) {
      releaseEngineLater_ = false;
      objMAIN.reset();
    }
    return;
  }

  chk再生->setChecked(false);
  chk中止->setChecked(false);
  chk停止->setChecked(false);
  // A recording stopped at the WAV size limit is kept; other failures discard it.
  if (error != 0 && error != kRecordingFull) objMAIN->RECORD(false);
  bool wasRecording = objMAIN->Wave().IsRecording();
  if (!objMAIN->SAVE() && wasRecording) {
    // Not modal: a reading started by a command must not hold up the commands behind it until
    // somebody clicks OK.
    CurrentPrompts().Notice(this, QMessageBox::Warning, Q(setup_.programName),
                            QStringLiteral("録音を保存できませんでした。\n%1\n%2")
                                .arg(Q(objMAIN->PATH()), Q(objMAIN->Wave().RecordingError())));
  }
  chk録音->setChecked(false);
  if (isVisible()) {
    QString caption = Q(setup_.programName);
    if (error != 0) caption += QStringLiteral(" - ") + Q(SpeechErrorMessage(error));
    setWindowTitle(caption);
  }
  // The error also stays in the status line until the next reading starts, with its real
  // cause (a missing voice folder, an unreadable model) where the engine knows it.
  if (error != 0 && lbl進行) {
    QString status = QStringLiteral("読み上げを中断しました：") + Q(SpeechErrorMessage(error));
    if (!objMAIN->LastError().empty())
      status += QStringLiteral("（%1）").arg(Q(objMAIN->LastError()));
    lbl進行->setText(status);
  }
  if (error != 0) CurrentPrompts().Beep();
}

std::u32string frmメイン::PrepareLine(const std::u32string& line) const {
  std::u32string s = line;
  if (settings_ && settings_->chkWW->isChecked()) {
    for (const char32_t* unit : {U"W", U"w", U"w ", U"Ｗ", U"ｗ"})
      s = CollapseRuns(s, unit, U"わらわら");
  }
  for (int32_t j = 1; j <= words_.Count(); ++j) {
    const std::u32string& word = words_[j];
    const std::u32string& reading = readings_[j];
    if (word.empty()) continue;
    if (widthFlags_[j] != 0) {
      s = ReplaceAll(s, word, reading);
      continue;
    }
    // Width, case and kana type do not matter: compare in one form, character for character.
    std::u32string key;
    for (char32_t c : word) key.push_back(TextCompareForm(c));
    std::u32string form;
    for (char32_t c : s) form.push_back(TextCompareForm(c));
    std::u32string out;
    size_t from = 0;
    for (size_t at = form.find(key); at != std::u32string::npos; at = form.find(key, from)) {
      out += s.substr(from, at - from);
      out += reading;
      from = at + key.size();
    }
    out += s.substr(from);
    s = out;
  }
  return s;
}

void frmメイン::LoadUserWords() {
  readings_.Clear();
  words_.Clear();
  widthFlags_.Clear();
  if (!settings_) return;
  QListWidget* list = settings_->WORD();
  for (int i = 0; i < list->count(); ++i) {
    std::vector<std::u32string> fields = SplitText(U(list->item(i)->text()) + U"\t\t", U'\t');
    readings_.Add(fields[0]);
    words_.Add(fields[1]);
    widthFlags_.Add(ParseIntLenient(fields[2]));
  }
}

void frmメイン::StepBack(const std::vector<std::u32string>& lines, int& i, int n) const {
  int k = 1;
  while (k <= n && i != -1) {
    const std::u32string& line = lines[static_cast<size_t>(i)];
    if (Trimmed(line).empty() || !IsSpeakable(line)) --k;  // such a line does not count
    --i;
    ++k;
  }
}

bool frmメイン::IsSpeakable(const std::u32string& line) const {
  try {
    Separate words(setup_.dictionaryFolder);
    words.種類分け(line);
    for (int32_t i = 1; i <= words.単語数(); ++i) {
      int32_t kind = words.種類(i);
      if (kind == 0 || kind == 6 || kind == 7) continue;
      for (char32_t c : words.単語(i)) {
        char32_t f = TextCompareForm(c);
        if (f != U'っ' && f != U'゛' && f != U'゜') return true;
      }
    }
  } catch (const std::exception&) {
    // The dictionaries loaded when the engine was made; should they vanish since, count the
    // line so that stepping back still stops at it.
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// Files, menus and the other windows.

void frmメイン::ReplaceText(const QString& text) {
  TextBox* box = テキスト();
  // An edit rather than setPlainText, which would empty the undo history along with the text.
  QTextCursor cursor(box->document());
  cursor.select(QTextCursor::Document);
  ++loading_;
  box->InsertText(cursor, text);
  --loading_;
  box->moveCursor(QTextCursor::Start);
}

bool frmメイン::ShowLoading(qsizetype done, qsizetype total) {
  if (!lbl進行) ShowReadingLine(-1, 0);
  if (done >= total) {
    if (lbl進行->property("loading").toBool()) lbl進行->setText(QString());
    lbl進行->setProperty("loading", false);
    return !closing_;
  }
  lbl進行->setProperty("loading", true);
  lbl進行->setText(QStringLiteral("文章を読み込んでいます… %1%")
                       .arg(static_cast<int>(done * 100 / std::max<qsizetype>(total, 1))));
  // Paint and the command queue run; a click or key waits until the text is whole.
  ++loading_;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // The command timer waits for the entry being put in; the mail is taken here meanwhile.
  OnWait();
  --loading_;
  return !closing_;
}

void frmメイン::SetTextLines(const StringList& lines) {
  std::u32string text;
  for (int32_t i = 1; i <= lines.Count(); ++i) {
    if (i > 1) text += U'\n';
    text += lines[i];
  }
  ReplaceText(Q(text));
}

bool frmメイン::OpenFiles(const std::vector<std::string>& paths) {
  StringList lines;
  QStringList failures;
  bool anyRead = false;
  qint64 total = 0;
  for (const std::string& path : paths) {
    std::string bytes, why;
    // Asked before reading: a file far too big would take the memory first.
    QFileInfo info(Q(path));
    if (info.isFile() && (total += info.size()) > kLargestText) {
      failures << QStringLiteral(
                      "ファイルが大きすぎるため開きません（%1 MB）。\n"
                      "開ける文章は合わせて %2 MB までです。\n%3")
                      .arg(info.size() >> 20)
                      .arg(kLargestText >> 20)
                      .arg(Q(path));
      total -= info.size();
      continue;
    }
    if (!ReadWholeFile(path, bytes, &why)) {
      failures
          << (FileExists(path)
                  ? QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2").arg(Q(path), Q(why))
                  : QStringLiteral("ファイルが見つかりません。\n%1").arg(Q(path)));
      continue;
    }
    if (!IsKnownTextEncoding(bytes)) {
      // Read as UTF-8 or Shift_JIS it would be a screenful of wrong characters.
      failures << QStringLiteral(
                      "ファイルの文字コードが分かりません（EUC-JP などの可能性があります）。\n"
                      "UTF-8 か Shift_JIS で保存し直してから開いて下さい。\n%1")
                      .arg(Q(path));
      continue;
    }
    anyRead = true;
    for (std::u32string& line : SplitLines(DecodeTextFile(bytes))) lines.Add(std::move(line));
  }
  if (anyRead) SetTextLines(lines);
  if (!failures.isEmpty()) {
    CurrentPrompts().Message(this, QMessageBox::Warning, Q(setup_.programName),
                             failures.join(QStringLiteral("\n\n")));
  }
  return failures.isEmpty();
}

frmファイル* frmメイン::FileChooser() {
  if (!file_) file_ = new frmファイル(this, Q(setup_.programName));
  return file_;
}

std::string frmメイン::ChooseFile(bool save, const QString& filter) {
  frmファイル* chooser = FileChooser();
  chooser->SAVE(save);
  chooser->FILTER(filter);
  chooser->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  CurrentPrompts().ShowModal(*chooser);
  std::string path = chooser->PATH().toStdString();
  chooser->hide();
  return path;
}

void frmメイン::M_Open_Click() {
  std::string path = ChooseFile(false, QStringLiteral("*.txt"));
  if (!path.empty()) OpenFiles({path});
}

void frmメイン::M_Set_Click() {
  if (!settings_) return;
  settings_->show();
  settings_->raise();
  settings_->activateWindow();
}

void frmメイン::M_Mokuji_Click() {
  if (!help_) help_ = new frmヘルプ(this, setup_.programFolder + "readme.txt");
  help_->ShowHelp();
}

void frmメイン::M_Version_Click() {
  QString text = versionText_;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  CurrentPrompts().Message(this, QMessageBox::Information,
                           Q(setup_.programName) + QStringLiteral("のバージョン情報"), text);
}

// ---------------------------------------------------------------------------------------------
// Size and closing.

bool frmメイン::eventFilter(QObject* watched, QEvent* e) {
  if (watched == centralWidget() && e->type() == QEvent::Resize) LayoutControls();
  return QMainWindow::eventFilter(watched, e);
}

void frmメイン::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (isMinimized() || layingOut_) return;
  // The window springs back to its smallest useful size.
  const int minW = std::max(3200 / kTwips, minimumWidth()),
            minH = std::max(1365 / kTwips, minimumHeight());
  if (width() < minW || height() < minH) {
    layingOut_ = true;
    resize(std::max(width(), minW), std::max(height(), minH));
    layingOut_ = false;
  }
}

void frmメイン::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  FitWithFrame();
}

void frmメイン::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  FitWithFrame();
}

void frmメイン::FitWithFrame() {
  // The size was fitted to the screen before the window manager put its frame (title bar,
  // borders) round it: known when shown, or (X11) when the frame arrives as a move; with the
  // frame the window may reach past the screen's edge again.
  QSize extras = frameGeometry().size() - size();
  if (extras == frameExtras_ || !isVisible() || isMinimized() || isMaximized() || isFullScreen())
    return;
  frameExtras_ = extras;
  FitToScreen();
}

void frmメイン::LayoutControls() {
  QWidget* inner = centralWidget();
  if (!inner || isMinimized()) return;
  QSize innerSize = inner->size();
  TextBox* box = txt内容[activeIndex_];
  // Too narrow for the sliders beside the buttons (a small screen with a large scale factor):
  // they go on a row of their own below.
  const bool twoRows = innerSize.width() < kSlidersLeft + kSlidersWidth;
  const int rowHeight = chk中止->height() + 2;
  int h = innerSize.height() - rowHeight * (twoRows ? 2 : 1);
  box->setGeometry(0, 0, innerSize.width(), h > 0 ? h : box->height());
  int row = box->height() + 1;
  for (QPushButton* b : {chk再生, chk停止, chk中止, chk次行, chk前行, chk録音})
    b->move(b->x(), row);
  const int left = twoRows ? kButtonGap + 4 : kSlidersLeft;
  if (twoRows) row += rowHeight;
  img音量->move(left, row + 4);
  int w = (innerSize.width() - left - 2 * (kIconSize + 8 + kValueWidth)) / 2;
  if (w <= 0) w = sld音量->width();
  sld音量->setGeometry(left + kIconSize + 2, row + 1, w, sld音量->height());
  lbl音量値->move(sld音量->x() + w, sld音量->y());
  img速度->move(lbl音量値->x() + kValueWidth + 6, img音量->y());
  sld速度->setGeometry(img速度->x() + kIconSize + 2, sld音量->y(), w, sld音量->height());
  lbl速度値->move(sld速度->x() + w, sld速度->y());
}

QSize frmメイン::SmallestSize() const {
  // Every button and both sliders (with their icons and values) stay visible: at this width
  // the sliders have a row of their own, each kMinSliderWidth wide at the least.
  int controls = std::max(kButtonsWidth, kButtonGap + 4 + kSlidersWidth);
  int h = menuBar()->sizeHint().height() + 2 * (kButtonHeight + 2) + 48 +
          (lbl進行 ? statusBar()->sizeHint().height() : 0);  // and a few lines of text
  return {controls, h};
}

void frmメイン::FitToScreen() {
  QScreen* s = screen();
  if (!s) return;
  QRect area = s->availableGeometry();
  QRect frame = frameGeometry();
  int extraW = frame.width() - width(), extraH = frame.height() - height();
  QSize size(std::min(width(), area.width() - extraW), std::min(height(), area.height() - extraH));
  size = size.expandedTo(minimumSize());
  if (size != this->size()) resize(size);
  frame = frameGeometry();
  QPoint to(
      std::clamp(frame.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())),
      std::clamp(frame.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
  if (to != frame.topLeft()) move(to);
}

void frmメイン::ShowReadingLine(int index, int count) {
  for (TextBox* box : txt内容) box->MarkReadingLine(box == テキスト() ? index : -1);
  if (!lbl進行) {
    lbl進行 = new QLabel(this);
    lbl進行->setObjectName(QStringLiteral("lbl進行"));
    statusBar()->addWidget(lbl進行, 1);
  }
  lbl進行->setText(index >= 0 ? QStringLiteral("%1 / %2 行目を読み上げ中").arg(index + 1).arg(count)
                              : QString());
}

void frmメイン::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange) {
    if (img音量) img音量->setPixmap(SpeakerIcon(palette().color(QPalette::WindowText)));
    if (img速度) img速度->setPixmap(SpeedIcon(palette().color(QPalette::WindowText)));
  }
}

void frmメイン::closeEvent(QCloseEvent* e) {
  if (closing_) {
    e->accept();
    return;
  }
  chk中止->setChecked(true);
  closing_ = true;
  readings_.Clear();
  words_.Clear();
  widthFlags_.Clear();
  if (!secondInstance_ && settings_) {
    settings_->初期共通();
    if (help_) help_->hide();
    settings_->hide();
    settings_->Unload();
  }
  if (setup_.commands) setup_.commands->Unload();
  // Closing nested inside a spoken line: the engine lives until that Speech returns.
  if (readingDepth_ > 0)
    releaseEngineLater_ = true;
  else
    objMAIN.reset();
  e->accept();
  // The program ends with this window, also when it was never shown (a second instance) or
  // had been hidden first; a reading under way returns first, then the event loop ends.
  QCoreApplication::exit(exitCode);
}

}  // namespace kotonel
