// Everything a window does that needs the user's attention or blocks: message boxes, the
// beep and modal showing. The program uses the real ones; tests put in their own, so that a
// window can be driven without anybody clicking OK.
#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

namespace kotonel {

class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                       const QString& text);
  // A message that waits for nobody: shown, and the caller goes on at once.
  virtual void Notice(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                      const QString& text);
  virtual void Beep();
  // Asks a yes/no question; true when the user answers yes. No is the default answer.
  virtual bool Ask(QWidget* parent, const QString& title, const QString& text);
  // Shows the dialog modally; returns when it has been hidden.
  virtual void ShowModal(QDialog& dialog);
};

// The prompts every window uses; never null.
Prompts& CurrentPrompts();
// Replaces them (nullptr restores the real ones); the caller keeps ownership.
void SetPrompts(Prompts* prompts);

// Conversions at the Qt edge.
inline QString Q(const std::u32string& s) {
  return QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size()));
}
inline QString Q(const std::string& utf8) {
  return QString::fromStdString(utf8);
}
inline std::u32string U(const QString& s) {
  return s.toStdU32String();
}

}  // namespace kotonel
