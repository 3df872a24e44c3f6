#include "outside/picview6/ui/viewerwindow.h"

#include "outside/picview6/ui/inputfile.h"
#include "outside/picview6/ui/pictureview.h"
#include "outside/vqbase106/ui/calendarbox.h"
#include "tests/outside/picview6/testpictures.h"
#include "tests/support/scripted_chooser.h"
#include "tests/support/test_env.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using namespace picview6test;

// Grey with a dark band: effects change it visibly.
QImage scene() {
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(qRgb(110, 130, 120));
  for (int y = 120; y < 180; ++y)
    for (int x = 0; x < 400; ++x) image.setPixel(x, y, qRgb(40, 50, 45));
  return image;
}

class ViewerWindowTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  QString picture;

  void SetUp() override {
    picture = env.path(QStringLiteral("畑の 写真.jpg"));
    ASSERT_TRUE(scene().save(picture, "JPG", 95));
  }

  static void show(QWidget& window) {
    window.resize(800, 500);
    window.show();
    QCoreApplication::processEvents();
  }

  template <typename T>
  static T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
};

TEST_F(ViewerWindowTest, ThePictureIsFittedAtTheRateAndTheEffectsChangeIt) {
  CViewerWin window;
  window.Create(nullptr, 2000, 1332, 1333);
  window.SetPicturePath(picture);
  show(window);
  CPictureView* view = window.pictureView();
  ASSERT_EQ(view->fault(), picview6::PictureFault::None);
  const QImage fitted = view->shownImage();
  const QSize area = view->viewport()->size();
  EXPECT_TRUE(fitted.width() == area.width() - 4 || fitted.height() == area.height() - 4 ||
              fitted.size() == QSize(400, 300));
  EXPECT_LE(fitted.width(), area.width());

  const QRgb before = fitted.pixel(fitted.width() / 2, 10);
  child<QSlider>(window, "bright")->setValue(60);
  const QRgb brighter = view->shownImage().pixel(fitted.width() / 2, 10);
  EXPECT_GT(qGray(brighter), qGray(before) + 40);
  EXPECT_EQ(window.GetEftLevel(0), 60);
  child<QSlider>(window, "contrast")->setValue(-100);
  EXPECT_EQ(qGray(view->shownImage().pixel(fitted.width() / 2, fitted.height() / 2)),
            qGray(view->shownImage().pixel(fitted.width() / 2, 10)));
  child<QPushButton>(window, "resetEffects")->click();
  EXPECT_EQ(view->shownImage().pixel(fitted.width() / 2, 10), before);

  long rate = 0;
  EXPECT_EQ(window.GetDispRate(rate), 0);  // nothing chosen yet
  window.SetDispRate(200, 1);
  EXPECT_EQ(view->shownImage().size(), fitted.size() * 2);
  EXPECT_EQ(window.GetDispRate(rate), 1);
  EXPECT_EQ(rate, 200);
  // A stored rate outside the list keeps an entry of its own; a choice sets
  // the flag.
  window.SetDispRate(80, 0);
  auto* rates = child<QComboBox>(window, "rate");
  EXPECT_EQ(rates->currentData().toInt(), 80);
  EXPECT_EQ(window.GetDispRate(rate), 0);
  rates->activated(rates->findData(50));
  EXPECT_EQ(window.GetDispRate(rate), 1);
  EXPECT_EQ(rate, 50);
}

TEST_F(ViewerWindowTest, AMovedOrBrokenFileShowsAPlaceholderWithItsPath) {
  const QString gone = env.path(QStringLiteral("移動した/写真 1.jpg"));
  CViewerWin window;
  window.Create(nullptr, 2000, 1332, 1333);
  window.SetPicturePath(gone);
  show(window);
  EXPECT_EQ(window.pictureView()->fault(), picview6::PictureFault::Missing);
  EXPECT_FALSE(window.pictureView()->shownImage().isNull());
  EXPECT_EQ(child<QLabel>(window, "path")->text(), gone);
  EXPECT_EQ(window.GetPicturePath(), gone);

  const QString text = env.path(QStringLiteral("メモ.jpg"));
  ASSERT_TRUE(writeFile(text, "no picture"));
  window.SetPicturePath(text);
  EXPECT_EQ(window.pictureView()->fault(), picview6::PictureFault::Unreadable);
  EXPECT_FALSE(window.pictureView()->shownImage().isNull());
}

TEST_F(ViewerWindowTest, FieldsGoInAndComeBackOutWithTextsCutToTheirBuffer) {
  CViewerWin window;
  window.Create(nullptr, 2000, 1332, 1333);
  window.SetTitle(QStringLiteral("トマトの定植"));
  window.SetMemo(QStringLiteral("南の畑\n二列目"));
  window.SetDate(2025, 6, 12);
  window.SetEftLevel(2, 35);
  window.SetEftLevel(1, 900);  // brought into range
  EXPECT_EQ(window.GetTitle(), QStringLiteral("トマトの定植"));
  EXPECT_EQ(window.GetMemo(), QStringLiteral("南の畑\n二列目"));
  int y = 0, m = 0, d = 0;
  window.GetDate(y, m, d);
  EXPECT_EQ(QList<int>({y, m, d}), QList<int>({2025, 6, 12}));
  EXPECT_EQ(window.GetEftLevel(2), 35);
  EXPECT_EQ(window.GetEftLevel(1), CEftDib::kMaxLevel);
  window.SetTitle(QString(200, QChar(0x7551)));  // 400 bytes in code page 932
  EXPECT_EQ(window.GetTitle().size(), 127);
}

