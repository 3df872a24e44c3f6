// The sales host's frame over the real sales library: each window opens
// once, is raised when asked again, and clears its registry entry when it
// closes, with message 1354 reaching the frame.

#include "outside/salehost/hostsettings.h"
#include "outside/salehost/ui/hostservices.h"
#include "outside/salehost/ui/masterwindow.h"
#include "outside/salehost/ui/salemodule.h"
#include "outside/salehost/ui/salesframe.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/registry.h"
#include "tests/outside/salehost/hostregistry.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kLibrary = QStringLiteral(HV6_SLSALE_PATH);

class SalesFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The data set the sales slip window reads its farm-work masters from.
    hv6test::pointHostAtData(hv6::RegistryStore::defaultPath(), data.diaryPath());
    if (HasFatalFailure()) return;
    ASSERT_TRUE(services.open(data.diaryPath())) << services.errorText().toStdString();
    ASSERT_TRUE(module.load(kLibrary)) << module.errorText().toStdString();
    services.handTo(module);
    frame = std::make_unique<salehost::SalesFrame>(module, services);
    frame->resize(1200, 800);
    frame->show();
  }
  void TearDown() override {
    if (frame) frame->closeChildren();
    frame.reset();
  }

  QAction* action(const char* name) {
    auto* found = frame->findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  hv6test::MessageRecorder messages;
  salehost::HostServices services;
  salehost::SaleModule module;
  std::unique_ptr<salehost::SalesFrame> frame;
};

TEST_F(SalesFrameTest, EachModuleWindowOpensOnceFromItsMenuAndClosesWithMessage1354) {
  const std::pair<const char*, short> windows[] = {
      {"E10", 50}, {"E30", 52}, {"E20", 51}, {"E40", 53}, {"E50", 54}};
  for (const auto& [name, id] : windows) {
    action(name)->trigger();
    QWidget* open = module.window(id)->get();
    ASSERT_NE(open, nullptr) << name;
    EXPECT_TRUE(action(name)->isChecked()) << name;
    // Asked again: the same window, raised, not a second one.
    const qsizetype count = frame->mdiArea()->subWindowList().size();
    action(name)->trigger();
    EXPECT_EQ(module.window(id)->get(), open) << name;
    EXPECT_EQ(frame->mdiArea()->subWindowList().size(), count) << name;
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), open) << name;
  }
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 5);
  EXPECT_TRUE(messages.empty());

  // Closing a window resets its entry and tells the frame.
  const int before = frame->childMessages();
  auto* report = qobject_cast<QMdiSubWindow*>(module.window(51)->get());
  ASSERT_NE(report, nullptr);
  report->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return module.window(51)->get() == nullptr; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->childMessages() > before; }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !action("E20")->isChecked(); }));

  EXPECT_TRUE(frame->closeChildren());
  for (const auto& entry : windows) {
    const short id = entry.second;
    EXPECT_TRUE(QTest::qWaitFor([&] { return module.window(id)->get() == nullptr; })) << entry.first;
  }
}

// What the data tools' query-end does to the host (closeChildren): a
// changed slip asks 5102 first; No closes it unsaved, Yes saves it.
TEST_F(SalesFrameTest, AQueryEndAsksToSaveAChangedSlipFirst) {
  sl::S_CLIENTSEL client{};
  client.code = 7;
  sl::slSetText(client.name, QStringLiteral("青果店"));
  ASSERT_EQ(services.store().AppendClient(client), sl::kSlOk);
  const auto changeSlip = [&](const QString& slipNo) {
    action("E30")->trigger();
    QWidget* window = module.window(52)->get();
    ASSERT_NE(window, nullptr);
    auto* number = window->findChild<QLineEdit*>(QStringLiteral("slipNo"));
    auto* code = window->findChild<QLineEdit*>(QStringLiteral("clientCode"));
    ASSERT_TRUE(number && code);
    number->setText(slipNo);
    Q_EMIT number->editingFinished();
    code->setText(QStringLiteral("7"));
    Q_EMIT code->editingFinished();
    messages.clear();
  };
  sl::S_SELSLIPHD stored{};

  changeSlip(QStringLiteral("701"));
  messages.answer(hv6::MsgAnswer::No);
  EXPECT_TRUE(frame->closeChildren());
  EXPECT_EQ(messages.numbers(), QList<long>{5102});
  EXPECT_EQ(services.store().ReadSlipHead(0, QStringLiteral("701").rightJustified(13), stored),
            sl::kSlNotFound);

  EXPECT_TRUE(QTest::qWaitFor([&] { return module.window(52)->get() == nullptr; }));
  changeSlip(QStringLiteral("702"));
  messages.answer(hv6::MsgAnswer::Yes);
  EXPECT_TRUE(frame->closeChildren());
  EXPECT_EQ(messages.numbers().value(0), 5102);
  ASSERT_EQ(services.store().ReadSlipHead(0, QStringLiteral("702").rightJustified(13), stored),
            sl::kSlOk);
  EXPECT_EQ(stored.clientCode, 7);
}

