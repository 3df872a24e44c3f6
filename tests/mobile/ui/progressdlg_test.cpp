#include "mobile/ui/progressdlg.h"

#include "tests/support/message_recorder.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

TEST(MobileProgressDlg, HasItsIdsTextAndABarFrom0To100) {
  CMobileProgressDlg dialog;
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.objectName(), QStringLiteral("160"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("モバイル作業日誌データ受信中"));
  EXPECT_FALSE(dialog.isModal());
  auto* message = dialog.findChild<QLabel*>(QStringLiteral("1042"));
  auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("1055"));
  ASSERT_TRUE(message && bar);
  EXPECT_EQ(message->text(),
            QStringLiteral("現在、モバイル作業日誌データを受信中です。\n\nしばらくお待ちください...."));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 0);

  dialog.SetPos(55);
  EXPECT_EQ(bar->value(), 55);
  for (const int outside : {-1, 101, 1000}) {
    dialog.SetPos(outside);
    EXPECT_EQ(bar->value(), 55) << outside;
  }
  dialog.SetPos(100);
  EXPECT_EQ(bar->value(), 100);

  // The whole text fits: nothing of it is cut off.
  EXPECT_GE(message->width(), message->sizeHint().width());
  EXPECT_GE(message->height(), message->sizeHint().height());
  EXPECT_TRUE(dialog.rect().contains(message->geometry()));
  EXPECT_TRUE(dialog.rect().contains(bar->geometry()));
  const QString folder = qEnvironmentVariable("HV6_SCREENSHOT_DIR");
  if (!folder.isEmpty()) {
    EXPECT_TRUE(dialog.grab().save(QDir(folder).filePath(QStringLiteral("dialog160.png"))));
  }

  // Only the run ends it.
  EXPECT_FALSE(dialog.close());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  EXPECT_TRUE(dialog.isVisible());
}

TEST(MobileImportWindow, ShowsTheDialogTheWaitCursorAndTheSummary) {
  hv6test::MessageRecorder messages;
  QWidget frame;
  {
    hv6::MobileImportWindow window(&frame);
    ASSERT_TRUE(window.open());
    CMobileProgressDlg* dialog = window.dialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), &frame);
    window.setPos(5);
    EXPECT_EQ(dialog->pos(), 5);

    window.setWaiting(true);
    ASSERT_TRUE(QApplication::overrideCursor());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    window.setWaiting(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    window.showSummary(QStringLiteral("2件のデータを登録しました。\n\n"), 0);
    window.showSummary(QStringLiteral("ヴェルコネットサーバー上の日誌データ削除部分でエラーが発生しました。"), 3);
    ASSERT_EQ(messages.messages().size(), 2);
    EXPECT_EQ(messages.messages()[0].icon, hv6::MsgIcon::Information);
    EXPECT_EQ(messages.messages()[1].icon, hv6::MsgIcon::Warning);
    EXPECT_EQ(messages.messages()[0].parent, &frame);
    EXPECT_EQ(messages.messages()[0].caption, QStringLiteral("Harvo V6 Plus for Windows"));

    window.close();
    EXPECT_EQ(frame.findChild<CMobileProgressDlg*>(), nullptr);
    ASSERT_TRUE(window.open());
    window.setWaiting(true);
  }
  // A run that ends early leaves neither the window nor the cursor behind.
  EXPECT_EQ(frame.findChild<CMobileProgressDlg*>(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
