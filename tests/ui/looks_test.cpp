// What the window shows: icons in the theme's colours, the sliders' values, a size that keeps
// every control visible and on the screen, fonts that exist here, the settings dialog's word
// list and notes, the version box's credits, and clearing only after asking.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSlider>
#include <QtTest/QTest>

#include "harness.h"
#include "ui/frm_settings.h"

namespace kotonel::test {
namespace {

// The colour of the icon's most opaque pixel.
QColor Ink(const QLabel* label) {
  QImage img = label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  QColor best(Qt::transparent);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QColor c = img.pixelColor(x, y);
      if (c.alpha() > best.alpha()) best = c;
    }
  return best;
}

TEST(Looks, IconsFollowThePaletteTextColour) {
  Harness h;
  frmメイン& w = h.Start();
  QPalette dark = w.palette();
  dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
  dark.setColor(QPalette::Window, QColor(30, 30, 30));
  w.setPalette(dark);
  for (QLabel* icon : {w.img音量, w.img速度}) {
    QColor ink = Ink(icon);
    EXPECT_GT(ink.lightness(), 200) << icon->objectName().toStdString();
  }
  QPalette light = w.palette();
  light.setColor(QPalette::WindowText, QColor(10, 10, 10));
  w.setPalette(light);
  for (QLabel* icon : {w.img音量, w.img速度})
    EXPECT_LT(Ink(icon).lightness(), 60) << icon->objectName().toStdString();
}

TEST(Looks, SliderValuesShowBesideTheSliders) {
  Harness h;
  frmメイン& w = h.Start();
  w.sld音量->setValue(33);
  w.sld速度->setValue(150);
  EXPECT_EQ(w.lbl音量値->text(), QStringLiteral("33"));
  EXPECT_EQ(w.lbl速度値->text(), QStringLiteral("150"));
  EXPECT_TRUE(w.lbl音量値->isVisible());
  EXPECT_TRUE(w.lbl速度値->isVisible());
}

TEST(Looks, SmallestWindowKeepsEveryControlVisible) {
  Harness h;
  frmメイン& w = h.Start();
  w.resize(10, 10);
  QApplication::processEvents();
  QWidget* inner = w.centralWidget();
  QRect area = inner->rect();
  for (QWidget* c : std::initializer_list<QWidget*>{
           w.chk再生, w.chk停止, w.chk中止, w.chk次行, w.chk前行, w.chk録音, w.img音量, w.sld音量,
           w.lbl音量値, w.img速度, w.sld速度, w.lbl速度値}) {
    EXPECT_TRUE(area.contains(c->geometry())) << c->objectName().toStdString();
  }
  EXPECT_GE(w.sld音量->width(), 40);
  EXPECT_GE(w.sld速度->width(), 40);
  EXPECT_GT(w.テキスト()->height(), 0);
}

TEST(Looks, AScreenTooNarrowForOneRowStillShowsEveryControl) {
  // 1280 × 800 with QT_SCALE_FACTOR=3 leaves 426 × 266: the sliders take a row of their own.
  Harness h;
  frmメイン& w = h.Start();
  const QSize screen(1280 / 3, 800 / 3 - 30);  // less a title bar
  EXPECT_LE(w.minimumWidth(), screen.width());
  EXPECT_LE(w.minimumHeight(), screen.height());
  w.resize(screen);
  QApplication::processEvents();
  QRect area = w.centralWidget()->rect();
  const std::vector<QWidget*> controls = {w.chk再生,   w.chk停止, w.chk中止, w.chk次行,
                                          w.chk前行,   w.chk録音, w.img音量, w.sld音量,
                                          w.lbl音量値, w.img速度, w.sld速度, w.lbl速度値};
  for (QWidget* c : controls) {
    EXPECT_TRUE(area.contains(c->geometry())) << c->objectName().toStdString();
    EXPECT_GE(c->y(), w.テキスト()->height()) << c->objectName().toStdString();
    for (QWidget* other : controls) {
      if (other == c) continue;
      EXPECT_FALSE(c->geometry().intersects(other->geometry()))
          << c->objectName().toStdString() << " " << other->objectName().toStdString();
    }
  }
  EXPECT_GE(w.sld音量->width(), 40);
  EXPECT_GE(w.sld速度->width(), 40);
  EXPECT_GT(w.テキスト()->height(), 0);
  // Wide enough again, one row as before.
  w.resize(800, 500);
  QApplication::processEvents();
  EXPECT_EQ(w.sld音量->y(), w.chk再生->y() + 1);
}

TEST(Looks, RestoredSizeFitsTheScreen) {
  Harness h;
  // A size saved on a larger screen (in twips, as the settings file keeps it).
  WriteFileAtomic(h.SettingsPath(), "");
  frmメイン& w = h.Start(false);
  QRect area = w.screen()->availableGeometry();
  w.resize(area.width() * 3, area.height() * 3);
  w.move(area.right() + 500, area.bottom() + 500);
  w.FitToScreen();
  EXPECT_LE(w.frameGeometry().width(), area.width());
  EXPECT_LE(w.frameGeometry().height(), area.height());
  EXPECT_TRUE(area.contains(w.frameGeometry())) << w.frameGeometry().x();
}

TEST(Looks, RestoredSizeFitsTheScreenWithTheFrameAddedOnShowing) {
  // The size is fitted while the window is still hidden, when its frame (title bar, borders)
  // is not yet known; a size that fills the screen then reaches past its edge once shown.
  Harness h;
  WriteFileAtomic(h.SettingsPath(), "");
  frmメイン& w = h.Start(false);
  QRect area = w.screen()->availableGeometry();
  w.resize(area.size());
  w.move(area.topLeft());
  w.FitToScreen();
  ASSERT_EQ(w.frameGeometry(), w.geometry());  // no frame before showing
  w.show();
  QApplication::processEvents();
  ASSERT_NE(w.frameGeometry().size(), w.size());  // the frame is there now
  EXPECT_TRUE(area.contains(w.frameGeometry()))
      << w.frameGeometry().width() << "x" << w.frameGeometry().height() << " in " << area.width()
      << "x" << area.height();
}

TEST(Fonts, LinuxFacesOfferedAndMinchoIsSerif) {
  Harness h;
  WriteFileAtomic(h.WritableFolder() + "font.ini", "IPAexGothic\r\n");
  frmメイン& w = h.Start();
  QComboBox* fonts = w.Settings()->cmb書式;
  EXPECT_GE(fonts->findText(QStringLiteral("Noto Sans CJK JP")), 0);
  EXPECT_GE(fonts->findText(QStringLiteral("Noto Serif CJK JP")), 0);
  EXPECT_GE(fonts->findText(MonospaceFamily()), 0);
  EXPECT_GE(fonts->findText(QStringLiteral("IPAexGothic")), 0);  // from the settings folder
  // The four names first, in their places.
  EXPECT_EQ(fonts->itemText(1), QStringLiteral("ＭＳ Ｐ明朝"));
  EXPECT_TRUE(
      FontFamiliesFor(QStringLiteral("ＭＳ 明朝")).contains(QStringLiteral("Noto Serif CJK JP")));
  EXPECT_FALSE(
      FontFamiliesFor(QStringLiteral("ＭＳ 明朝")).contains(QStringLiteral("Noto Sans CJK JP")));
  fonts->setCurrentIndex(fonts->findText(QStringLiteral("ＭＳ Ｐ明朝")));
  QFontInfo shown(w.テキスト()->font());
  if (QFontDatabase::families().contains(QStringLiteral("Noto Serif CJK JP"))) {
    EXPECT_EQ(shown.family(), QStringLiteral("Noto Serif CJK JP"));
  }

  QComboBox* sizes = w.Settings()->cmbサイズ;
  EXPECT_EQ(sizes->itemText(1), QStringLiteral("11"));
  int largest = 0;
  for (int i = 0; i < sizes->count(); ++i) largest = std::max(largest, sizes->itemText(i).toInt());
  EXPECT_GE(largest, 48);
  sizes->setCurrentIndex(sizes->findText(QStringLiteral("48")));
  EXPECT_EQ(w.テキスト()->font().pointSize(), 48);
}

TEST(SettingsDialog, RestartNoteSitsBesideWrapAndWordListShowsColumns) {
  Harness h;
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  // The note is on 折り返す's row, not under the next check box.
  EXPECT_EQ(s.Label7->text(), QStringLiteral("再起動後有効になります"));
  EXPECT_LT(std::abs(s.Label7->geometry().center().y() - s.chkFLAP->geometry().center().y()), 6);
  EXPECT_FALSE(s.chkFLAP->geometry().intersects(s.Label7->geometry()));
  EXPECT_EQ(WidthFlagText(QStringLiteral("1")), QStringLiteral("区別"));
  EXPECT_EQ(WidthFlagText(QStringLiteral("0")), QString());
}

// Types text as a keyboard with that character on a key would.
void Type(QWidget* w, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

TEST(SettingsDialog, ReadingBoxSaysWhyItRefusesACharacter) {
  Harness h;
  frmメイン& w = h.Start();
  frm設定& s = *w.Settings();
  s.show();
  s.txt読み->setFocus();
  Type(s.txt読み, QStringLiteral("ね"));
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ね"));
  EXPECT_TRUE(s.lbl読み注意->text().isEmpty());
  Type(s.txt読み, QStringLiteral("コ"));
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ね"));
  EXPECT_TRUE(s.lbl読み注意->text().contains(QStringLiteral("カタカナ")));
  Type(s.txt読み, QStringLiteral("a"));
  EXPECT_TRUE(s.lbl読み注意->text().contains(QStringLiteral("英字")));
  Type(s.txt読み, QStringLiteral("7"));
  EXPECT_TRUE(s.lbl読み注意->text().contains(QStringLiteral("数字")));
  Type(s.txt読み, QStringLiteral("こ"));
  EXPECT_EQ(s.txt読み->text(), QStringLiteral("ねこ"));
  EXPECT_TRUE(s.lbl読み注意->text().isEmpty());
}

TEST(VersionBox, CreditsEveryDataSourceInFullWidthKatakana) {
  Harness h;
  frmメイン& w = h.Start();
  w.M_Version->trigger();
  ASSERT_EQ(h.prompts.messages.size(), 1u);
  EXPECT_EQ(h.prompts.messages[0].title, QStringLiteral("Kotonelのバージョン情報"));
  const QString& text = h.prompts.messages[0].text;
  for (const char* credit : {"UniDic", "CMU Pronouncing Dictionary", "Unihan", "mei_normal",
                             "nitech_jp_atr503_m001", "CC BY 3.0", "LGPL", "Unicode License"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(credit))) << credit;
}

TEST(ClearText, StopWhileIdleAsksFirstAndStaysUndoable) {
  Harness h;
  frmメイン& w = h.Start();
  w.テキスト()->setPlainText(QStringLiteral("長い文章"));
  h.prompts.answer = false;
  w.chk中止->click();
  ASSERT_EQ(h.prompts.questions.size(), 1u);
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("長い文章"));
  EXPECT_FALSE(w.chk中止->isChecked());
  EXPECT_TRUE(w.chk中止->isEnabled());

  h.prompts.answer = true;
  w.chk中止->click();
  EXPECT_EQ(h.prompts.questions.size(), 2u);
  EXPECT_EQ(w.テキスト()->toPlainText(), QString());
  w.テキスト()->undo();
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("長い文章"));

  // Nothing to clear: nothing asked.
  w.テキスト()->clear();
  w.chk中止->click();
  EXPECT_EQ(h.prompts.questions.size(), 2u);

  // Pressed by a command or by closing: cleared without a question that would hold them up,
  // and still undoable.
  w.テキスト()->setPlainText(QStringLiteral("命令で消す"));
  w.chk中止->setChecked(true);
  EXPECT_EQ(h.prompts.questions.size(), 2u);
  EXPECT_EQ(w.テキスト()->toPlainText(), QString());
  w.テキスト()->undo();
  EXPECT_EQ(w.テキスト()->toPlainText(), QStringLiteral("命令で消す"));
}

}  // namespace
}  // namespace kotonel::test
