// The dial-up controller with the real dial library against the
// NetworkManager stand-in.
#include "weather/dialuplink.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/remoteaccess.h"
#include "tests/support/nm_standin.h"
#include "tests/weather/weather_fixture.h"
#include "weather/ui/weathenv.h"

namespace {

using namespace std::chrono_literals;
using hv6::MsgAnswer;

// Python for the stand-in: a line that stays activating until moved.
const QString kSlowActivation = QStringLiteral(
    "ret = self.activate_connection(self, args[0], args[1], args[2])\n"
    "objects[ret].Set('org.freedesktop.NetworkManager.Connection.Active', 'State', "
    "dbus.UInt32(1))");

// Runs act once a visible dial dialog satisfies ready.
class WhenDialDialog {
 public:
  WhenDialDialog(std::function<bool()> ready, std::function<void(QDialog*)> act) {
    QObject::connect(&timer_, &QTimer::timeout, [this, ready, act] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->objectName() == QStringLiteral("RasDialDlg") &&
            ready()) {
          timer_.stop();
          seen_ = true;
          act(dialog);
          return;
        }
      }
    });
    timer_.start(10);
  }
  bool seen() const { return seen_; }

 private:
  QTimer timer_;
  bool seen_ = false;
};

class DialUpLinkTest : public hv6test::CommSettingsTest {
 protected:
  hv6test::NetworkManagerStandIn nm;

  void SetUp() override {
    CommSettingsTest::SetUp();
    ASSERT_TRUE(nm.error().isEmpty()) << qPrintable(nm.error());
    ASSERT_TRUE(nm.startManager()) << qPrintable(nm.error());
    setInstallPath(QStringLiteral(HV6_DIALNT6_DIR));
    storeLink(hv6::kConnectDialUp, hv6::kHangUp, QStringLiteral("isp"));
  }

  void setInstallPath(const QString& folder) {
    ASSERT_TRUE(
        registry.writeString(hv6::StartKeys::kEnvironment, hv6::StartKeys::kInstallPath, folder));
  }

  void storeLink(std::uint32_t connect, std::uint32_t disconnect, const QString& entry) {
    hv6::CommSettings s;
    s.connectMethod = connect;
    s.disconnectMethod = disconnect;
    s.phoneEntry = entry;
    storeSettings(s);
  }

  // A profile whose line is up.
  QString upLine(const QString& id) { return nm.activate(nm.addProfile(id)); }

  QStringList texts() const {
    QStringList out;
    for (const hv6::MessageRequest& m : messages.messages()) out << m.text;
    return out;
  }
};

TEST_F(DialUpLinkTest, FamilyCodesPickTheDialLibrary) {
  EXPECT_EQ(CDialUpLink::familyCode(false, 4, 0), CDialUpLink::kFamily95);
  EXPECT_EQ(CDialUpLink::familyCode(false, 4, 10), CDialUpLink::kFamily95Later);
  EXPECT_EQ(CDialUpLink::familyCode(false, 5, 0), CDialUpLink::kFamily95Later);
  EXPECT_EQ(CDialUpLink::familyCode(true, 3, 51), CDialUpLink::kFamilyNt4);
  EXPECT_EQ(CDialUpLink::familyCode(true, 4, 0), CDialUpLink::kFamilyNt4);
  EXPECT_EQ(CDialUpLink::familyCode(true, 5, 1), CDialUpLink::kFamilyNt5);
  EXPECT_EQ(CDialUpLink::familyCode(true, 10, 0), CDialUpLink::kFamilyNt6);

  // This system dials through dialnt6; the other family asks for dial95.
  EXPECT_TRUE(CDialUpLink(registry).isDialLibraryReady());
  EXPECT_TRUE(messages.empty());
  CDialUpLink other(registry, {.family = CDialUpLink::kFamily95});
  EXPECT_FALSE(other.isDialLibraryReady());
  EXPECT_EQ(texts(), QStringList{QStringLiteral("libdial95.so が見つかりません")});
}

