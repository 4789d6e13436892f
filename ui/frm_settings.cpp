#include "ui/frm_settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <algorithm>

#include "ui/frm_main.h"
#include "ui/prompts.h"
#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"

namespace kotonel {

namespace {

const char32_t kBuiltInFonts[] = U"ＭＳ Ｐゴシック,ＭＳ Ｐ明朝,ＭＳ ゴシック,ＭＳ 明朝";

int Number(const QString& text) {
  return ParseIntLenient(U(text));
}

QString Number(int value) {
  return QString::number(value);
}

std::u32string WithoutSpaces(std::u32string text) {
  while (!text.empty() && text.front() == U' ') text.erase(text.begin());
  while (!text.empty() && text.back() == U' ') text.pop_back();
  return text;
}

// Shows an entry of the word list ("よみ<TAB>単語<TAB>flag") as aligned columns, word first,
// with the 全/半角 flag as a word; the item's text itself stays as the settings file keeps it.
class WordListDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QStringList f = opt.text.split(QLatin1Char('\t'));
    opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
    painter->save();
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    QRect r = opt.rect.adjusted(4, 0, -4, 0);
    const int wordWidth = r.width() * 45 / 100, readingWidth = r.width() * 40 / 100;
    auto cell = [&](int x, int width, const QString& text) {
      QRect c(x, r.y(), width - 4, r.height());
      painter->drawText(c, Qt::AlignLeft | Qt::AlignVCenter,
                        opt.fontMetrics.elidedText(text, Qt::ElideRight, c.width()));
    };
    cell(r.x(), wordWidth, f.value(1));
    cell(r.x() + wordWidth, readingWidth, f.value(0));
    cell(r.x() + wordWidth + readingWidth, r.width() - wordWidth - readingWidth,
         WidthFlagText(f.value(2)));
    painter->restore();
  }
};

}  // namespace

QString WidthFlagText(const QString& flag) {
  return ParseIntLenient(U(flag)) != 0 ? QStringLiteral("区別") : QString();
}

QString MonospaceFamily() {
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QStringList FontFamiliesFor(const QString& name) {
  const QString sans = QStringLiteral("Noto Sans CJK JP");
  const QString serif = QStringLiteral("Noto Serif CJK JP");
  const QString mono = QStringLiteral("Noto Sans Mono CJK JP");
  // The Windows names stand for the faces that look like them here: 明朝 is a serif face, the
  // names without Ｐ are fixed-width.
  if (name == QStringLiteral("ＭＳ Ｐゴシック")) return {name, sans, QStringLiteral("sans-serif")};
  if (name == QStringLiteral("ＭＳ Ｐ明朝")) return {name, serif, QStringLiteral("serif")};
  if (name == QStringLiteral("ＭＳ ゴシック"))
    return {name, mono, MonospaceFamily(), sans, QStringLiteral("monospace")};
  if (name == QStringLiteral("ＭＳ 明朝")) return {name, serif, QStringLiteral("serif")};
  if (name == serif) return {name, QStringLiteral("serif")};
  if (name == MonospaceFamily()) return {name, mono, sans, QStringLiteral("monospace")};
  // A font that is not installed falls back to one that can show Japanese.
  return {name, sans, QStringLiteral("sans-serif")};
}

void FillFontList(const std::string& path, QComboBox* combo) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return;
  for (const std::u32string& line : SplitLines(DecodeTextFile(bytes))) {
    if (Contains(kBuiltInFonts, line)) continue;  // the empty line too
    combo->addItem(Q(line));
  }
}

QString WithoutBreaks(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'\t':
      case u'\n':
      case u'\v':
      case u'\f':
      case u'\r':
      case 0x0085:  // next line
      case 0x2028:  // line separator
      case 0x2029:  // paragraph separator
        continue;
      default:
        out += c;
    }
  }
  return out;
}

bool IsReadingCharacter(char32_t c) {
  if (c >= U'あ' && c <= U'ん') return true;
  return c == U'ぁ' || c == U'ー' || c == U'、' || c == U'。' || c == U'？' || c == U'！' ||
         c == U',';
}

frm設定::frm設定(frmメイン* main) : QDialog(main), main_(main) {
  setObjectName(QStringLiteral("frm設定"));
  setWindowTitle(QStringLiteral("環境設定"));
  // It stays in front of the main window while the user works in both.
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Build();
}