TEST_F(ViewerWindowTest, ADateTheBoxCannotShowIsKeptUntilTheUserPicksOne) {
  CViewerWin window;
  window.Create(nullptr, 2000, 1332, 1333);
  window.SetDate(2025, 2, 30);
  int y = 0, m = 0, d = 0;
  window.GetDate(y, m, d);
  EXPECT_EQ(QList<int>({y, m, d}), QList<int>({2025, 2, 30}));
  auto* box = child<CCalendarBox>(window, "date");
  box->findChild<QSpinBox*>(QStringLiteral("month"))->setValue(3);
  window.GetDate(y, m, d);
  EXPECT_EQ(m, 3);
  EXPECT_GE(d, 1);
  EXPECT_LE(d, 31);
}

TEST_F(ViewerWindowTest, SaveAndDeleteSendTheirMessages) {
  CViewerWin window;
  window.Create(nullptr, 2000, 1332, 1333);
  QSignalSpy spy(&window, &CPictureWindow::notified);
  child<QPushButton>(window, "save")->click();
  child<QPushButton>(window, "delete")->click();
  ASSERT_EQ(spy.size(), 2);
  EXPECT_EQ(spy[0][0].toInt(), 1332);
  EXPECT_EQ(spy[1][0].toInt(), 1333);
  EXPECT_EQ(window.objectName(), QStringLiteral("2000"));
}

TEST_F(ViewerWindowTest, TheImportWindowOffersTheDateTakenBesideTheCalendarsDate) {
  const QString taken = env.path(QStringLiteral("撮影 日.jpg"));
  ASSERT_TRUE(writeFile(taken, jpegWithExif(scene(), QStringLiteral("2023:07:14 09:30:00"), 1)));
  auto* window = new CViewerEdit;
  window->Create(nullptr, 3000, 1327, 1328, 1329);
  window->EnableDelete(0);
  window->SetDate(2025, 6, 12);
  window->SetOrgPicturePath(taken);
  window->SetPicturePath(taken);
  show(*window);
  EXPECT_EQ(window->takenDate(), 20230714);
  auto* given = child<QRadioButton>(*window, "givenDate");
  auto* takenChoice = child<QRadioButton>(*window, "takenDate");
  EXPECT_TRUE(given->isVisible());
  EXPECT_TRUE(given->isChecked());
  int y = 0, m = 0, d = 0;
  window->GetDate(y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20250612);
  takenChoice->click();
  window->GetDate(y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20230714);
  given->click();
  window->GetDate(y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20250612);
  EXPECT_FALSE(child<QPushButton>(*window, "delete")->isEnabled());

  QSignalSpy spy(window, &CPictureWindow::notified);
  child<QPushButton>(*window, "save")->click();
  ASSERT_EQ(spy.size(), 1);
  EXPECT_EQ(spy[0][0].toInt(), 1327);
  EXPECT_EQ(spy[0][1].toInt(), 1);
  window->close();  // deletes itself; the close message goes out
  ASSERT_EQ(spy.size(), 2);
  EXPECT_EQ(spy[1][0].toInt(), 1328);

  // Without a date taken there is nothing to offer.
  CViewerEdit plain;
  plain.Create(nullptr, 3000, 1327, 1328, 1329);
  plain.SetDate(2025, 6, 12);
  plain.SetPicturePath(picture);
  show(plain);
  EXPECT_EQ(plain.takenDate(), 0);
  EXPECT_FALSE(child<QRadioButton>(plain, "takenDate")->isVisible());
}

TEST_F(ViewerWindowTest, TheInputFileChooserTakesSeveralFilesWithAPreview) {
  hv6test::ScriptedChooser chooser;
  chooser.answerFiles({picture, env.path(QStringLiteral("b.png"))});
  CInputFile input;
  ASSERT_TRUE(input.InputFileDlg(nullptr, nullptr, 1, nullptr));
  QStringList files;
  input.GetInputFiles(files);
  EXPECT_EQ(files, QStringList({picture, env.path(QStringLiteral("b.png"))}));
  ASSERT_EQ(chooser.choices().size(), 1);
  const hv6::FileChoice& choice = chooser.choices().first();
  ASSERT_TRUE(bool(choice.preview));
  EXPECT_EQ(choice.preview(picture, QSize(100, 100)).size(), QSize(100, 75));
  EXPECT_EQ(choice.preview(env.path(QStringLiteral("none.jpg")), QSize(100, 100)).size(),
            QSize(100, 100));  // the placeholder
  EXPECT_FALSE(input.InputFileDlg(nullptr, nullptr, 1, nullptr));  // cancelled
}

}  // namespace