TEST_F(SalesFrameTest, MasterWindowsOpenOnceBesideTheModuleWindows) {
  const char* masters[] = {"clients", "goods", "persons", "shipTos", "company", "environment"};
  for (const char* name : masters) action(name)->trigger();
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 6);
  action("goods")->trigger();
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 6);
  auto* goods = frame->mdiArea()->activeSubWindow();
  ASSERT_NE(goods, nullptr);
  EXPECT_EQ(goods->windowTitle(), QStringLiteral("商品登録"));
  // F8 閉じる closes it; the menu opens a fresh one afterwards.
  auto* window = qobject_cast<salehost::MasterWindow*>(goods->widget());
  ASSERT_NE(window, nullptr);
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  window->findChild<QWidget*>(QStringLiteral("name"))->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->mdiArea()->subWindowList().size() == 5; }));
  action("goods")->trigger();
  EXPECT_EQ(frame->mdiArea()->subWindowList().size(), 6);
}

TEST(SaleModuleTest, AMissingDamagedOrIncompleteLibraryIsRefusedWithAClearText) {
  hv6test::TestEnvironment env;
  salehost::SaleModule missing;
  EXPECT_FALSE(missing.load(env.path(QStringLiteral("libslsale.so"))));
  EXPECT_TRUE(missing.errorText().contains(QStringLiteral("見つかりません")));

  QFile damaged(env.path(QStringLiteral("damaged/libslsale.so")));
  QDir().mkpath(env.path(QStringLiteral("damaged")));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("\x7f" "ELF this is not a library");
  damaged.close();
  salehost::SaleModule broken;
  EXPECT_FALSE(broken.load(damaged.fileName()));
  EXPECT_TRUE(broken.errorText().contains(QStringLiteral("読み込めません")));

  // A real library without the module's exports (the test support's own
  // Qt library stands in for a wrong file).
  salehost::SaleModule wrong;
  const QString other = QStringLiteral(HV6_OTHER_LIBRARY_PATH);
  EXPECT_FALSE(wrong.load(other));
  EXPECT_TRUE(wrong.errorText().contains(QStringLiteral("InitSelSaleDLL")));
  EXPECT_EQ(wrong.init, nullptr);
}

TEST(HostSettingsTest, TheDataPathAndTheHandedOverDayComeFromTheCurrentKey) {
  hv6test::TestEnvironment env;
  hv6::RegistryStore registry(env.registryFile());
  salehost::HostSettings settings;
  EXPECT_EQ(salehost::readHostSettings(registry, settings), salehost::kSettingMissing);

  const QString root = QStringLiteral("Software\\Velqor\\HV6");
  ASSERT_EQ(registry.createKey(root + QStringLiteral("\\Farm2\\Environment\\BaseInfo")),
            hv6::RegStatus::Ok);
  ASSERT_EQ(registry.createKey(root + QStringLiteral("\\Farm2\\Calendar")), hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(root, QStringLiteral("CurrentKEY"), QStringLiteral("Farm2")),
            hv6::RegStatus::Ok);
  EXPECT_EQ(salehost::readHostSettings(registry, settings), salehost::kSettingMissing);
  ASSERT_EQ(registry.writeString(root + QStringLiteral("\\Farm2\\Environment\\BaseInfo"),
                                 QStringLiteral("DataPath"), QStringLiteral("/data/日誌.HV6")),
            hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeDword(root + QStringLiteral("\\Farm2\\Calendar"), QStringLiteral("Date"),
                                20250230),  // no such day
            hv6::RegStatus::Ok);
  ASSERT_EQ(salehost::readHostSettings(registry, settings), 0);
  EXPECT_EQ(settings.diaryPath, QStringLiteral("/data/日誌.HV6"));
  EXPECT_EQ(settings.handedDate, 0);
  EXPECT_EQ(salehost::firstSlipDate(settings, 20261208), 20261208);

  ASSERT_EQ(registry.writeDword(root + QStringLiteral("\\Farm2\\Calendar"), QStringLiteral("Date"),
                                20250615),
            hv6::RegStatus::Ok);
  ASSERT_EQ(salehost::readHostSettings(registry, settings), 0);
  EXPECT_EQ(salehost::firstSlipDate(settings, 20261208), 20250615);
}

}  // namespace
