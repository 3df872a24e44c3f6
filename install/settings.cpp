#include "install/settings.h"

#include "platform/dao/exception.h"
#include "platform/file_io.h"
#include "shell/appregistry.h"
#include "store/schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstdint>
#include <iterator>

namespace hv6::install {
namespace {

constexpr int kLauncherCount = 20;
constexpr int kDataFolderMode = 0700;

const QString kBaseInfo = QStringLiteral("Environment\\BaseInfo");
const QString kMap = QStringLiteral("Map");
const QString kDemoFieldMap = QStringLiteral("\\ほ場図.fmp");
const QString kTemplateFieldMap = QStringLiteral("\\ﾃﾝﾌﾟﾚｰﾄ.fmp");

// Launcher entries 1..13: the name and the program that carries it out.
struct Launcher {
  const char16_t* name;
  const char* program;
  bool toolMenu;  // listed in the Tools menu (entries without a menu item)
};

constexpr Launcher kLaunchers[] = {
    {u"農程管理", "hv6-plan", false},
    {u"作業日誌入力", "hv6-workdiary", false},
    {u"販売管理", "hv6-sales", false},
    {u"営農日記", "hv6-farmdiary", false},
    {u"作業日誌集計", "hv6-diarysum", false},
    {u"出荷伝票集計", "hv6-slipsum", true},
    {u"気象・栽培", "hv6-growth", false},
    {u"ほ場図", "hv6-fieldmap", false},
    {u"台帳登録", "hv6-ledger", false},
    {u"給与計算", "hv6-payroll", true},
    {u"農作業気象分析", "hv6-weatheranalysis", false},
    {u"栽培リスク予察", "hv6-riskforecast", true},
    {u"栽培履歴書", "hv6-cultivationrecord", false},
};
constexpr int kNamedLaunchers = int(std::size(kLaunchers));

// One registry value the installation provides.
struct Setting {
  QString subkey;
  QString name;
  RegType type;
  QString text;
  std::uint32_t number = 0;
  bool replace = false;  // written even when it exists
};

Setting text(const QString& subkey, const QString& name, const QString& value) {
  return Setting{subkey, name, RegType::String, value, 0, false};
}

Setting number(const QString& subkey, const QString& name, std::uint32_t value) {
  return Setting{subkey, name, RegType::Dword, QString(), value, false};
}

Setting replaced(Setting setting) {
  setting.replace = true;
  return setting;
}

std::uint32_t today() {
  const QDate date = QDate::currentDate();
  return std::uint32_t(date.year() * 10000 + date.month() * 100 + date.day());
}

QList<Setting> environmentSettings(const InstallPaths& paths) {
  const QString key = QStringLiteral("Environment");
  return {replaced(text(key, QStringLiteral("InstallPath"), paths.programFolder)),
          number(key, QStringLiteral("OverWriteEnv"), 0),
          number(key, QStringLiteral("OverWriteDemo"), 0),
          number(QStringLiteral("Environment\\Backup"), QStringLiteral("BackUpDate"), today())};
}

// The data paths stay empty until there is data, so that the first start
// offers new data or the demo.
QList<Setting> baseInfoSettings() {
  QList<Setting> list{text(kBaseInfo, QStringLiteral("DataPath"), QString()),
                      text(kBaseInfo, QStringLiteral("WeatherDataPath"), QString()),
                      number(kBaseInfo, QStringLiteral("DaySort"), 0)};
  for (const char* module : {"WorkDry", "SealDry", "HvPay", "BusDry"}) {
    const QString name = QString::fromLatin1(module) + QStringLiteral("PWord");
    list << number(kBaseInfo, QStringLiteral("IS") + name, 0) << text(kBaseInfo, name, QString());
  }
  list << number(kBaseInfo, QStringLiteral("ConnectMethod"), 0)
       << number(kBaseInfo, QStringLiteral("DisconnectMethod"), 2)
       << text(kBaseInfo, QStringLiteral("PhoneEntry"), QString())
       << number(kBaseInfo, QStringLiteral("Terra8Setup"), 0)
       << number(kBaseInfo, QStringLiteral("IWDrySetup"), 0)
       << number(kBaseInfo, QStringLiteral("NetworkSetup"), 0)
       << number(kBaseInfo, QStringLiteral("Access"), 0);
  return list;
}

// The month calendar of the work diary by crop, with weather and the
// six-day cycle shown.
QList<Setting> calendarSettings() {
  const QString key = QStringLiteral("Calendar");
  return {number(key, QStringLiteral("Date"), today()), number(key, QStringLiteral("View"), 1),
          number(key, QStringLiteral("YearBook"), 0),   number(key, QStringLiteral("Wdry"), 1),
          number(key, QStringLiteral("Sdry"), 0),       number(key, QStringLiteral("Type"), 0),
          number(key, QStringLiteral("Tenki"), 1),      number(key, QStringLiteral("Area"), 0),
          number(key, QStringLiteral("Kisetu"), 1)};
}

// An entry is offered only when its program is installed.
QList<Setting> launcherSettings(const QString& prefix) {
  QList<Setting> list;
  for (int entry = 1; entry <= kLauncherCount; ++entry) {
    const QString key = QStringLiteral("MenuBar\\Item%1").arg(entry);
    const bool named = entry <= kNamedLaunchers;
    const QString program = launcherProgram(prefix, entry);
    const bool installed = !program.isEmpty() && QFileInfo(program).isFile();
    list << text(key, QStringLiteral("Name"),
                 named ? QString::fromUtf16(kLaunchers[entry - 1].name) : QString())
         << text(key, QStringLiteral("Icon"), program) << text(key, QStringLiteral("Exe"), program)
         << number(key, QStringLiteral("Incorporate"), installed ? 1 : 0)
         << number(key, QStringLiteral("ToolMenu"), named && kLaunchers[entry - 1].toolMenu);
  }
  return list;
}

QList<Setting> defaultSettings(const InstallPaths& paths) {
  QList<Setting> list = environmentSettings(paths);
  list += baseInfoSettings();
  list += calendarSettings();
  list += launcherSettings(paths.prefix);
  list << text(kMap, QStringLiteral("FmpFile"), kTemplateFieldMap)
       << text(kMap, QStringLiteral("BmpFile"), QString())
       << replaced(text(QStringLiteral("HRV6"), QStringLiteral("Version"), kDataVersion60501));
  return list;
}

bool fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

QString keyFailure(const QString& key) {
  return QStringLiteral("設定のキーを作成できません (cannot create the settings key) %1").arg(key);
}

QString valueFailure(const QString& key, const QString& name) {
  return QStringLiteral("設定を書き込めません (cannot write the setting) %1\\%2").arg(key, name);
}

bool ensureKey(RegistryStore& store, const QString& key) {
  return store.keyExists(key) || store.createKey(key) == RegStatus::Ok;
}

RegStatus writeSetting(RegistryStore& store, const QString& key, const Setting& setting) {
  if (setting.type == RegType::Dword) return store.writeDword(key, setting.name, setting.number);
  return store.writeString(key, setting.name, setting.text);
}

// True when the stored value already is the setting's, with its type.
bool storedAlready(const RegistryStore& store, const QString& key, const Setting& setting) {
  if (setting.type == RegType::Dword) {
    std::uint32_t value = 0;
    return store.readDword(key, setting.name, value) == RegStatus::Ok && value == setting.number;
  }
  QString value;
  return store.readString(key, setting.name, value) == RegStatus::Ok && value == setting.text;
}

// Writes the value unless it exists (of any type) and may be kept.
bool provide(RegistryStore& store, const QString& root, const Setting& setting, QString* error) {
  const QString key = root + setting.subkey;
  if (!ensureKey(store, key)) return fail(error, keyFailure(key));
  RegType type = RegType::String;
  const RegStatus status = store.valueType(key, setting.name, type);
  if (status == RegStatus::IoError) return fail(error, valueFailure(key, setting.name));
  const bool present = status != RegStatus::NoValue;
  if (present && (!setting.replace || storedAlready(store, key, setting))) return true;
  if (writeSetting(store, key, setting) != RegStatus::Ok)
    return fail(error, valueFailure(key, setting.name));
  return true;
}

// The settings root, with CurrentKEY created empty when it is missing.
QString settingsRoot(RegistryStore& store, QString* error) {
  const QString base = AppRegistry::kBaseKey;
  if (!ensureKey(store, base)) {
    fail(error, keyFailure(base));
    return QString();
  }
  RegType type = RegType::String;
  const RegStatus status = store.valueType(base, AppRegistry::kCurrentKeyValue, type);
  if (status == RegStatus::NoValue &&
      store.writeString(base, AppRegistry::kCurrentKeyValue, QString()) != RegStatus::Ok) {
    fail(error, valueFailure(base, AppRegistry::kCurrentKeyValue));
    return QString();
  }
  const QString root = AppRegistry(store).root();
  if (root.isEmpty())
    fail(error,
         QStringLiteral("%1\\%2 が文字列ではありません (is not a string): 設定の場所が決まりません")
             .arg(base, AppRegistry::kCurrentKeyValue));
  return root;
}

}  // namespace

QString programFolderOf(const QString& prefix) {
  return QDir::cleanPath(prefix + QStringLiteral("/lib/hv6"));
}

QString launcherProgram(const QString& prefix, int entry) {
  if (entry < 1 || entry > kNamedLaunchers) return QString();
  return QDir::cleanPath(prefix + QStringLiteral("/bin/") +
                         QString::fromLatin1(kLaunchers[entry - 1].program));
}

bool writeDefaultSettings(RegistryStore& store, const InstallPaths& paths, QString* error) {
  const QString root = settingsRoot(store, error);
  if (root.isEmpty()) return false;
  for (const Setting& setting : defaultSettings(paths))
    if (!provide(store, root, setting, error)) return false;
  // The program keeps its window placement and tool bar state here; it
  // has no values until the program first closes.
  const QString profileKey = root + QStringLiteral("HRV6\\Profile");
  if (!ensureKey(store, profileKey)) return fail(error, keyFailure(profileKey));
  return true;
}

bool pointSettingsAtData(RegistryStore& store, const QString& diaryPath, const QString& weatherPath,
                         bool demo, QString* error) {
  AppRegistry registry(store);
  const QList<Setting> choice{
      text(kBaseInfo, QStringLiteral("DataPath"), diaryPath),
      text(kBaseInfo, QStringLiteral("WeatherDataPath"), weatherPath),
      text(kMap, QStringLiteral("FmpFile"), demo ? kDemoFieldMap : kTemplateFieldMap),
      text(kMap, QStringLiteral("BmpFile"), QString())};
  for (const Setting& setting : choice) {
    if (!registry.writeString(setting.subkey, setting.name, setting.text))
      return fail(error, valueFailure(registry.root() + setting.subkey, setting.name));
  }
  return true;
}

bool createNewDataFolder(const QString& folder, QString* error, const InformationTexts& texts) {
  if (folder.isEmpty())
    return fail(error, QStringLiteral("データフォルダが指定されていません (no data folder given)"));
  const QDir dir(folder);
  const QString diary = dir.filePath(kDiaryFileName);
  const QString weather = dir.filePath(kWeatherFileName);
  if (QFileInfo::exists(diary) || QFileInfo::exists(weather))
    return fail(
        error,
        QStringLiteral(
            "%1 には既にデータがあります。上書きしません (already holds data; nothing was changed)")
            .arg(folder));
  if (QFileInfo::exists(folder) && !QFileInfo(folder).isDir())
    return fail(error, QStringLiteral("%1 はフォルダではありません (is not a folder)").arg(folder));
  if (!fileio::makeFolder(folder, kDataFolderMode))
    return fail(error,
                QStringLiteral("%1 を作成できません (cannot create the folder)").arg(folder));
  bool weatherMade = false;
  try {
    // Weather is fetched from the start of the year the data is made in.
    createWeatherDatabase(weather, QDate(QDate::currentDate().year(), 1, 1));
    weatherMade = true;
    createDiaryDatabase(diary, kCurrentEdition, texts);
  } catch (const CDaoException& e) {
    if (weatherMade) QFile::remove(weather);  // half a data folder is no data folder
    return fail(error,
                QStringLiteral("データベースを作成できません (cannot create the databases) %1: %2")
                    .arg(folder, e.description()));
  }
  return true;
}

}  // namespace hv6::install
