#pragma once
// Decisions of the program start that need no window: the command line's
// "-REG" option, the frame's background picture by date and time, and the
// names of the settings the start reads and writes.

#include "outside/errtext6/errmsg.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace hv6 {

// The application name (string resource 57344), "Harvo V6 Plus for
// Windows": title of the main window and caption of every message box.
inline const QString& kAppTitle = kHrvCaption;
constexpr int kIdsAppTitle = 57344;

// Settings below the registry root that the start uses.
struct StartKeys {
  static inline const QString kBaseInfo = QStringLiteral("Environment\\BaseInfo");
  static inline const QString kEnvironment = QStringLiteral("Environment");
  static inline const QString kMap = QStringLiteral("Map");
  // The framework's profile: "Software\" + registry key name + "\Profile",
  // where the key name is the root without "Software\" followed by "HRV6".
  static inline const QString kProfile = QStringLiteral("HRV6\\Profile");

  static inline const QString kDataPath = QStringLiteral("DataPath");
  static inline const QString kWeatherDataPath = QStringLiteral("WeatherDataPath");
  static inline const QString kAccess = QStringLiteral("Access");
  static inline const QString kNetworkSetup = QStringLiteral("NetworkSetup");
  static inline const QString kInstallPath = QStringLiteral("InstallPath");
  static inline const QString kFmpFile = QStringLiteral("FmpFile");
  // Tool bar state of the frame, a binary value in the profile key.
  static inline const QString kToolBarState = QStringLiteral("HRV6");
};

// The first and second words of a command line; blanks separate words and
// a run of blanks counts as one separator.
struct CommandWords {
  QString first;
  QString second;
};
CommandWords firstTwoWords(const QString& commandLine);

// The settings key name chosen by "-REG name" (the option in any case);
// nothing for any other command line.
std::optional<QString> regOptionKey(const QString& commandLine);

// The program's arguments: our own "--check-start" (start, report what
// was opened, close again), "--import-mobile" (the mobile diary import
// without a window) and "--fetch-weather" (the weather retrieval
// without a window), and the system's command line, the remaining
// arguments joined by blanks.
struct StartOptions {
  QString commandLine;
  bool checkStart = false;
  bool importMobile = false;
  bool fetchWeather = false;
};
StartOptions parseStartArguments(const QStringList& arguments);

// The background picture (a hv6::PictureId) for a date (yyyymmdd) and the
// seconds of the current time.
int backgroundPictureId(long date, int seconds);

}  // namespace hv6
