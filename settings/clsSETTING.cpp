#include "settings/clsSETTING.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <cerrno>
#include <cstring>

#include "util/encoding.h"
#include "util/files.h"
#include "util/strings.h"
#include "util/width.h"

namespace kotonel {

namespace {

QString Q(const std::u32string& s) {
  return QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size()));
}

std::u32string U(const QString& s) {
  return s.toStdU32String();
}

// The window's controls in its own order: depth first, each parent before its children, in
// the order they were created. Qt's own helper widgets (unnamed, or named "qt_...") are not
// controls of the window.
QList<QWidget*> ControlsOf(QWidget* window) {
  QList<QWidget*> controls;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
    if (clsSETTING::TypeName(w).empty()) continue;
    controls.append(w);
  }
  return controls;
}

// -1 when the control is not an element of a control array.
int IndexOf(const QWidget* control) {
  QVariant v = control->property("index");
  bool ok = false;
  int index = v.isValid() ? v.toInt(&ok) : -1;
  return ok ? index : -1;
}

bool ParseBool(const std::u32string& text, bool& value) {
  std::u32string t = ToLowerAscii(text);
  while (!t.empty() && t.front() == U' ') t.erase(t.begin());
  while (!t.empty() && t.back() == U' ') t.pop_back();
  if (t == U"true") {
    value = true;
    return true;
  }
  if (t == U"false") {
    value = false;
    return true;
  }
  int32_t n = 0;
  if (!ParseIntStrict(t, n)) return false;
  value = n != 0;
  return true;
}

bool ParseNumber(const std::u32string& text, int32_t& value) {
  std::u32string t = text;
  while (!t.empty() && t.front() == U' ') t.erase(t.begin());
  while (!t.empty() && t.back() == U' ') t.pop_back();
  return ParseIntStrict(t, value);
}

// A value as one line of the file: the reader would cut it at a CR or LF.
std::u32string OneLine(std::u32string value) {
  std::erase_if(value, [](char32_t c) { return c == U'\r' || c == U'\n'; });
  return value;
}

QString Reason(const SettingError& e) {
  switch (e.number) {
    case kSettingTypeMismatch:
      return QStringLiteral("値を読み取れません");
    case kSettingNoSuchElement:
      return QStringLiteral("その番号の部品がありません");
    case kSettingNoSuchControl:
      return QStringLiteral("その名前の部品がありません");
    case kSettingBadLine:
      return QStringLiteral("「名前 タブ 番号 タブ 値」の形ではありません");
    case kSettingBeforeHeader:
      return QStringLiteral("見出しの行より前にあります");
    case kSettingNotStorable:
      return QStringLiteral("Shift_JIS で保存できない文字「%1」(%2) があります")
          .arg(Q(std::u32string(1, e.character)), CodePointText(e.character));
    case kSettingNotOldFormat:
      return QStringLiteral("古い形式の行ではありません");
    default:
      return QString();
  }
}

// The line as the message shows it: tabs as spaces, and not too long.
QString Shown(const std::u32string& line) {
  QString text = Q(line);
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  constexpr int kMax = 40;
  if (text.size() > kMax) text = text.left(kMax) + QStringLiteral("…");
  return text;
}

}  // namespace

