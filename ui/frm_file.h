// The program's own file chooser: places (the root, the home folder and mounted volumes), the
// folders of the current path, the files that match the pattern and a name box. It hands back
// one full path, or nothing when the user cancels; it opens and writes nothing itself, and
// remembers where it was used last because it is only hidden between uses.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kotonel {

class frmファイル : public QDialog {
 public:
  frmファイル(QWidget* parent, QString programName = QStringLiteral("Kotonel"));

  void SAVE(bool save);
  void FILTER(const QString& pattern);
  const QString& PATH() const { return path_; }
  const QString& DIR() const { return dir_; }
  const QString& FILE() const { return name_; }

  // The folder the lists show, as the folder list holds it ("/" for the root).
  const QString& Folder() const { return folder_; }
  // Moves the lists to folder; false (and nothing changes) when it cannot be read.
  bool SetFolder(const QString& folder);
  // Chooses place index of the place list, going back to the current folder's place when that
  // place cannot be opened.
  void ChooseDrive(int index);
  // Hands the typed name back, or opens it when it names a folder.
  void Confirm();
  void Cancel();

  // The ten characters a file name may not contain, in the order the message lists them.
  static const QString& ExcludedCharacters();

  QComboBox* drvドライブ = nullptr;
  QListWidget* dirフォルダ = nullptr;
  QListWidget* fleファイル = nullptr;
  QLineEdit* txtファイル = nullptr;
  QPushButton* cmd実行 = nullptr;
  QPushButton* cmd閉じる = nullptr;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void FillPlaces();
  void FillFolders();
  void FillFiles();
  void SelectPlaceOf(const QString& folder);

  QString programName_;
  // Whether name matches the pattern (any of its ';'-separated parts), whatever the case.
  bool Matches(const QString& name) const;

  bool save_ = false;
  QString pattern_ = QStringLiteral("*.*");
  QString folder_;
  QString path_, dir_, name_;
  bool loaded_ = false;
};

}  // namespace kotonel
