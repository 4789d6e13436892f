// The settings dialog: reading options, display, voice, conversion mode and the user word
// list. Its controls are the configuration: the other windows read them when they need an
// option, and the settings file is its controls' values, restored at load and written at the
// program's end.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "settings/clsSETTING.h"
#include "util/lists.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace kotonel {

class frmメイン;

// Fills combo with the font names listed in path, one per line, skipping the four built-in
// names and empty lines.
void FillFontList(const std::string& path, QComboBox* combo);
// Why a character cannot go into a reading, in plain words.
QString ReadingRefusal(char32_t c);
// The word list's 全/半角 column for a stored flag.
QString WidthFlagText(const QString& flag);
// The font families tried, in order, for a name in the font list.
QStringList FontFamiliesFor(const QString& name);
// The system's fixed-width family.
QString MonospaceFamily();
// The characters a reading may hold.
bool IsReadingCharacter(char32_t c);
// text without line breaks and tabs: a word or reading is one field of one line of the
// settings file.
QString WithoutBreaks(const QString& text);

class frm設定 : public QDialog {
 public:
  explicit frm設定(frmメイン* main);
  ~frm設定() override;

  // The load steps: defaults, the stored settings, then speed, volume and window size.
  void Load();
  // The final unload at the program's end: writes the settings file while the main window is
  // visible.
  void Unload();

  QListWidget* WORD() { return lst単語; }
  void 初期共通();

  enum class Mode { Add, Change, Delete };
  bool ValidateWord(int position, Mode mode);
  void AddWord(int position);
  // Replaces the entry at position by the fields, in place.
  void ChangeWord(int position);
  void DeleteWord(int position);
  // Reads the settings file (Shift_JIS or UTF-8) and applies it; whatever cannot be applied is
  // named in one message and the file is kept as it was in NAME.bak.
  void LoadSettings();
  void MigrateSettings(StringList& lines) const;
  // original: the file's bytes, copied to NAME.bak as they are.
  void ImportOldSettings(const StringList& lines, const std::string& original);
  const std::string& SettingsPath() const { return settingsPath_; }
  clsSETTING& Setting() { return *setting_; }

  // The controls, by the names the settings file knows them by.
  QTabBar* tab設定 = nullptr;
  QGroupBox* fra設定[4] = {};
  QGroupBox* fra共通 = nullptr;
  QPushButton* cmd閉じる = nullptr;
  QLineEdit* txt単語 = nullptr;
  QLineEdit* txt読み = nullptr;
  QLabel* lbl単語 = nullptr;
  QLabel* lbl読み = nullptr;
  QCheckBox* chk全半角 = nullptr;
  QPushButton* cmd追加 = nullptr;
  QPushButton* cmd変更 = nullptr;
  QPushButton* cmd削除 = nullptr;
  QListWidget* lst単語 = nullptr;
  QPushButton* chkMOV[2] = {};
  QCheckBox* chkWW = nullptr;
  QCheckBox* chkTOP = nullptr;
  QComboBox* cmb書式 = nullptr;
  QComboBox* cmbサイズ = nullptr;
  QRadioButton* opt声色[8] = {};
  QRadioButton* opt変換[3] = {};
  QCheckBox* chkFLAP = nullptr;
  QCheckBox* chkFILE = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* lbl読み注意 = nullptr;  // why a character was refused in よみがな
  QLabel* lblW読音量 = nullptr;
  QLabel* lblW読速度 = nullptr;
  QLabel* lblW画面X = nullptr;
  QLabel* lblW画面Y = nullptr;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;  // Esc hides the dialog like its close button
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ExplainRefused(char32_t c);
  void Build();
  void OnTab(int index);
  void ShowSelectedFrame();
  void OnTop(bool on);
  void OnSize(int index);
  void OnFont(int index);
  void OnWordSelected(int row);
  void OnMove(int direction);
  void Close();
  QString WordItem() const;
  void ClearWordFields();
  void KeepOneLine(QLineEdit* box);

  struct NumberedLine {
    int32_t number;  // in the file, from 1
    std::u32string text;
  };
  void Migrate(std::vector<NumberedLine>& lines) const;
  // Names every line left out in one message, and keeps the file as it was in NAME.bak.
  void ReportLoadErrors(const std::string& original);

  frmメイン* main_;
  std::unique_ptr<clsSETTING> setting_;
  std::string settingsPath_;
  bool activated_ = false;
  int shownFrame_ = -1;
  SettingErrors loadErrors_;
  // The file was there but could not be read: it is not replaced at the end.
  bool readFailed_ = false;
};

}  // namespace kotonel