frm設定::~frm設定() = default;

void frm設定::Build() {
  setFixedSize(440, 360);
  tab設定 = new QTabBar(this);
  tab設定->setObjectName(QStringLiteral("tab設定"));
  for (const char* caption : {"読み上げ", "表示", "声色", "その他"})
    tab設定->addTab(QString::fromUtf8(caption));
  tab設定->setGeometry(8, 8, 424, 26);
  for (int k = 0; k < 4; ++k) {
    fra設定[k] = new QGroupBox(this);
    fra設定[k]->setObjectName(QStringLiteral("fra設定"));
    fra設定[k]->setProperty("index", k);
    fra設定[k]->setGeometry(8, 34, 424, 280);
  }
  fra設定[2]->setProperty("Tag", QString());

  // Tab 1: the user word list.
  QGroupBox* f = fra設定[0];
  lbl単語 = new QLabel(QStringLiteral("単語"), f);
  lbl単語->setObjectName(QStringLiteral("lbl単語"));
  lbl単語->setGeometry(12, 14, 70, 22);
  txt単語 = new QLineEdit(f);
  txt単語->setObjectName(QStringLiteral("txt単語"));
  txt単語->setGeometry(84, 14, 210, 24);
  lbl読み = new QLabel(QStringLiteral("よみがな"), f);
  lbl読み->setObjectName(QStringLiteral("lbl読み"));
  lbl読み->setGeometry(12, 44, 70, 22);
  txt読み = new QLineEdit(f);
  txt読み->setObjectName(QStringLiteral("txt読み"));
  txt読み->setGeometry(84, 44, 210, 24);
  chk全半角 = new QCheckBox(QStringLiteral("全/半角を区別"), f);
  chk全半角->setObjectName(QStringLiteral("chk全半角"));
  chk全半角->setGeometry(84, 72, 210, 22);
  cmd追加 = new QPushButton(QStringLiteral("追　加"), f);
  cmd追加->setObjectName(QStringLiteral("cmd追加"));
  cmd追加->setGeometry(312, 12, 96, 26);
  cmd変更 = new QPushButton(QStringLiteral("変　更"), f);
  cmd変更->setObjectName(QStringLiteral("cmd変更"));
  cmd変更->setGeometry(312, 42, 96, 26);
  cmd削除 = new QPushButton(QStringLiteral("削　除"), f);
  cmd削除->setObjectName(QStringLiteral("cmd削除"));
  cmd削除->setGeometry(312, 72, 96, 26);
  auto* listCaption = new QLabel(QStringLiteral("登録済み一覧"), f);
  listCaption->setGeometry(12, 100, 90, 20);
  // Why a typed character did not go into よみがな; empty until one is refused.
  lbl読み注意 = new QLabel(f);
  lbl読み注意->setObjectName(QStringLiteral("lbl読み注意"));
  lbl読み注意->setGeometry(104, 96, 304, 24);
  lbl読み注意->setWordWrap(true);
  {
    QFont small = lbl読み注意->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lbl読み注意->setFont(small);
  }
  lst単語 = new QListWidget(f);
  lst単語->setObjectName(QStringLiteral("lst単語"));
  lst単語->setGeometry(12, 138, 340, 106);
  {
    // Column headings over the list, where its delegate draws the columns.
    const int inner = 340 - 2 * lst単語->frameWidth() - 8;
    const int wordWidth = inner * 45 / 100, readingWidth = inner * 40 / 100;
    const int x0 = 12 + lst単語->frameWidth() + 4;
    const std::pair<int, const char*> heads[] = {
        {x0, "単語"}, {x0 + wordWidth, "よみがな"}, {x0 + wordWidth + readingWidth, "全/半角"}};
    for (const auto& [x, text] : heads) {
      auto* head = new QLabel(QString::fromUtf8(text), f);
      head->setGeometry(x, 120, 120, 18);
    }
  }
  lst単語->setItemDelegate(new WordListDelegate(lst単語));
  lst単語->setAccessibleName(QStringLiteral("登録済み一覧（単語、よみがな、全/半角）"));
  txt単語->setAccessibleName(QStringLiteral("単語"));
  txt読み->setAccessibleName(QStringLiteral("よみがな"));
  for (int i = 0; i < 2; ++i) {
    chkMOV[i] = new QPushButton(QStringLiteral("移動"), f);
    chkMOV[i]->setObjectName(QStringLiteral("chkMOV"));
    chkMOV[i]->setProperty("index", i);
    chkMOV[i]->setCheckable(true);
    chkMOV[i]->setIcon(style()->standardIcon(i == 0 ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
    chkMOV[i]->setToolTip(i == 0 ? QStringLiteral("選んだ語を上へ")
                                 : QStringLiteral("選んだ語を下へ"));
    chkMOV[i]->setGeometry(358, 120 + i * 34, 58, 30);
  }
  chkWW = new QCheckBox(QStringLiteral("連続w→ﾜﾗﾜﾗ"), f);
  chkWW->setObjectName(QStringLiteral("chkWW"));
  chkWW->setGeometry(12, 250, 300, 22);

  // Tab 2: display.
  f = fra設定[1];
  chkTOP = new QCheckBox(QStringLiteral("前面表示"), f);
  chkTOP->setObjectName(QStringLiteral("chkTOP"));
  chkTOP->setGeometry(16, 18, 300, 22);
  auto* fontCaption = new QLabel(QStringLiteral("フォント名"), f);
  fontCaption->setGeometry(16, 56, 90, 24);
  cmb書式 = new QComboBox(f);
  cmb書式->setObjectName(QStringLiteral("cmb書式"));
  cmb書式->setGeometry(110, 56, 240, 26);
  auto* sizeCaption = new QLabel(QStringLiteral("サイズ"), f);
  sizeCaption->setGeometry(16, 92, 90, 24);
  cmbサイズ = new QComboBox(f);
  cmbサイズ->setObjectName(QStringLiteral("cmbサイズ"));
  cmbサイズ->setGeometry(110, 92, 90, 26);
  // Large sizes too, for reading from a distance or with weak eyes.
  for (const char* size :
       {"10", "11", "12", "14", "16", "18", "20", "24", "28", "32", "36", "40", "48", "60", "72"})
    cmbサイズ->addItem(QString::fromUtf8(size));
  for (const char* name : {"ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝", "ＭＳ ゴシック", "ＭＳ 明朝"})
    cmb書式->addItem(QString::fromUtf8(name));

  // Tab 3: the voices.
  f = fra設定[2];
  const char* voices[] = {"女性１",   "女性２", "男性１", "男性２",
                          "ロボット", "中性",   "機械",   "特殊"};
  for (int i = 0; i < 8; ++i) {
    opt声色[i] = new QRadioButton(QString::fromUtf8(voices[i]), f);
    opt声色[i]->setObjectName(QStringLiteral("opt声色"));
    opt声色[i]->setProperty("index", i);
    opt声色[i]->setGeometry(24 + (i / 4) * 180, 20 + (i % 4) * 34, 160, 26);
  }

  // Tab 4: conversion and start-up options.
  f = fra設定[3];
  const char* modes[] = {"漢字等を読み上げる＆抑揚をつける", "漢字等を読み上げる",
                         "文章を音声記号として読み上げる（無変換）"};
  for (int i = 0; i < 3; ++i) {
    opt変換[i] = new QRadioButton(QString::fromUtf8(modes[i]), f);
    opt変換[i]->setObjectName(QStringLiteral("opt変換"));
    opt変換[i]->setProperty("index", i);
    opt変換[i]->setGeometry(16, 16 + i * 30, 390, 26);
  }
  opt変換[0]->setChecked(true);
  chkFLAP = new QCheckBox(QStringLiteral("文章を右端で折り返す"), f);
  chkFLAP->setObjectName(QStringLiteral("chkFLAP"));
  chkFLAP->setGeometry(16, 124, 160, 24);
  chkFILE = new QCheckBox(QStringLiteral("引数をファイル名／オプションとして処理する"), f);
  chkFILE->setObjectName(QStringLiteral("chkFILE"));
  chkFILE->setGeometry(16, 154, 390, 24);
  Label7 = new QLabel(QStringLiteral("再起動後有効になります"), f);
  Label7->setObjectName(QStringLiteral("Label7"));
  // Beside the one setting that needs a restart, so that it is not read as the next one's.
  Label7->setGeometry(180, 125, 226, 22);
  Label7->setBuddy(chkFLAP);
  chkFLAP->setAccessibleDescription(Label7->text());

  // Values the settings file keeps that have no control of their own; never shown.
  fra共通 = new QGroupBox(QStringLiteral("制御用"), this);
  fra共通->setObjectName(QStringLiteral("fra共通"));
  fra共通->setGeometry(8, 320, 300, 40);
  struct Field {
    QLabel** label;
    const char* name;
    const char* caption;
    const char* value;
  };
  const Field fields[] = {{&lblW読音量, "lblW読音量", "音量", "20"},
                          {&lblW読速度, "lblW読速度", "速度", "100"},
                          {&lblW画面X, "lblW画面X", "幅", "640"},
                          {&lblW画面Y, "lblW画面Y", "高さ", "480"}};
  int x = 4;
  for (const Field& fd : fields) {
    auto* caption = new QLabel(QString::fromUtf8(fd.caption), fra共通);
    caption->setGeometry(x, 16, 30, 20);
    *fd.label = new QLabel(QString::fromUtf8(fd.value), fra共通);
    (*fd.label)->setObjectName(QString::fromUtf8(fd.name));
    (*fd.label)->setGeometry(x + 30, 16, 40, 20);
    x += 74;
  }
  fra共通->hide();

  cmd閉じる = new QPushButton(QStringLiteral("閉じる"), this);
  cmd閉じる->setObjectName(QStringLiteral("cmd閉じる"));
  cmd閉じる->setGeometry(340, 324, 92, 28);

  connect(tab設定, &QTabBar::currentChanged, this, [this](int i) { OnTab(i); });
  connect(cmd閉じる, &QPushButton::clicked, this, [this] { Close(); });
  connect(chkTOP, &QCheckBox::toggled, this, [this](bool on) { OnTop(on); });
  connect(cmbサイズ, &QComboBox::currentIndexChanged, this, [this](int i) { OnSize(i); });
  connect(cmb書式, &QComboBox::currentIndexChanged, this, [this](int i) { OnFont(i); });
  for (int i = 0; i < 8; ++i)
    connect(opt声色[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) fra設定[2]->setProperty("Tag", Number(i));
    });
  connect(lst単語, &QListWidget::currentRowChanged, this, [this](int row) { OnWordSelected(row); });
  connect(cmd追加, &QPushButton::clicked, this, [this] {
    if (ValidateWord(lst単語->count(), Mode::Add)) AddWord(lst単語->count());
  });
  connect(cmd変更, &QPushButton::clicked, this, [this] {
    int row = lst単語->currentRow();
    if (ValidateWord(row, Mode::Change)) ChangeWord(row);
  });
  connect(cmd削除, &QPushButton::clicked, this, [this] {
    int row = lst単語->currentRow();
    if (ValidateWord(row, Mode::Delete)) DeleteWord(row);
  });
  // Pasted text may hold line breaks and tabs; they would break the settings file.
  for (QLineEdit* box : {txt単語, txt読み})
    connect(box, &QLineEdit::textChanged, this, [this, box] { KeepOneLine(box); });
  for (int i = 0; i < 2; ++i)
    connect(chkMOV[i], &QPushButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      chkMOV[i]->setChecked(false);
      OnMove(i);
    });
  txt読み->installEventFilter(this);
  // Enter in a text box must not press whichever button comes next (a move button, say).
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
}

