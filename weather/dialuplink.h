#pragma once
// The dial-up controller (CDialUpLink). It loads the dial library of the
// program folder (InstallPath) when the system's remote access is present,
// lists the phone-book entries, tells whether an entry's line is up, dials
// it through the library's dial dialog and hangs it up; and it runs the two
// steps around a weather retrieval: BeginWeatherLink opens the line when
// dial-up is chosen, EndWeatherLink hangs it up as DisconnectMethod says.
//
// A controller lives for one weather command or one opening of the
// communication page. Constructing it reports a missing or incomplete dial
// library with a message box; every operation then fails at once.

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>

#include "outside/dialnt6/rasapi.h"
#include "platform/module.h"
#include "weather/dialupentries.h"
#include "weather/weatherlink.h"

class QWidget;

namespace hv6 {
class AppRegistry;
}

class CDialUpLink final : public hv6::WeatherLink, public hv6::DialUpEntries {
 public:
  // System family codes. A code of 2 or more dials through the NT-family
  // library and its dial dialog.
  enum Family {
    kFamily95 = 0,       // Windows 95 family, version 4.0
    kFamily95Later = 1,  // Windows 95 family, later versions
    kFamilyNt4 = 2,      // NT family up to version 4
    kFamilyNt5 = 3,      // NT family version 5
    kFamilyNt6 = 4,      // NT family version 6 and later
  };
  static int familyCode(bool ntFamily, int major, int minor);
  // This system counts as the newest NT family.
  static constexpr int kThisFamily = kFamilyNt6;
  static constexpr std::chrono::milliseconds kHangUpLimit{30000};

  struct Options {
    int family = kThisFamily;
    // How long HangUp waits for the line to go down.
    std::chrono::milliseconds hangUpLimit = kHangUpLimit;
  };

  explicit CDialUpLink(hv6::AppRegistry& registry);
  CDialUpLink(hv6::AppRegistry& registry, Options options);
  ~CDialUpLink() override;
  CDialUpLink(const CDialUpLink&) = delete;
  CDialUpLink& operator=(const CDialUpLink&) = delete;

  // The entry names in the library's order; false when they cannot be
  // listed (the list is then empty).
  bool ListEntries(QStringList& names);
  // Whether a line of that entry (empty: the stored entry) is up; the name
  // must match exactly. Remembers the line's handle.
  bool IsConnected(const QString& name = QString());
  // Dials the entry (empty: the stored one; a name given becomes the
  // stored one) unless its line is already up; true when it is up.
  bool Connect(QWidget* owner, const QString& name = QString());
  // Hangs up the stored entry's line and waits until it is gone; false
  // when it cannot be hung up or is still there after the limit.
  bool HangUp();

  bool BeginWeatherLink(QWidget* owner) override;
  void EndWeatherLink() override;

  bool listEntries(QStringList& names) override { return ListEntries(names); }

  bool isRemoteAccessPresent() const { return remoteAccess_; }
  bool isDialLibraryReady() const { return ready_; }
  const QString& entryName() const { return entryName_; }

 private:
  bool usesNtLibrary() const { return family_ >= kFamilyNt4; }
  bool usable() const { return ready_ && remoteAccess_; }
  void loadDialLibrary();

  hv6::AppRegistry& registry_;
  std::chrono::milliseconds hangUpLimit_;
  QWidget* owner_ = nullptr;  // of the question after a retrieval

  bool ready_ = false;
  QString entryName_;
  std::uint32_t connection_ = 0;
  int family_;
  hv6::Module dialLibrary_;
  bool remoteAccess_ = false;

  hv6::ras::RasDialDlgFunction* dialDlg_ = nullptr;
  hv6::ras::RasDialDlg95Function* dialDlg95_ = nullptr;
  hv6::ras::RasGetConnectStatusFunction* getConnectStatus_ = nullptr;
  hv6::ras::RasHangUpFunction* hangUp_ = nullptr;
  hv6::ras::RasEnumConnectionsFunction* enumConnections_ = nullptr;
  hv6::ras::RasEnumEntriesFunction* enumEntries_ = nullptr;
};