TEST_F(DialUpLinkTest, EntriesAreTheProfilesAndFillThePage) {
  for (const char* id : {"office", "ISP-main", "home"}) nm.addProfile(QString::fromUtf8(id));
  QStringList names;
  EXPECT_TRUE(CDialUpLink(registry).ListEntries(names));
  EXPECT_EQ(names, (QStringList{QStringLiteral("office"), QStringLiteral("ISP-main"),
                                QStringLiteral("home")}));

  CWeathEnv page(registry, [this] { return std::make_unique<CDialUpLink>(registry); });
  page.load(nullptr);
  page.show();
  auto* list = page.findChild<QComboBox*>(QStringLiteral("1012"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->itemText(0), QStringLiteral("home"));
  EXPECT_EQ(list->currentText(), QStringLiteral("ISP-main"));  // begins with "isp"
  EXPECT_TRUE(messages.empty());
}

TEST_F(DialUpLinkTest, MissingDialLibraryIsReportedAtConstructionEvenForLan) {
  ASSERT_TRUE(QDir().mkpath(env.path(QStringLiteral("program"))));
  setInstallPath(env.path(QStringLiteral("program")));
  nm.addProfile(QStringLiteral("isp"));

  CWeathEnv page(registry, [this] { return std::make_unique<CDialUpLink>(registry); });
  page.load(nullptr);
  page.show();
  EXPECT_EQ(page.findChild<QComboBox*>(QStringLiteral("1012"))->count(), 0);
  ASSERT_EQ(messages.messages().size(), 1);
  const hv6::MessageRequest& shown = messages.messages().constFirst();
  EXPECT_EQ(shown.text, QStringLiteral("libdialnt6.so が見つかりません"));
  EXPECT_EQ(shown.icon, hv6::MsgIcon::Warning);
  EXPECT_EQ(shown.buttons, hv6::MsgButtons::Ok);

  // A LAN user's retrieval: the absence again, nothing about dial-up.
  messages.clear();
  storeLink(hv6::kConnectLan, hv6::kHangUp, QStringLiteral("isp"));
  CDialUpLink link(registry);
  EXPECT_TRUE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(texts(), QStringList{QStringLiteral("libdialnt6.so が見つかりません")});
}

TEST_F(DialUpLinkTest, DialLibraryWithoutAllFunctionsIsRefused) {
  setInstallPath(QStringLiteral(HV6_INCOMPLETE_DIALNT6_DIR));
  CDialUpLink link(registry);
  EXPECT_FALSE(link.isDialLibraryReady());
  EXPECT_EQ(texts(),
            QStringList{QStringLiteral("リモートアクセス関数のエントリポイントが見つかりません")});
  QStringList names{QStringLiteral("stale")};
  EXPECT_FALSE(link.ListEntries(names));
  EXPECT_TRUE(names.isEmpty());
}

TEST_F(DialUpLinkTest, WithoutRemoteAccessBothStepsShow2641UnlessTheLineIsKept) {
  nm.stopManager();
  {
    CDialUpLink link(registry, {});
    EXPECT_FALSE(link.isRemoteAccessPresent());
    EXPECT_TRUE(messages.empty());  // no dial library is even looked for
    storeLink(hv6::kConnectDialUp, hv6::kAskHangUp, QStringLiteral("isp"));
    EXPECT_FALSE(link.BeginWeatherLink(nullptr));
    link.EndWeatherLink();
    EXPECT_EQ(messages.numbers(), (QList<long>{2641, 2641}));
  }
  messages.clear();
  // No bus at all is the same.
  qputenv(hv6::kNetworkManagerBusVariable,
          ("unix:path=" + env.path(QStringLiteral("no-bus"))).toUtf8());
  storeLink(hv6::kConnectDialUp, hv6::kKeepLine, QStringLiteral("isp"));
  CDialUpLink link(registry);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), QList<long>{2641});
}

