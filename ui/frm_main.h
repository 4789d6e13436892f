// The main window: the text to read, the six toggle buttons that steer the reading, the volume
// and speed sliders and the menus. It owns the engine and runs the reading loop inside the play
// button's click; every other handler runs nested inside it while a line is spoken.
#pragma once

#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/clsMAIN.h"
#include "util/lists.h"

class QAction;
class QLabel;
class QMenu;
class QSlider;

namespace kotonel {

class CommandWindow;
class frm設定;
class frmファイル;
class frmヘルプ;

struct MainSetup {
  std::string programName = "Kotonel";  // caption, message titles, settings file stem
  std::string programFolder;            // with '/': readme.txt, font.ini
  std::string writableFolder;           // with '/': the settings file
  std::string dictionaryFolder;         // with '/'
  std::u32string commandLine;           // the text after the program path
  // Makes the engine; the default makes the real one on the dictionary folder.
  std::function<std::unique_ptr<clsMAIN>(MessagePump pump)> makeEngine;
  CommandWindow* commands = nullptr;
};

// A text box that takes files dropped on it and selects everything on Ctrl+A.
//
// A very long line is shown cut into blocks of about kPieceLength characters, at sentence ends
// where it has them: laying out one block of millions of characters would hold the window for
// a minute. Such a cut is only on screen: the block after it is marked as continuing its line,
// and the text read aloud, copied or dragged out (PlainText) has no line end there.
class TextBox : public QPlainTextEdit {
 public:
  explicit TextBox(QWidget* parent);
  std::function<void(const std::vector<std::string>& paths)> onFilesDropped;
  // Told while a long text goes in, between pieces of it (characters done, of total); the
  // window runs there. Returning false stops the insertion where it is.
  std::function<bool(qsizetype done, qsizetype total)> onProgress;

  // Lines longer than this are cut for display.
  static constexpr int kLongLine = 2000;
  static constexpr int kPieceLength = 1000;
  // The window gets a turn after about this many characters have gone in.
  static constexpr qsizetype kChunk = 1 << 20;

  // Replaces the cursor's selection by text as one undo step, cutting long lines for display
  // and telling onProgress between chunks. False when onProgress stopped it.
  bool InsertText(QTextCursor& cursor, const QString& text);
  // The text as the user wrote it: every line end, no display cut. from/to are positions in
  // the document (to = -1: its end).
  QString PlainText(int from = 0, int to = -1) const;
  // Line numbers of the text (0-based) against the document's blocks.
  int LineOfBlock(int blockNumber) const;
  int LineCount() const;
  // Whether the block goes on the line of the block before it.
  static bool Continues(const QTextBlock& block);
  // Marks line number (0-based; -1 for none) as the one being read and scrolls it into view
  // when it is outside; the user's cursor and selection stay where they are.
  void MarkReadingLine(int number);
  int MarkedLine() const { return marked_; }
  // Whether the user put the cursor somewhere (a click or a movement key) since the text last
  // changed: reading then starts at its line.
  bool CursorPlaced() const { return placed_; }

 protected:
  QMimeData* createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData* source) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  // The first block of every line, worked out again after the text has changed.
  const std::vector<int>& LineStarts() const;
  bool ctrl_ = false;
  int marked_ = -1;
  bool placed_ = false;
  mutable std::vector<int> lineStarts_;
  mutable bool linesKnown_ = false;
};

class frmメイン : public QMainWindow {
 public:
  explicit frmメイン(MainSetup setup);
  ~frmメイン() override;

  // The start-up steps. False when the process is to end at once (a second instance, or a
  // dictionary that failed to load: exitCode tells which).
  bool Load();
  int exitCode = 0;

  clsMAIN* メイン() { return objMAIN.get(); }
  TextBox* テキスト() { return txt内容[activeIndex_]; }
  // True while a text is going into the text box (a long one lets the window run meanwhile).
  bool IsLoadingText() const { return loading_ > 0; }
  void M_Mokuji_Click();
  void M_QUIT_Click() { close(); }
  void M_Version_Click();

  // Shared with the settings dialog and the command window.
  const std::string& ProgramName() const { return setup_.programName; }
  const std::string& ProgramFolder() const { return setup_.programFolder; }
  const std::string& WritableFolder() const { return setup_.writableFolder; }
  const QString& VersionText() const { return versionText_; }
  frm設定* Settings() { return settings_; }
  frmファイル* FileChooser();
  frmヘルプ* Help() { return help_; }
  bool IsClosing() const { return closing_; }
  bool IsSecondInstance() const { return secondInstance_; }
  int ActiveIndex() const { return activeIndex_; }

