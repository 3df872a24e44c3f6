#include "shell/ui/splashwnd.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

class SplashWindowTest : public ::testing::Test {
 protected:
  QLineEdit edit;
  CSplashWnd splash{picture()};

  static QImage picture() {
    QImage image(240, 160, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    return image;
  }

  void SetUp() override {
    edit.show();
    splash.ShowSplashScreen();
    ASSERT_TRUE(splash.isVisible());
  }

  void type(Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&edit, &press);
  }
};

TEST_F(SplashWindowTest, CentredAndClosedByAKeyPressItSwallows) {
  EXPECT_EQ(splash.size(), QSize(240, 160));
  EXPECT_EQ(splash.geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
  type(Qt::Key_A, QStringLiteral("a"));
  EXPECT_FALSE(splash.isVisible());
  EXPECT_TRUE(edit.text().isEmpty());
  type(Qt::Key_B, QStringLiteral("b"));  // the splash is gone: input flows again
  EXPECT_EQ(edit.text(), QStringLiteral("b"));
}

TEST_F(SplashWindowTest, ClosedByAMousePressItSwallows) {
  QPushButton button(QStringLiteral("OK"));
  button.show();
  int pressed = 0;
  QObject::connect(&button, &QPushButton::pressed, [&pressed] { ++pressed; });
  const QPointF inside(5, 5);
  QMouseEvent press(QEvent::MouseButtonPress, inside, button.mapToGlobal(inside), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&button, &press);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_EQ(pressed, 0);
}

}  // namespace
