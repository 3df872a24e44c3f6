#include "outside/hrvcom106/version.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QLabel* labelOf(const QDialog& dialog, int id) {
  return dialog.findChild<QLabel*>(QString::number(id));
}

QIcon squareIcon() {
  QPixmap pixmap(48, 48);
  pixmap.fill(Qt::darkGreen);
  return QIcon(pixmap);
}

TEST(Version, ShowsTheProgramsNameTheVersionAndTheIcon) {
  CVersion dialog(QStringLiteral("Harvo V6 Plus for Windows"), QStringLiteral("6.05.01"),
                  squareIcon());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
  ASSERT_NE(labelOf(dialog, CVersion::kIdProgramName), nullptr);
  EXPECT_EQ(labelOf(dialog, CVersion::kIdProgramName)->text(),
            QStringLiteral("Harvo V6 Plus for Windows"));
  EXPECT_EQ(labelOf(dialog, CVersion::kIdVersion)->text(), QStringLiteral("バージョン 6.05.01"));
  EXPECT_FALSE(labelOf(dialog, CVersion::kIdIcon)->pixmap().isNull());

  dialog.show();
  if (qEnvironmentVariableIsSet("HV6_SHOTS")) {
    QDir().mkpath(QStringLiteral("/tmp/shots"));
    dialog.grab().save(QStringLiteral("/tmp/shots/version.png"));
  }
  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("1"));
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(Version, WithoutAnyIconTheIconPlaceIsHidden) {
  CVersion dialog(QStringLiteral("Harvo V6 Plus for Windows"), QStringLiteral("6.05.01"));
  dialog.show();
  EXPECT_FALSE(labelOf(dialog, CVersion::kIdIcon)->isVisible());
}

}  // namespace
