#include "ui/frm_file.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QStyle>

#include "ui/prompts.h"

namespace kotonel {

namespace {

constexpr int kFolderRole = Qt::UserRole;

QString Parent(const QString& folder) {
  if (folder == QStringLiteral("/")) return folder;
  int slash = folder.lastIndexOf(QLatin1Char('/'));
  return slash <= 0 ? QStringLiteral("/") : folder.left(slash);
}

}  // namespace

const QString& frmファイル::ExcludedCharacters() {
  static const QString chars = QStringLiteral("\\/:;*?\"<>|");
  return chars;
}

frmファイル::frmファイル(QWidget* parent, QString programName)
    : QDialog(parent), programName_(std::move(programName)) {
  setObjectName(QStringLiteral("frmファイル"));
  setWindowTitle(QStringLiteral("ファイル選択"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFixedSize(520, 360);

  drvドライブ = new QComboBox(this);
  drvドライブ->setObjectName(QStringLiteral("drvドライブ"));
  drvドライブ->setGeometry(8, 8, 240, 26);
  dirフォルダ = new QListWidget(this);
  dirフォルダ->setObjectName(QStringLiteral("dirフォルダ"));
  dirフォルダ->setGeometry(8, 40, 240, 240);
  fleファイル = new QListWidget(this);
  fleファイル->setObjectName(QStringLiteral("fleファイル"));
  fleファイル->setGeometry(256, 8, 256, 272);
  auto* nameCaption = new QLabel(QStringLiteral("ファイル名"), this);
  nameCaption->setGeometry(8, 290, 80, 26);
  txtファイル = new QLineEdit(this);
  txtファイル->setObjectName(QStringLiteral("txtファイル"));
  txtファイル->setGeometry(90, 290, 422, 26);
  cmd実行 = new QPushButton(QStringLiteral("実行"), this);
  cmd実行->setObjectName(QStringLiteral("cmd実行"));
  cmd実行->setGeometry(312, 324, 96, 28);
  cmd実行->setDefault(true);
  cmd閉じる = new QPushButton(QStringLiteral("キャンセル"), this);
  cmd閉じる->setObjectName(QStringLiteral("cmd閉じる"));
  cmd閉じる->setGeometry(416, 324, 96, 28);
  nameCaption->setBuddy(txtファイル);
  drvドライブ->setAccessibleName(QStringLiteral("場所"));
  dirフォルダ->setAccessibleName(QStringLiteral("フォルダ"));
  fleファイル->setAccessibleName(QStringLiteral("ファイル"));
  txtファイル->setAccessibleName(QStringLiteral("ファイル名"));
  cmd閉じる->setAccessibleName(QStringLiteral("キャンセル"));

  FillPlaces();
  connect(drvドライブ, &QComboBox::activated, this, [this](int i) { ChooseDrive(i); });
  connect(dirフォルダ, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { SetFolder(item->data(kFolderRole).toString()); });
  connect(fleファイル, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { txtファイル->setText(item->text()); });
  // Only a file the user picks replaces the name: the list taking the focus makes a current
  // item without selecting it, and must not overwrite what was typed.
  connect(fleファイル, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> picked = fleファイル->selectedItems();
    if (!picked.isEmpty()) txtファイル->setText(picked.first()->text());
  });
  connect(fleファイル, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    txtファイル->setText(item->text());
    Confirm();
  });
  connect(cmd実行, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cmd閉じる, &QPushButton::clicked, this, [this] { Cancel(); });
}

void frmファイル::FillPlaces() {
  drvドライブ->clear();
  drvドライブ->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), QStringLiteral("/（ルート）"),
                       QStringLiteral("/"));
  QString home = QDir::homePath();
  drvドライブ->addItem(style()->standardIcon(QStyle::SP_DirHomeIcon),
                       QStringLiteral("ホーム（%1）").arg(home), home);
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    QString root = volume.rootPath();
    if (!volume.isValid() || root == QStringLiteral("/")) continue;
    // Removable media and extra disks, not the system's own mounts.
    bool user = root.startsWith(QStringLiteral("/media/")) ||
                root.startsWith(QStringLiteral("/mnt/")) ||
                root.startsWith(QStringLiteral("/run/media/"));
    if (!user) continue;
    QString name = volume.displayName();
    drvドライブ->addItem(style()->standardIcon(QStyle::SP_DriveCDIcon),
                         QStringLiteral("%1（%2）").arg(name, root), root);
  }
}