// ---------------------------------------------------------------------------------------------
// Loading and saving.

void frm設定::Load() {
  setting_ = std::make_unique<clsSETTING>();
  setting_->programName = main_->ProgramName();
  // Collected, so that LoadSettings names every skipped line in one message.
  setting_->onError = [this](const SettingErrors& errors) { loadErrors_.Merge(errors); };
  FillFontList(main_->ProgramFolder() + "font.ini", cmb書式);
  // A user without write access to the program folder keeps font.ini with the settings.
  if (main_->WritableFolder() != main_->ProgramFolder())
    FillFontList(main_->WritableFolder() + "font.ini", cmb書式);
  // The faces a Linux desktop has, after the names the lists above kept in their places.
  for (const QString& family :
       {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Serif CJK JP"), MonospaceFamily()})
    if (cmb書式->findText(family) < 0) cmb書式->addItem(family);
  for (QGroupBox* frame : fra設定) frame->hide();
  settingsPath_ = main_->WritableFolder() + main_->ProgramName() + ".ini";

  cmb書式->setCurrentIndex(0);
  OnFont(0);
  cmbサイズ->setCurrentIndex(1);
  OnSize(1);
  opt声色[0]->setChecked(true);
  fra設定[2]->setProperty("Tag", QStringLiteral("0"));

  初期共通();
  LoadSettings();

  // A hand-edited file may hold anything: the engine gets values within the sliders' ranges.
  clsMAIN* engine = main_->メイン();
  if (engine) {
    engine->SPEED(std::clamp(Number(lblW読速度->text()), 50, 300));
    engine->VOLUME(std::clamp(Number(lblW読音量->text()), 0, 60));
  }
  int w = Number(lblW画面X->text()) / frmメイン::kTwips;
  int h = Number(lblW画面Y->text()) / frmメイン::kTwips;
  if (w > 0 && h > 0) main_->resize(std::min(w, 8000), std::min(h, 8000));
}

void frm設定::初期共通() {
  if (clsMAIN* engine = main_->メイン()) {
    lblW読速度->setText(Number(engine->SPEED()));
    lblW読音量->setText(Number(engine->VOLUME()));
  }
  if (!(main_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
    lblW画面X->setText(Number(main_->width() * frmメイン::kTwips));
    lblW画面Y->setText(Number(main_->height() * frmメイン::kTwips));
  }
}

void frm設定::LoadSettings() {
  readFailed_ = false;
  loadErrors_ = {};
  std::string bytes, why;
  switch (ReadSettingsFile(settingsPath_, bytes, &why)) {
    case SettingsFileRead::Missing:
      return;
    case SettingsFileRead::Failed:
      readFailed_ = true;
      CurrentPrompts().Message(
          this, QMessageBox::Warning, Q(main_->ProgramName()),
          QStringLiteral("設定ファイル「%1」を読み込めませんでした（%2）。\n"
                         "既定の設定で始めます。このファイルは書き換えません。")
              .arg(Q(settingsPath_), QString::fromStdString(why)));
      return;
    case SettingsFileRead::Read:
      break;
  }
  // Shift_JIS as the program writes it, or UTF-8 as an editor on this system saves it.
  std::vector<std::u32string> all = SplitLines(DecodeTextFile(bytes));
  if (all.empty()) return;

  // The header is looked for below the first line too: a line added above it by hand must
  // not turn the whole file into the older format.
  std::u32string programName = FromUtf8(main_->ProgramName());
  size_t header = all.size();
  for (size_t i = 0; i < all.size(); ++i) {
    size_t tab = all[i].find(U'\t');
    if (tab != std::u32string::npos && all[i].compare(0, tab, programName) == 0) {
      header = i;
      break;
    }
  }
  if (header == all.size()) {
    StringList lines;
    for (auto& line : all) lines.Add(std::move(line));
    ImportOldSettings(lines, bytes);
    ReportLoadErrors(bytes);
    return;
  }
  for (size_t i = 0; i < header; ++i)
    if (!all[i].empty())
      loadErrors_.Add({static_cast<int32_t>(i + 1), kSettingBeforeHeader, all[i], 0});

  std::vector<NumberedLine> lines;
  for (size_t i = header; i < all.size(); ++i)
    lines.push_back({static_cast<int32_t>(i + 1), std::move(all[i])});
  Migrate(lines);
  StringList body;
  std::vector<int32_t> numbers;
  for (size_t i = 1; i < lines.size(); ++i) {
    // Kept, it would be written back as "?" or as another character.
    if (char32_t c = FirstNotStorable(lines[i].text)) {
      loadErrors_.Add({lines[i].number, kSettingNotStorable, lines[i].text, c});
      continue;
    }
    body.Add(std::move(lines[i].text));
    numbers.push_back(lines[i].number);
  }
  setting_->設定読込(this, body, numbers);
  ShowSelectedFrame();
  ReportLoadErrors(bytes);
}

void frm設定::ReportLoadErrors(const std::string& original) {
  if (loadErrors_.Empty()) return;
  // The lines left out are gone from the file written at the end; the copy keeps them.
  std::string bak = settingsPath_ + ".bak";
  bool bakWritten = WriteFileAtomic(bak, original);
  QString text = SettingErrorText(loadErrors_);
  text += bakWritten
              ? QStringLiteral("\n\n元のファイルは「%1」に残しました。").arg(Q(bak))
              : QStringLiteral("\n\n元のファイルの写し「%1」を作れませんでした。").arg(Q(bak));
  loadErrors_ = {};
  CurrentPrompts().Message(this, QMessageBox::Warning, Q(main_->ProgramName()), text);
}

void frm設定::MigrateSettings(StringList& lines) const {
  std::vector<NumberedLine> numbered;
  int32_t n = 0;
  for (auto& line : lines) numbered.push_back({++n, std::move(line)});
  Migrate(numbered);
  lines.Clear();
  for (auto& line : numbered) lines.Add(std::move(line.text));
}

void frm設定::Migrate(std::vector<NumberedLine>& all) const {
  if (all.empty()) return;
  std::vector<std::u32string> fields = SplitText(all[0].text, U'\t');
  int version = fields.size() > 1 ? ParseIntLenient(fields[1]) : 0;
  auto removeLast = [&all](std::u32string_view prefix) {
    for (size_t i = all.size(); i-- > 1;)
      if (StartsWith(all[i].text, prefix)) {
        all.erase(all.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
  };
  // In one pass: erasing line by line takes quadratic time, and a settings file can be big.
  auto removeAll = [&all](std::u32string_view prefix) {
    all.erase(std::remove_if(
                  all.begin() + 1, all.end(),
                  [prefix](const NumberedLine& line) { return StartsWith(line.text, prefix); }),
              all.end());
  };
  if (version < 3) removeLast(U"chkINS");
  if (version < 2) {
    removeAll(U"chkCLIP");
    removeAll(U"chkHOTKEY");
  }
}

void frm設定::ImportOldSettings(const StringList& lines, const std::string& original) {
  // The old file as it was, byte for byte: its line ends and codes are not ours to change.
  WriteFileAtomic(settingsPath_ + ".bak", original);
  std::vector<std::u32string> groups[5];
  int32_t lineNumber = 0;
  for (const std::u32string& line : lines) {
    ++lineNumber;
    size_t tab = line.find(U'\t');
    int32_t group = -1;
    if (tab == std::u32string::npos || !ParseIntStrict(WithoutSpaces(line.substr(0, tab)), group) ||
        group < 0 || group > 4) {
      // Not the older format: the import ends here, as any failure of it does.
      loadErrors_.Add({lineNumber, kSettingNotOldFormat, line, 0});
      return;
    }
    if (char32_t c = FirstNotStorable(line)) {
      loadErrors_.Add({lineNumber, kSettingNotStorable, line, c});
      continue;
    }
    std::u32string value = line.substr(tab + 1);
    groups[group].push_back(value);
    if (group == 1) lst単語->addItem(Q(value));
  }
  auto field = [](const std::vector<std::u32string>& f, size_t i) {
    return i < f.size() ? ParseIntLenient(f[i]) : 0;
  };
  if (!groups[0].empty()) {
    std::vector<std::u32string> f = SplitText(groups[0][0], U'\t');
    chkWW->setChecked(field(f, 0) != 0);
    main_->sld速度->setValue(field(f, 1));
    // The loading step after this applies lblW読速度 to the engine; keep the imported speed.
    lblW読速度->setText(Number(main_->sld速度->value()));
    lblW画面X->setText(Number(field(f, 2)));
    lblW画面Y->setText(Number(field(f, 3)));
  }
  auto select = [](QComboBox* combo, int index) {
    if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
  };
  if (groups[2].empty()) {
    select(cmb書式, 1);
    select(cmbサイズ, 1);
  } else {
    std::vector<std::u32string> f = SplitText(groups[2][0], U'\t');
    select(cmb書式, field(f, 0));
    select(cmbサイズ, field(f, 1));
    chkTOP->setChecked(field(f, 2) != 0);
  }
  if (groups[3].empty()) {
    opt声色[0]->setChecked(true);
  } else {
    int voice = ParseIntLenient(groups[3][0]);
    if (voice >= 0 && voice < 8) opt声色[voice]->setChecked(true);
  }
  if (!groups[4].empty()) {
    std::vector<std::u32string> f = SplitText(groups[4][0], U'\t');
    chkFILE->setChecked(field(f, 0) != 0);
  }
  ShowSelectedFrame();
}

void frm設定::Unload() {
  // A file that could not be read is left as it is: the user was told at the start.
  if (main_->isVisible() && !readFailed_) {
    StringList lines;
    lines.Add(FromUtf8(main_->ProgramName()) + U"\t3");
    if (!setting_->設定書込(this, settingsPath_, lines))
      CurrentPrompts().Message(
          nullptr, QMessageBox::Warning, Q(main_->ProgramName()),
          QStringLiteral("設定を保存できませんでした。\n%1").arg(Q(settingsPath_)));
  }
  setting_.reset();
}

// ---------------------------------------------------------------------------------------------
// Showing, hiding and the option handlers.

bool frm設定::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && !activated_) {
    ShowSelectedFrame();
    activated_ = true;
  }
  return QDialog::event(e);
}

void frm設定::closeEvent(QCloseEvent* e) {
  if (isVisible()) {
    e->ignore();
    Close();
    return;
  }
  QDialog::closeEvent(e);
}

void frm設定::reject() {
  Close();
}

void frm設定::Close() {
  hide();
  activated_ = false;
}

void frm設定::ShowSelectedFrame() {
  OnTab(tab設定->currentIndex());
}

void frm設定::OnTab(int index) {
  if (shownFrame_ >= 0 && shownFrame_ != index) fra設定[shownFrame_]->hide();
  if (index < 0 || index > 3) return;
  fra設定[index]->show();
  shownFrame_ = index;
  if (index == 0) {
    txt単語->clear();
    txt読み->clear();
    if (isVisible()) txt読み->setFocus();
  }
}

void frm設定::OnTop(bool on) {
  bool visible = main_->isVisible();
  main_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing the flag hides a shown window; bring both back.
  if (visible) main_->show();
  if (isVisible()) {
    show();
    raise();
  }
}

void frm設定::OnSize(int index) {
  if (index < 0) return;
  int size = cmbサイズ->itemText(index).toInt();
  if (size <= 0) return;
  QFont font = main_->txt内容[0]->font();
  font.setPointSize(size);
  main_->txt内容[0]->setFont(font);
  main_->txt内容[1]->setFont(font);
}

void frm設定::OnFont(int index) {
  if (index < 0) return;
  QFont font = main_->txt内容[0]->font();
  font.setFamilies(FontFamiliesFor(cmb書式->itemText(index)));
  main_->txt内容[0]->setFont(font);
  main_->txt内容[1]->setFont(font);
}

// ---------------------------------------------------------------------------------------------
// The word list editor.

void frm設定::OnWordSelected(int row) {
  if (row < 0) return;
  std::vector<std::u32string> f = SplitText(U(lst単語->item(row)->text()) + U"\t\t", U'\t');
  txt読み->setText(Q(f[0]));
  txt単語->setText(Q(f[1]));
  chk全半角->setChecked(ParseIntLenient(f[2]) != 0);
}

void frm設定::OnMove(int direction) {
  int row = lst単語->currentRow();
  if (direction == 0) {
    if (row < 1) return;
    QString text = lst単語->item(row)->text();
    lst単語->insertItem(row - 1, text);
    delete lst単語->takeItem(row + 1);
    lst単語->setCurrentRow(row - 1);
  } else {
    if (row < 0 || row >= lst単語->count() - 1) return;
    QString text = lst単語->item(row)->text();
    lst単語->insertItem(row + 2, text);
    delete lst単語->takeItem(row);
    lst単語->setCurrentRow(row + 1);
  }
}

QString frm設定::WordItem() const {
  return WithoutBreaks(txt読み->text()) + QLatin1Char('\t') + WithoutBreaks(txt単語->text()) +
         QLatin1Char('\t') + Number(chk全半角->isChecked() ? 1 : 0);
}

void frm設定::ClearWordFields() {
  txt読み->clear();
  txt単語->clear();
  chk全半角->setChecked(false);
}

void frm設定::AddWord(int position) {
  lst単語->insertItem(position, WordItem());
  ClearWordFields();
}

void frm設定::ChangeWord(int position) {
  QListWidgetItem* item = lst単語->item(position);
  if (!item) return;
  QString text = WordItem();
  // No entry stays selected, as after a removal: selecting a neighbour would fill the fields
  // with its values.
  lst単語->setCurrentRow(-1);
  item->setText(text);
  ClearWordFields();
}

void frm設定::DeleteWord(int position) {
  lst単語->setCurrentRow(-1);
  delete lst単語->takeItem(position);
  ClearWordFields();
}

void frm設定::KeepOneLine(QLineEdit* box) {
  QString text = box->text();
  QString kept = WithoutBreaks(text);
  if (kept == text) return;
  int cursor = box->cursorPosition();
  int removedBefore = cursor - WithoutBreaks(text.left(cursor)).size();
  box->setText(kept);
  box->setCursorPosition(cursor - removedBefore);
}

bool frm設定::ValidateWord(int position, Mode mode) {
  QString message;
  if (position < 0) {
    message = QStringLiteral("一覧を選択をして下さい。");
  } else if (mode != Mode::Delete) {
    if (txt単語->text().isEmpty())
      message = QStringLiteral("単語を入力して下さい。");
    else if (txt読み->text().isEmpty())
      message = lbl読み->text() + QStringLiteral("を入力して下さい。");
  }
  if (mode != Mode::Delete && message.isEmpty()) {
    for (char32_t c : U(txt読み->text()))
      if (!IsReadingCharacter(c)) {
        message = QStringLiteral("よみがなには平仮名または句読点を入力して下さい。");
        break;
      }
  }
  // The settings file is Shift_JIS: such a word would come back as "?" (and then stand for
  // every "?" of the text) or as another character.
  if (mode != Mode::Delete && message.isEmpty()) {
    if (char32_t c = FirstNotStorable(U(txt単語->text()))) {
      message = QStringLiteral("単語の「%1」(%2) は設定ファイルに保存できない文字です。")
                    .arg(Q(std::u32string(1, c)), CodePointText(c));
      std::u32string own = ToCp932Forms(std::u32string(1, c));
      if (own[0] != c && !FirstNotStorable(own))
        message += QStringLiteral("\n代わりに「%1」を使って下さい。").arg(Q(own));
    }
  }
  if (message.isEmpty()) return true;
  hide();
  CurrentPrompts().Message(main_, QMessageBox::Warning, Q(main_->ProgramName()), message);
  show();
  return false;
}

QString ReadingRefusal(char32_t c) {
  QString what;
  if ((c >= U'ァ' && c <= U'ヺ') || (c >= 0xFF66 && c <= 0xFF9D))
    what = QStringLiteral("カタカナ");
  else if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'Ａ' && c <= U'Ｚ') ||
           (c >= U'ａ' && c <= U'ｚ'))
    what = QStringLiteral("英字");
  else if ((c >= U'0' && c <= U'9') || (c >= U'０' && c <= U'９'))
    what = QStringLiteral("数字");
  else
    what = QStringLiteral("「%1」").arg(Q(std::u32string(1, c)));
  return QStringLiteral("よみがなに%1は使えません。読み方をひらがなで入力して下さい。").arg(what);
}

void frm設定::ExplainRefused(char32_t c) {
  lbl読み注意->setText(ReadingRefusal(c));
  CurrentPrompts().Beep();
}

bool frm設定::eventFilter(QObject* watched, QEvent* e) {
  if (watched == txt読み && e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    std::u32string typed = U(key->text());
    if (typed.size() == 1 && typed[0] >= 0x20 && typed[0] != 0x7F &&
        !IsReadingCharacter(typed[0])) {
      ExplainRefused(typed[0]);
      return true;
    }
    if (!typed.empty()) lbl読み注意->clear();
  }
  if (watched == txt読み && e->type() == QEvent::InputMethod) {
    // Text committed by an input method is typed text too: keep its reading characters only.
    auto* im = static_cast<QInputMethodEvent*>(e);
    std::u32string committed = U(im->commitString());
    std::u32string kept;
    for (char32_t c : committed)
      if (IsReadingCharacter(c)) kept.push_back(c);
    if (kept != committed) {
      for (char32_t c : committed)
        if (!IsReadingCharacter(c)) {
          ExplainRefused(c);
          break;
        }
      QInputMethodEvent filtered(im->preeditString(), im->attributes());
      filtered.setCommitString(Q(kept), im->replacementStart(), im->replacementLength());
      static_cast<QLineEdit*>(watched)->event(&filtered);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace kotonel
