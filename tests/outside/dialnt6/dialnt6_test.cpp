// The dial library through its exports, as its callers load it, against
// the NetworkManager stand-in. Records are handed over as raw bytes so that
// their sizes and field offsets are checked, not only the declarations.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <functional>
#include <vector>

#include "outside/dialnt6/rasapi.h"
#include "platform/module.h"
#include "platform/remoteaccess.h"
#include "tests/support/nm_standin.h"
#include "tests/support/test_env.h"

namespace {

using namespace hv6::ras;

constexpr std::uint32_t kEntrySize = 264;
constexpr std::uint32_t kConnSize = 412;
constexpr std::uint32_t kStatusSize = 160;

std::uint32_t readU32(const std::vector<char>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

void writeU32(std::vector<char>& bytes, std::size_t offset, std::uint32_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

QString textAt(const std::vector<char>& bytes, std::size_t offset) {
  return QString::fromUtf8(bytes.data() + offset);
}

// Runs act once a visible dial dialog satisfies ready; polls while a modal
// dialog runs.
class WhenDialog {
 public:
  WhenDialog(std::function<bool(QDialog*)> ready, std::function<void(QDialog*)> act) {
    QObject::connect(&timer_, &QTimer::timeout, [this, ready, act] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->objectName() == QStringLiteral("RasDialDlg") &&
            ready(dialog)) {
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

QString statusText(QDialog* dialog) {
  return dialog->findChild<QLabel*>(QStringLiteral("status"))->text();
}

class Dialnt6Test : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6test::NetworkManagerStandIn nm;
  hv6::Module module;
  RasDialDlgFunction* dialDlg = nullptr;
  RasEnumConnectionsFunction* enumConnections = nullptr;
  RasEnumEntriesFunction* enumEntries = nullptr;
  RasHangUpFunction* hangUp = nullptr;
  RasGetConnectStatusFunction* connectStatus = nullptr;

  void SetUp() override {
    ASSERT_TRUE(nm.error().isEmpty()) << qPrintable(nm.error());
    ASSERT_TRUE(nm.startManager()) << qPrintable(nm.error());
    ASSERT_TRUE(module.load(QStringLiteral(HV6_DIALNT6_DIR), QStringLiteral("dialnt6.dll")))
        << qPrintable(module.errorText());
    dialDlg = module.function<RasDialDlgFunction>("_RasDialDlg");
    enumConnections = module.function<RasEnumConnectionsFunction>("_RasEnumConnections");
    enumEntries = module.function<RasEnumEntriesFunction>("_RasEnumEntries");
    hangUp = module.function<RasHangUpFunction>("_RasHangUp");
    connectStatus = module.function<RasGetConnectStatusFunction>("_RasGetConnectStatus");
    ASSERT_TRUE(dialDlg && enumConnections && enumEntries && hangUp && connectStatus);
  }

  std::uint32_t entries(std::vector<char>& buffer, std::uint32_t& byteSize, std::uint32_t& count) {
    writeU32(buffer, 0, kEntrySize);
    return enumEntries(nullptr, nullptr, reinterpret_cast<RasEntryName*>(buffer.data()), &byteSize,
                       &count);
  }

  std::uint32_t connections(std::vector<char>& buffer, std::uint32_t& count) {
    writeU32(buffer, 0, kConnSize);
    auto byteSize = static_cast<std::uint32_t>(buffer.size());
    return enumConnections(reinterpret_cast<RasConn*>(buffer.data()), &byteSize, &count);
  }

  std::uint32_t status(std::uint32_t handle, std::uint32_t* state = nullptr) {
    std::vector<char> record(kStatusSize);
    writeU32(record, 0, kStatusSize);
    const std::uint32_t result =
        connectStatus(handle, reinterpret_cast<RasConnStatus*>(record.data()));
    if (state) *state = readU32(record, 4);
    return result;
  }

  int dial(const char* entry) {
    std::vector<char> block(36);
    writeU32(block, 0, 36);
    lastDialError = 0;
    const int dialled =
        dialDlg(nullptr, entry, nullptr, reinterpret_cast<RasDialDlg*>(block.data()));
    lastDialError = readU32(block, 28);  // dwError after size, 8-byte owner and four fields
    return dialled;
  }
  std::uint32_t lastDialError = 0;
};

TEST_F(Dialnt6Test, EntriesAreTheProfilesInNetworkManagersOrder) {
  nm.addProfile(QStringLiteral("農協回線"));
  nm.addProfile(QStringLiteral("Office VPN"), QStringLiteral("vpn"));

  // Asking with no room gives 603 and the bytes needed.
  std::vector<char> buffer(kEntrySize);
  std::uint32_t byteSize = 0;
  std::uint32_t count = 0;
  EXPECT_EQ(entries(buffer, byteSize, count), 603u);
  EXPECT_EQ(byteSize, 2 * kEntrySize);

  buffer.assign(byteSize, '\x7f');
  ASSERT_EQ(entries(buffer, byteSize, count), 0u);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(readU32(buffer, kEntrySize), kEntrySize);
  EXPECT_EQ(textAt(buffer, 4), QStringLiteral("農協回線"));
  EXPECT_EQ(textAt(buffer, kEntrySize + 4), QStringLiteral("Office VPN"));

  // A wrong size field is refused.
  writeU32(buffer, 0, 260);
  EXPECT_EQ(enumEntries(nullptr, nullptr, reinterpret_cast<RasEntryName*>(buffer.data()), &byteSize,
                        &count),
            632u);
}

TEST_F(Dialnt6Test, ALongNameIsCutAtACharacterAndStillDials) {
  const QString longName(100, QChar(u'あ'));  // 300 bytes of UTF-8
  nm.addProfile(longName);
  std::vector<char> buffer(kEntrySize);
  std::uint32_t byteSize = kEntrySize;
  std::uint32_t count = 0;
  ASSERT_EQ(entries(buffer, byteSize, count), 0u);
  const QString listed = textAt(buffer, 4);
  EXPECT_EQ(listed, QString(85, QChar(u'あ')));  // 255 bytes, no half character

  EXPECT_EQ(dial(listed.toUtf8().constData()), 1);
  EXPECT_EQ(nm.activeConnections().size(), 1);
}

TEST_F(Dialnt6Test, ActiveConnectionsCarryNameAndHandle) {
  const QString isp = nm.addProfile(QStringLiteral("isp"));
  const QString office = nm.addProfile(QStringLiteral("office"));
  nm.activate(isp);
  nm.activate(office);

  std::vector<char> buffer(10 * kConnSize);
  std::uint32_t count = 0;
  ASSERT_EQ(connections(buffer, count), 0u);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(textAt(buffer, 8), QStringLiteral("isp"));
  EXPECT_EQ(textAt(buffer, kConnSize + 8), QStringLiteral("office"));
  const std::uint32_t ispHandle = readU32(buffer, 4);
  const std::uint32_t officeHandle = readU32(buffer, kConnSize + 4);
  EXPECT_NE(ispHandle, 0u);
  EXPECT_NE(officeHandle, ispHandle);
  std::uint32_t state = 0;
  EXPECT_EQ(status(ispHandle, &state), 0u);
  EXPECT_EQ(state, 0x2000u);

  // Room for one: the first is filled, 603 names the bytes needed.
  std::vector<char> one(kConnSize);
  EXPECT_EQ(connections(one, count), 603u);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(textAt(one, 8), QStringLiteral("isp"));
  EXPECT_EQ(readU32(one, 4), ispHandle);  // the same line keeps its handle
}

TEST_F(Dialnt6Test, HangingUpTakesTheLineAwayAndTheStatusAnswers6) {
  nm.addDevice();  // the stand-in takes lines down only with a device
  nm.activate(nm.addProfile(QStringLiteral("isp")));
  std::vector<char> buffer(10 * kConnSize);
  std::uint32_t count = 0;
  ASSERT_EQ(connections(buffer, count), 0u);
  ASSERT_EQ(count, 1u);
  const std::uint32_t handle = readU32(buffer, 4);

  EXPECT_EQ(hangUp(handle), 0u);
  EXPECT_EQ(nm.calls(QStringLiteral("DeactivateConnection")).size(), 1);
  EXPECT_EQ(status(handle), 6u);
  EXPECT_TRUE(nm.activeConnections().isEmpty());

  // Handles the library never gave out.
  EXPECT_EQ(hangUp(handle + 100), 6u);
  EXPECT_EQ(status(handle + 100), 6u);
  std::vector<char> shortRecord(kStatusSize);
  writeU32(shortRecord, 0, 156);
  EXPECT_EQ(connectStatus(handle, reinterpret_cast<RasConnStatus*>(shortRecord.data())), 632u);
}

TEST_F(Dialnt6Test, DialDialogActivatesTheProfileAndClosesWhenTheLineIsUp) {
  const QString profile = nm.addProfile(QStringLiteral("isp"));
  // The line takes its time: it stays activating until the test moves it.
  nm.replaceManagerMethod(
      QStringLiteral("ActivateConnection"), QStringLiteral("ooo"), QStringLiteral("o"),
      QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                     "objects[ret].Set('org.freedesktop.NetworkManager.Connection.Active', "
                     "'State', dbus.UInt32(1))"));
  QString shownText;
  WhenDialog whenConnecting([this](QDialog*) { return !nm.activeConnections().isEmpty(); },
                            [&](QDialog* dialog) {
                              shownText = statusText(dialog);
                              nm.setActiveState(nm.activeConnections().constFirst(), 2);
                            });

  EXPECT_EQ(dial("isp"), 1);
  EXPECT_TRUE(whenConnecting.seen());
  EXPECT_EQ(shownText, QStringLiteral("isp に接続しています..."));
  const QList<QVariantList> calls = nm.calls(QStringLiteral("ActivateConnection"));
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(calls.constFirst().value(0).toString(), profile);
}

TEST_F(Dialnt6Test, CancellingTheDialTakesTheStartedLineDown) {
  nm.addDevice();
  nm.addProfile(QStringLiteral("isp"));
  nm.replaceManagerMethod(
      QStringLiteral("ActivateConnection"), QStringLiteral("ooo"), QStringLiteral("o"),
      QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                     "objects[ret].Set('org.freedesktop.NetworkManager.Connection.Active', "
                     "'State', dbus.UInt32(1))"));
  WhenDialog whenConnecting(
      [this](QDialog*) { return !nm.activeConnections().isEmpty(); },
      [](QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("2"))->click(); });

  EXPECT_EQ(dial("isp"), 0);
  EXPECT_TRUE(whenConnecting.seen());
  EXPECT_EQ(lastDialError, 631u);
  EXPECT_EQ(nm.calls(QStringLiteral("DeactivateConnection")).size(), 1);
  EXPECT_TRUE(nm.activeConnections().isEmpty());
}

TEST_F(Dialnt6Test, AProfileThatFailsToActivateIsShownUntilClosed) {
  nm.addProfile(QStringLiteral("isp"));
  nm.replaceManagerMethod(QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
                          QStringLiteral("o"),
                          QStringLiteral("raise dbus.exceptions.DBusException('No modem found', "
                                         "name='org.freedesktop.NetworkManager.UnknownDevice')"));
  QString shownText;
  WhenDialog whenFailed(
      [](QDialog* dialog) {
        return statusText(dialog).contains(QStringLiteral("できませんでした"));
      },
      [&](QDialog* dialog) {
        shownText = statusText(dialog);
        auto* button = dialog->findChild<QPushButton*>(QStringLiteral("2"));
        EXPECT_EQ(button->text(), QStringLiteral("閉じる"));
        button->click();
      });

  EXPECT_EQ(dial("isp"), 0);
  EXPECT_EQ(lastDialError, 651u);
  EXPECT_EQ(shownText, QStringLiteral("isp に接続できませんでした。\nNo modem found"));

  // A line that comes up and falls again before it is up fails the same way.
  nm.replaceManagerMethod(
      QStringLiteral("ActivateConnection"), QStringLiteral("ooo"), QStringLiteral("o"),
      QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                     "objects[ret].Set('org.freedesktop.NetworkManager.Connection.Active', "
                     "'State', dbus.UInt32(4))"));
  WhenDialog whenFellDown(
      [](QDialog* dialog) {
        return statusText(dialog).contains(QStringLiteral("できませんでした"));
      },
      [](QDialog* dialog) { dialog->findChild<QPushButton*>(QStringLiteral("2"))->click(); });
  EXPECT_EQ(dial("isp"), 0);
  EXPECT_TRUE(whenFellDown.seen());
  EXPECT_EQ(lastDialError, 651u);
}

TEST_F(Dialnt6Test, AnUnknownEntryIsNotDialled) {
  nm.addProfile(QStringLiteral("isp"));
  EXPECT_EQ(dial("ISP"), 0);  // names match exactly
  EXPECT_EQ(lastDialError, 623u);
  EXPECT_TRUE(nm.calls(QStringLiteral("ActivateConnection")).isEmpty());
}

TEST_F(Dialnt6Test, WithoutNetworkManagerEveryCallSaysTheServiceIsMissing) {
  nm.stopManager();
  std::vector<char> buffer(kEntrySize);
  std::uint32_t byteSize = kEntrySize;
  std::uint32_t count = 0;
  EXPECT_EQ(entries(buffer, byteSize, count), 711u);
  std::vector<char> conns(kConnSize);
  EXPECT_EQ(connections(conns, count), 711u);
  EXPECT_EQ(dial("isp"), 0);
  EXPECT_EQ(lastDialError, 711u);

  // No bus at all at the address.
  qputenv(hv6::kNetworkManagerBusVariable,
          ("unix:path=" + env.path(QStringLiteral("no-bus"))).toUtf8());
  EXPECT_EQ(entries(buffer, byteSize, count), 711u);
}

// A program without widgets gets no dialog: the dial waits for the line.
TEST_F(Dialnt6Test, WithoutWidgetsTheDialWaitsWithoutADialog) {
  nm.addProfile(QStringLiteral("isp"));
  const auto runDial = [] {
    QProcess batch;
    batch.start(QCoreApplication::applicationDirPath() + QStringLiteral("/hv6_dial_batch"),
                {QStringLiteral(HV6_DIALNT6_DIR), QStringLiteral("isp")});
    EXPECT_TRUE(batch.waitForFinished(60000));
    EXPECT_EQ(batch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().constData();
    return QString::fromUtf8(batch.readAllStandardOutput()).trimmed();
  };
  EXPECT_EQ(runDial(), QStringLiteral("1 0"));
  EXPECT_EQ(nm.activeConnections().size(), 1);

  nm.replaceManagerMethod(
      QStringLiteral("ActivateConnection"), QStringLiteral("ooo"), QStringLiteral("o"),
      QStringLiteral("ret = self.activate_connection(self, args[0], args[1], args[2])\n"
                     "objects[ret].Set('org.freedesktop.NetworkManager.Connection.Active', "
                     "'State', dbus.UInt32(4))"));
  EXPECT_EQ(runDial(), QStringLiteral("0 651"));
}

}  // namespace