void frmファイル::SelectPlaceOf(const QString& folder) {
  int best = 0, bestLength = 0;
  for (int i = 0; i < drvドライブ->count(); ++i) {
    QString root = drvドライブ->itemData(i).toString();
    bool inside =
        folder == root || root == QStringLiteral("/") || folder.startsWith(root + QLatin1Char('/'));
    if (inside && root.size() > bestLength) {
      best = i;
      bestLength = static_cast<int>(root.size());
    }
  }
  drvドライブ->setCurrentIndex(best);
}

void frmファイル::ChooseDrive(int index) {
  QString root = drvドライブ->itemData(index).toString();
  if (!SetFolder(root)) SelectPlaceOf(folder_);
}

bool frmファイル::SetFolder(const QString& folder) {
  QString clean = QDir::cleanPath(folder);
  QFileInfo info(clean);
  if (clean.isEmpty() || !info.isDir() || !info.isReadable() || !QDir(clean).isReadable())
    return false;
  folder_ = clean;
  SelectPlaceOf(folder_);
  FillFolders();
  FillFiles();
  return true;
}

void frmファイル::FillFolders() {
  dirフォルダ->clear();
  QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  // The path from the root down to the current folder, then the folders inside it.
  QStringList chain;
  for (QString f = folder_;; f = Parent(f)) {
    chain.prepend(f);
    if (f == QStringLiteral("/")) break;
  }
  int depth = 0;
  for (const QString& f : chain) {
    QString name = f == QStringLiteral("/") ? f : f.mid(f.lastIndexOf(QLatin1Char('/')) + 1);
    auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name);
    item->setData(kFolderRole, f);
    dirフォルダ->addItem(item);
    ++depth;
  }
  dirフォルダ->setCurrentRow(dirフォルダ->count() - 1);
  QDir dir(folder_);
  const QStringList subs =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& sub : subs) {
    auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + sub);
    item->setData(kFolderRole, folder_ == QStringLiteral("/") ? QLatin1Char('/') + sub
                                                              : folder_ + QLatin1Char('/') + sub);
    dirフォルダ->addItem(item);
  }
}

bool frmファイル::Matches(const QString& name) const {
  // Patterns match whatever the letter case, as users of "*.txt" expect of "A.TXT".
  const QStringList patterns = pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (const QString& p : patterns) {
    QRegularExpression m(QRegularExpression::wildcardToRegularExpression(p.trimmed()),
                         QRegularExpression::CaseInsensitiveOption);
    if (m.match(name).hasMatch()) return true;
  }
  return false;
}

void frmファイル::FillFiles() {
  fleファイル->clear();
  if (folder_.isEmpty()) return;
  QDir dir(folder_);
  const QStringList files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : files)
    if (Matches(name)) fleファイル->addItem(name);
}

void frmファイル::SAVE(bool save) {
  save_ = save;
  cmd実行->setText(save ? QStringLiteral("保存") : QStringLiteral("開く"));
  cmd実行->setAccessibleName(cmd実行->text());
}

void frmファイル::FILTER(const QString& pattern) {
  pattern_ = pattern.isEmpty() ? QStringLiteral("*") : pattern;
  FillFiles();
}