TEST_F(DialUpLinkTest, BeginWithoutEntryShows2642AndUnreadableSettingsShow2504) {
  storeLink(hv6::kConnectDialUp, hv6::kHangUp, QString());
  CDialUpLink link(registry);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();  // no entry: nothing to hang up, no message
  EXPECT_EQ(messages.numbers(), QList<long>{2642});

  messages.clear();
  store.deleteValue(registry.keyPath(hv6::StartKeys::kBaseInfo), hv6::CommKeys::kConnectMethod);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), (QList<long>{2504, 2504}));
  EXPECT_TRUE(nm.calls(QStringLiteral("ActivateConnection")).isEmpty());
}

TEST_F(DialUpLinkTest, ALineAlreadyUpIsUsedWithoutDialling) {
  upLine(QStringLiteral("isp"));
  WhenDialDialog never([] { return true; }, [](QDialog* dialog) { dialog->reject(); });
  CDialUpLink link(registry);
  EXPECT_TRUE(link.BeginWeatherLink(nullptr));
  EXPECT_FALSE(never.seen());
  EXPECT_EQ(nm.calls(QStringLiteral("ActivateConnection")).size(), 1);  // the test's own
  EXPECT_TRUE(messages.empty());
}

TEST_F(DialUpLinkTest, BeginDialsTheEntryThroughTheDialDialog) {
  const QString profile = nm.addProfile(QStringLiteral("isp"));
  nm.addProfile(QStringLiteral("office"));
  nm.replaceManagerMethod(QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
                          QStringLiteral("o"), kSlowActivation);
  QWidget owner;
  QWidget* dialogParent = nullptr;
  WhenDialDialog whenActivating([this] { return !nm.activeConnections().isEmpty(); },
                                [&](QDialog* dialog) {
                                  dialogParent = dialog->parentWidget();
                                  nm.setActiveState(nm.activeConnections().constFirst(), 2);
                                });

  CDialUpLink link(registry);
  EXPECT_TRUE(link.BeginWeatherLink(&owner));
  EXPECT_TRUE(whenActivating.seen());
  EXPECT_EQ(dialogParent, &owner);
  EXPECT_EQ(link.entryName(), QStringLiteral("isp"));
  EXPECT_TRUE(link.IsConnected());
  const QList<QVariantList> calls = nm.calls(QStringLiteral("ActivateConnection"));
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(calls.constFirst().value(0).toString(), profile);
  EXPECT_TRUE(messages.empty());
}

TEST_F(DialUpLinkTest, CancellingOrAFailingProfileEndsTheBeginWithoutMessage) {
  nm.addDevice();
  nm.addProfile(QStringLiteral("isp"));
  nm.replaceManagerMethod(QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
                          QStringLiteral("o"), kSlowActivation);
  WhenDialDialog cancel(
      [this] { return !nm.activeConnections().isEmpty(); },
      [](QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("2"))->click(); });
  CDialUpLink link(registry);
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  EXPECT_TRUE(cancel.seen());
  EXPECT_TRUE(nm.activeConnections().isEmpty());  // the started line was taken down
  link.EndWeatherLink();
  EXPECT_TRUE(messages.empty());

  nm.replaceManagerMethod(QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
                          QStringLiteral("o"),
                          QStringLiteral("raise dbus.exceptions.DBusException('No modem', "
                                         "name='org.freedesktop.NetworkManager.UnknownDevice')"));
  WhenDialDialog close([] { return true; },
                       [](QDialog* dialog) {
                         // The dialog says why until it is closed.
                         QTimer::singleShot(50, dialog, [dialog] {
                           dialog->findChild<QPushButton*>(QStringLiteral("2"))->click();
                         });
                       });
  EXPECT_FALSE(link.BeginWeatherLink(nullptr));
  EXPECT_TRUE(close.seen());
  link.EndWeatherLink();
  EXPECT_TRUE(messages.empty());
}

