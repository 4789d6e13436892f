// The help window: readme.txt from the program folder under a title line. It reads the file
// once, at its first showing, and is only hidden between uses.
#pragma once

#include <QWidget>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kotonel {

class frmヘルプ : public QWidget {
 public:
  // The title is the main window's caption when the help is first shown; helpFile is readme.txt.
  frmヘルプ(QWidget* mainWindow, std::string helpFile = {});

  // Loads at the first call, then shows and raises the window.
  void ShowHelp();
  bool IsLoaded() const { return loaded_; }

  QLabel* lblタイトル = nullptr;
  QPlainTextEdit* txtHELP = nullptr;
  QPushButton* cmd閉じる = nullptr;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void LoadHelp();

  QWidget* main_;
  std::string helpFile_;
  bool loaded_ = false;
};

}  // namespace kotonel