void frmファイル::Confirm() {
  QString name = txtファイル->text();
  // A full path typed in: its folder becomes the current one and the rest is the name.
  if (name.startsWith(QLatin1Char('/'))) {
    QString full = QDir::cleanPath(name);
    if (QFileInfo(full).isDir()) {
      if (SetFolder(full))
        txtファイル->clear();
      else
        CurrentPrompts().Message(this, QMessageBox::Warning, programName_,
                                 QStringLiteral("フォルダを開けませんでした。\n") + full);
      return;
    }
    QString folder = Parent(full);
    if (!SetFolder(folder)) {
      CurrentPrompts().Message(this, QMessageBox::Warning, programName_,
                               QStringLiteral("フォルダが見つかりません。\n") + folder);
      return;
    }
    name = full.mid(full.lastIndexOf(QLatin1Char('/')) + 1);
    txtファイル->setText(name);
  }
  QString message;
  if (name.isEmpty()) message = QStringLiteral("ファイル名を入力して下さい。");
  for (QChar c : ExcludedCharacters())
    if (name.contains(c)) {
      message = QStringLiteral("ファイル名には次の文字は使えません。\n") + ExcludedCharacters();
      break;
    }
  if (!message.isEmpty()) {
    CurrentPrompts().Message(this, QMessageBox::Warning, programName_, message);
    return;
  }
  // A folder's name (also ".." and ".") opens that folder, as in other file dialogs: no folder
  // is a file to open or to record into.
  QString target =
      folder_ == QStringLiteral("/") ? QLatin1Char('/') + name : folder_ + QLatin1Char('/') + name;
  if (QFileInfo(target).isDir()) {
    if (SetFolder(target)) {
      txtファイル->clear();
    } else {
      CurrentPrompts().Message(this, QMessageBox::Warning, programName_,
                               QStringLiteral("フォルダを開けませんでした。\n") + target);
    }
    return;
  }
  if (save_) {
    // A single "*.ext" pattern names the kind of file written: the name gets that ending here,
    // so that the file asked about below is the one that will be written.
    const QString ext = pattern_.startsWith(QStringLiteral("*.")) ? pattern_.mid(1) : QString();
    if (!ext.isEmpty() && !ext.contains(QLatin1Char(';')) && !ext.contains(QLatin1Char('*')) &&
        !name.endsWith(ext, Qt::CaseInsensitive)) {
      name += ext;
      target += ext;
    }
    if (QFileInfo(target).isDir()) {
      CurrentPrompts().Message(this, QMessageBox::Warning, programName_,
                               QStringLiteral("同じ名前のフォルダがあります。\n") + target);
      return;
    }
    if (QFileInfo::exists(target) &&
        !CurrentPrompts().Ask(this, programName_,
                              QStringLiteral("「%1」は既にあります。上書きしますか？").arg(target)))
      return;
  }
  dir_ = folder_;
  name_ = name;
  path_ = dir_ + QLatin1Char('/') + name_;
  hide();
}

void frmファイル::Cancel() {
  path_.clear();
  dir_.clear();
  name_.clear();
  hide();
}

void frmファイル::reject() {
  Cancel();
}

void frmファイル::closeEvent(QCloseEvent* e) {
  Cancel();
  // Closed by its close box: the next use starts afresh, as a newly loaded window would.
  loaded_ = false;
  e->accept();
}

void frmファイル::showEvent(QShowEvent* e) {
  if (!loaded_) {
    loaded_ = true;
    FillPlaces();
    if (dir_.isEmpty() || !SetFolder(dir_)) SetFolder(QDir::currentPath());
    if (!dir_.isEmpty()) txtファイル->setText(name_);
  } else if (!folder_.isEmpty() && !SetFolder(folder_)) {
    // Folders made or removed since the last use show; a folder that went away gives way to
    // the working folder.
    SetFolder(QDir::currentPath());
  }
  // A name chosen for the other kind of file (a recording offered to 開く) is not kept.
  if (!Matches(txtファイル->text())) txtファイル->clear();
  QDialog::showEvent(e);
  txtファイル->setFocus();
  txtファイル->selectAll();
}

}  // namespace kotonel