TEST_F(DialUpLinkTest, EntryNamesMatchExactlyAmongTheFirstTenLines) {
  upLine(QStringLiteral("ISP"));
  CDialUpLink link(registry);
  EXPECT_FALSE(link.IsConnected(QStringLiteral("isp")));
  EXPECT_TRUE(link.IsConnected(QStringLiteral("ISP")));

  for (int i = 2; i <= 11; ++i) upLine(QStringLiteral("line%1").arg(i));
  EXPECT_TRUE(link.IsConnected(QStringLiteral("line10")));   // the 10th line
  EXPECT_FALSE(link.IsConnected(QStringLiteral("line11")));  // the 11th is not searched
  EXPECT_TRUE(messages.empty());

  // Without a name given or stored.
  EXPECT_FALSE(link.IsConnected());
  EXPECT_EQ(texts(), QStringList{QStringLiteral("ダイアルアップエントリ名が設定されていません")});
}

TEST_F(DialUpLinkTest, EndHangsUpAsDisconnectMethodSays) {
  nm.addDevice();
  upLine(QStringLiteral("isp"));
  QWidget owner;

  // 1: the line stays up and nothing is asked.
  storeLink(hv6::kConnectDialUp, hv6::kKeepLine, QStringLiteral("isp"));
  CDialUpLink link(registry);
  ASSERT_TRUE(link.BeginWeatherLink(&owner));
  link.EndWeatherLink();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(nm.activeConnections().size(), 1);

  // 2 answered No: asked, and the line stays up.
  storeLink(hv6::kConnectDialUp, hv6::kAskHangUp, QStringLiteral("isp"));
  messages.answer(MsgAnswer::No);
  link.EndWeatherLink();
  ASSERT_EQ(messages.messages().size(), 1);
  const hv6::MessageRequest& question = messages.messages().constFirst();
  EXPECT_EQ(question.text,
            QStringLiteral("気象データの取得が完了しました。\nダイヤルアップ接続を終了しますか？"));
  EXPECT_EQ(question.caption, QStringLiteral("気象情報の取得"));
  EXPECT_EQ(question.buttons, hv6::MsgButtons::YesNo);
  EXPECT_EQ(question.icon, hv6::MsgIcon::Question);
  EXPECT_EQ(question.parent, &owner);
  EXPECT_TRUE(nm.calls(QStringLiteral("DeactivateConnection")).isEmpty());

  // 2 answered Yes: hung up.
  messages.clear();
  messages.answer(MsgAnswer::Yes);
  link.EndWeatherLink();
  EXPECT_EQ(messages.messages().size(), 1);
  EXPECT_TRUE(nm.activeConnections().isEmpty());

  // 0: hung up without asking.
  messages.clear();
  upLine(QStringLiteral("office"));
  storeLink(hv6::kConnectDialUp, hv6::kHangUp, QStringLiteral("office"));
  ASSERT_TRUE(link.BeginWeatherLink(&owner));
  link.EndWeatherLink();
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(nm.activeConnections().isEmpty());
  EXPECT_EQ(nm.calls(QStringLiteral("DeactivateConnection")).size(), 2);
}

// Without a device the stand-in never takes a line down.
TEST_F(DialUpLinkTest, ALineThatNeverGoesDownShows2643AfterTheLimit) {
  upLine(QStringLiteral("isp"));
  CDialUpLink link(registry, {.hangUpLimit = 1ms});
  ASSERT_TRUE(link.BeginWeatherLink(nullptr));
  EXPECT_FALSE(link.HangUp());
  EXPECT_EQ(nm.calls(QStringLiteral("DeactivateConnection")).size(), 1);

  link.EndWeatherLink();
  EXPECT_EQ(messages.numbers(), QList<long>{2643});
  EXPECT_EQ(nm.activeConnections().size(), 1);
}

// The weather command's link dials and hangs up.
TEST_F(DialUpLinkTest, TheWeatherCommandsLinkIsTheDialUpController) {
  nm.addDevice();
  nm.addProfile(QStringLiteral("isp"));
  const std::unique_ptr<hv6::WeatherLink> link = hv6::makeWeatherLink(registry);
  EXPECT_TRUE(link->BeginWeatherLink(nullptr));
  EXPECT_EQ(nm.activeConnections().size(), 1);
  link->EndWeatherLink();
  EXPECT_TRUE(nm.activeConnections().isEmpty());
  EXPECT_TRUE(messages.empty());
}

}  // namespace
