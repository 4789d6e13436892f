#include "ui/prompts.h"

#include <QApplication>
#include <QDialog>

namespace kotonel {

namespace {
Prompts realPrompts;
Prompts* current = &realPrompts;
}  // namespace

void Prompts::Message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                      const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

void Prompts::Notice(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                     const QString& text) {
  auto* box = new QMessageBox(icon, title, text, QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->show();
}

bool Prompts::Ask(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void Prompts::Beep() {
  QApplication::beep();
}

void Prompts::ShowModal(QDialog& dialog) {
  dialog.exec();
}

Prompts& CurrentPrompts() {
  return *current;
}

void SetPrompts(Prompts* prompts) {
  current = prompts ? prompts : &realPrompts;
}

}  // namespace kotonel