  // Replaces the whole text of the active text box as one edit, so that Ctrl+Z brings the
  // previous text back. A long text goes in piece by piece with its progress in the status
  // line; the window repaints and the command queue takes in what arrives meanwhile (it obeys
  // it once the text is in). User input waits until then.
  void ReplaceText(const QString& text);
  // Sets the active text box to lines joined by line feeds (through ReplaceText).
  void SetTextLines(const StringList& lines);
  // Reads each file (UTF-8 or Shift_JIS) and sets the text box to all their lines. A file that
  // is missing or cannot be read (a folder, no permission) is named in a message and adds no
  // lines; when no file could be read the text stays as it was. False when any file failed.
  bool OpenFiles(const std::vector<std::string>& paths);
  // The most text that 開く or a drop puts in, in bytes of the files: the window holds about
  // thirteen times a text's size while it shows and reads it (660 MB for 50 MB of one line),
  // so a bigger text would take more memory than a desktop has to give.
  static constexpr qint64 kLargestText = qint64(256) << 20;

  // Reading loop pieces, public for the command window and the tests.
  void ReadAloud();
  std::u32string PrepareLine(const std::u32string& line) const;
  void LoadUserWords();
  void StepBack(const std::vector<std::u32string>& lines, int& i, int n) const;
  bool IsSpeakable(const std::u32string& line) const;
  void RecoverTempFiles();
  // Tells the user once when others may write into the settings folder; nothing goes there.
  void CheckWritableFolder();
  void LayoutControls();
  // The size below which a button or slider would be cut off.
  QSize SmallestSize() const;
  // Shrinks and moves the window so that it lies on its screen's free area.
  void FitToScreen();
  // Shows line index (0-based) of count as the one being read; index -1 clears the mark.
  void ShowReadingLine(int index, int count);
  QLabel* lbl進行 = nullptr;  // the status line: which line is being read

  // Twips per pixel, for the sizes kept in the settings file.
  static constexpr int kTwips = 15;

  TextBox* txt内容[2] = {};
  QPushButton* chk再生 = nullptr;
  QPushButton* chk停止 = nullptr;
  QPushButton* chk中止 = nullptr;
  QPushButton* chk次行 = nullptr;
  QPushButton* chk前行 = nullptr;
  QPushButton* chk録音 = nullptr;
  QSlider* sld音量 = nullptr;
  QSlider* sld速度 = nullptr;
  QLabel* img音量 = nullptr;
  QLabel* img速度 = nullptr;
  QLabel* lbl音量値 = nullptr;  // the sliders' values
  QLabel* lbl速度値 = nullptr;
  QMenu* M_File = nullptr;
  QAction* M_Open = nullptr;
  QAction* M_Quit = nullptr;
  QMenu* M_Option = nullptr;
  QAction* M_Set = nullptr;
  QMenu* M_HELP = nullptr;
  QAction* M_Mokuji = nullptr;
  QAction* M_Version = nullptr;
  // The reading actions, for the keyboard: each presses its button.
  QMenu* M_Read = nullptr;
  QAction* M_Play = nullptr;
  QAction* M_Pause = nullptr;
  QAction* M_Stop = nullptr;
  QAction* M_Next = nullptr;
  QAction* M_Prev = nullptr;
  QAction* M_Record = nullptr;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildControls();
  void BuildMenus();
  void BuildReadingMenu();
  void SetAccessibleNames();
  void On再生(bool pressed);
  void On停止(bool pressed);
  void On中止(bool pressed);
  void OnMove(QPushButton* button, bool pressed);
  void On録音(bool pressed);
  void On音量(int value);
  void On速度(int value);
  void M_Open_Click();
  void M_Set_Click();
  // The chosen path, or empty when the user cancelled.
  std::string ChooseFile(bool save, const QString& filter);
  void OnWait();
  // Fits the window to the screen again when the frame round it has changed.
  void FitWithFrame();
  // The progress of a long text going into the text box, in the status line; lets the window
  // run. False once the window is closing.
  bool ShowLoading(qsizetype done, qsizetype total);

  MainSetup setup_;
  std::unique_ptr<clsMAIN> objMAIN;
  QString versionText_;
  int activeIndex_ = 0;
  bool closing_ = false;
  // Set while the user holds 中止 down: only a press by hand asks before clearing the text.
  bool stopPressedByHand_ = false;
  bool secondInstance_ = false;
  int readingDepth_ = 0;  // > 0 while ReadAloud runs
  bool releaseEngineLater_ = false;
  StringList readings_;  // the user word table
  StringList words_;
  IntList widthFlags_;
  frm設定* settings_ = nullptr;
  frmファイル* file_ = nullptr;
  frmヘルプ* help_ = nullptr;
  bool layingOut_ = false;
  // The window manager's frame as last seen: it is known only once the window is shown.
  QSize frameExtras_;
  int loading_ = 0;  // > 0 while ReplaceText or a paste is inserting
};

// Text comparison that ignores letter case, character width and kana type: the form each
// character is compared in.
char32_t TextCompareForm(char32_t c);

}  // namespace kotonel