QString CodePointText(char32_t c) {
  return QStringLiteral("U+") +
         QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

void SettingErrors::Add(SettingError error) {
  ++count;
  if (listed.size() >= kListed) return;
  // Only what the message shows is kept of the line.
  if (error.line.size() > 64) error.line.resize(64);
  listed.push_back(std::move(error));
}

void SettingErrors::Merge(const SettingErrors& other) {
  count += other.count;
  listed.insert(listed.end(), other.listed.begin(), other.listed.end());
  std::stable_sort(listed.begin(), listed.end(), [](const SettingError& a, const SettingError& b) {
    return a.lineNumber < b.lineNumber;
  });
  if (listed.size() > kListed) listed.resize(kListed);
}

QString SettingErrorText(const SettingErrors& errors) {
  QString text =
      QStringLiteral("設定の読み込みでエラーが発生しました。次の行は読み込まずに飛ばしました。");
  for (const SettingError& e : errors.listed) {
    text += QStringLiteral("\n%1行目（エラー番号 %2: %3）「%4」")
                .arg(e.lineNumber)
                .arg(e.number)
                .arg(Reason(e), Shown(e.line));
  }
  if (errors.count > errors.listed.size())
    text += QStringLiteral("\nほか %1 行")
                .arg(static_cast<qulonglong>(errors.count - errors.listed.size()));
  return text;
}

char32_t FirstNotStorable(std::u32string_view text) {
  for (char32_t c : text) {
    int code = Cp932Code(c);
    if (code < 0 || FromCp932Code(code) != c) return c;
  }
  return 0;
}

SettingsFileRead ReadSettingsFile(const std::string& path, std::string& bytes, std::string* why) {
  bytes.clear();
  auto fail = [why](const std::string& reason) {
    if (why) *why = reason;
    return SettingsFileRead::Failed;
  };
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return SettingsFileRead::Missing;
    return fail(std::strerror(errno));
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return fail("フォルダーです");
  if (!S_ISREG(st.st_mode)) return fail("普通のファイルではありません");
  // Far beyond any word list a person keeps; a bigger file is not ours.
  constexpr off_t kLimit = off_t{256} << 20;
  if (st.st_size > kLimit) return fail("大きすぎます");
  try {
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return fail(std::strerror(errno));
      if (n == 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
      if (static_cast<off_t>(bytes.size()) > kLimit) return fail("大きすぎます");
    }
  } catch (const std::exception&) {
    bytes.clear();
    return fail("メモリーが足りません");
  }
  return SettingsFileRead::Read;
}

std::string clsSETTING::TypeName(const QWidget* c) {
  if (qobject_cast<const QLineEdit*>(c) || qobject_cast<const QPlainTextEdit*>(c) ||
      qobject_cast<const QTextEdit*>(c))
    return "textbox";
  if (auto* s = qobject_cast<const QAbstractSlider*>(c)) {
    if (!qobject_cast<const QSlider*>(c) && !qobject_cast<const QScrollBar*>(c)) return "";
    return s->orientation() == Qt::Vertical ? "vscrollbar" : "hscrollbar";
  }
  if (qobject_cast<const QRadioButton*>(c)) return "optionbutton";
  if (qobject_cast<const QCheckBox*>(c)) return "checkbox";
  // A push button that stays down is a check box drawn as a button.
  if (auto* b = qobject_cast<const QPushButton*>(c))
    return b->isCheckable() ? "checkbox" : "commandbutton";
  if (qobject_cast<const QComboBox*>(c)) return "combobox";
  if (qobject_cast<const QListWidget*>(c)) return "listbox";
  if (qobject_cast<const QLabel*>(c)) return "label";
  if (qobject_cast<const QGroupBox*>(c)) return "frame";
  if (qobject_cast<const QTabBar*>(c) || qobject_cast<const QTabWidget*>(c)) return "tabstrip";
  if (qobject_cast<const QFrame*>(c)) return "frame";
  return "shape";
}

bool clsSETTING::設定書込(QWidget* objFRM, const std::string& strFILE, StringList& colINI) {
  for (QWidget* c : ControlsOf(objFRM)) {
    std::u32string name = U(c->objectName());
    int index = IndexOf(c);
    std::u32string head = OneLine(name) + U"\t" +
                          (index >= 0 ? FromUtf8(std::to_string(index)) : std::u32string()) + U"\t";
    if (name == U"txt項目" || name == U"txt単語") continue;
    std::string type = TypeName(c);
    if (type == "textbox") {
      QString text;
      if (auto* e = qobject_cast<QLineEdit*>(c))
        text = e->text();
      else if (auto* p = qobject_cast<QPlainTextEdit*>(c))
        text = p->toPlainText();
      else if (auto* t = qobject_cast<QTextEdit*>(c))
        text = t->toPlainText();
      colINI.Add(head + OneLine(U(text)));
    } else if (type == "hscrollbar" || type == "vscrollbar") {
      colINI.Add(head + FromUtf8(std::to_string(qobject_cast<QAbstractSlider*>(c)->value())));
    } else if (type == "checkbox") {
      auto* b = qobject_cast<QAbstractButton*>(c);
      int value = b->isChecked() ? 1 : 0;
      if (auto* box = qobject_cast<QCheckBox*>(c))
        value = box->checkState() == Qt::Checked            ? 1
                : box->checkState() == Qt::PartiallyChecked ? 2
                                                            : 0;
      colINI.Add(head + FromUtf8(std::to_string(value)));
    } else if (type == "optionbutton") {
      colINI.Add(head + (qobject_cast<QAbstractButton*>(c)->isChecked() ? U"True" : U"False"));
    } else if (type == "combobox") {
      colINI.Add(head + FromUtf8(std::to_string(qobject_cast<QComboBox*>(c)->currentIndex())));
    } else if (type == "listbox") {
      auto* list = qobject_cast<QListWidget*>(c);
      for (int i = 0; i < list->count(); ++i) colINI.Add(head + OneLine(U(list->item(i)->text())));
    } else if (type == "label") {
      if (name.substr(0, 4) == U"lblW")
        colINI.Add(head + OneLine(U(qobject_cast<QLabel*>(c)->text())));
    }
  }
  return WriteLines(strFILE, colINI);
}

void clsSETTING::設定読込(QWidget* objFRM, const StringList& colINI,
                          const std::vector<int32_t>& lineNumbers) {
  QList<QWidget*> controls = ControlsOf(objFRM);
  SettingErrors errors;
  int32_t position = 0;
  for (const std::u32string& line : colINI) {
    size_t at = static_cast<size_t>(position++);
    int32_t lineNumber = at < lineNumbers.size() ? lineNumbers[at] : position + 1;
    auto skip = [&](int number) { errors.Add({lineNumber, number, line, 0}); };
    if (line.empty()) continue;  // holds nothing to lose
    size_t tab1 = line.find(U'\t');
    size_t tab2 = tab1 == std::u32string::npos ? tab1 : line.find(U'\t', tab1 + 1);
    if (tab2 == std::u32string::npos) {
      skip(kSettingBadLine);
      continue;
    }
    QString name = Q(line.substr(0, tab1));
    std::u32string indexText = line.substr(tab1 + 1, tab2 - tab1 - 1);
    std::u32string value = line.substr(tab2 + 1);

    int32_t index = -1;
    if (!indexText.empty() && !ParseNumber(indexText, index)) {
      skip(kSettingTypeMismatch);
      continue;
    }
    QWidget* control = nullptr;
    bool nameFound = false;
    for (QWidget* c : controls) {
      if (c->objectName() != name) continue;
      nameFound = true;
      if (IndexOf(c) == index) {
        control = c;
        break;
      }
    }
    if (!control) {
      skip(nameFound && index >= 0 ? kSettingNoSuchElement : kSettingNoSuchControl);
      continue;
    }

    std::string type = TypeName(control);
    int32_t number = 0;
    bool flag = false;
    if (type == "textbox") {
      if (auto* e = qobject_cast<QLineEdit*>(control))
        e->setText(Q(value));
      else if (auto* p = qobject_cast<QPlainTextEdit*>(control))
        p->setPlainText(Q(value));
      else if (auto* t = qobject_cast<QTextEdit*>(control))
        t->setPlainText(Q(value));
    } else if (type == "hscrollbar" || type == "vscrollbar") {
      if (!ParseNumber(value, number)) {
        skip(kSettingTypeMismatch);
        continue;
      }
      // A hand-edited value outside the range is taken to the nearest end.
      qobject_cast<QAbstractSlider*>(control)->setValue(number);
    } else if (type == "checkbox") {
      if (!ParseNumber(value, number)) {
        skip(kSettingTypeMismatch);
        continue;
      }
      if (number < 0 || number > 2) continue;  // out of range: ignored
      if (auto* box = qobject_cast<QCheckBox*>(control))
        box->setCheckState(number == 2   ? Qt::PartiallyChecked
                           : number == 1 ? Qt::Checked
                                         : Qt::Unchecked);
      else
        qobject_cast<QAbstractButton*>(control)->setChecked(number != 0);
    } else if (type == "optionbutton") {
      if (!ParseBool(value, flag)) {
        skip(kSettingTypeMismatch);
        continue;
      }
      qobject_cast<QAbstractButton*>(control)->setChecked(flag);
    } else if (type == "combobox") {
      if (!ParseNumber(value, number)) {
        skip(kSettingTypeMismatch);
        continue;
      }
      auto* combo = qobject_cast<QComboBox*>(control);
      // An index outside the list (a shorter font.ini since, say) is ignored.
      if (number < -1 || number >= combo->count()) continue;
      combo->setCurrentIndex(number);
    } else if (type == "listbox") {
      qobject_cast<QListWidget*>(control)->addItem(Q(value));
    } else if (type == "label") {
      qobject_cast<QLabel*>(control)->setText(Q(value));
    }
  }
  if (!errors.Empty()) Report(errors);
}

void clsSETTING::Report(const SettingErrors& errors) {
  if (onError) {
    onError(errors);
    return;
  }
  QMessageBox::warning(nullptr, QString::fromStdString(programName), SettingErrorText(errors));
}

}  // namespace kotonel
