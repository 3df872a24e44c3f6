#include "shell/launcher.h"

#include "outside/errtext6/errmsg.h"
#include "shell/appregistry.h"
#include "shell/startup.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace hv6 {
namespace {

constexpr int kHelpBase = 1223;
constexpr int kEntryWithMenuKey = 10;  // its Tools menu name gets "(&K)"
const QString kName = QStringLiteral("Name");
const QString kIcon = QStringLiteral("Icon");
const QString kExe = QStringLiteral("Exe");
const QString kIncorporate = QStringLiteral("Incorporate");
const QString kToolMenu = QStringLiteral("ToolMenu");
const QString kCalendar = QStringLiteral("Calendar");
const QString kDate = QStringLiteral("Date");

bool readEntry(const AppRegistry& registry, int number, LauncherEntry& entry) {
  const QString key = launcherSubkey(number);
  entry.commandId = kLauncherCommandBase + number;
  entry.helpId = kHelpBase + number;
  return registry.readString(key, kName, entry.name) &&
         registry.readString(key, kIcon, entry.icon) &&
         registry.readString(key, kExe, entry.exe) &&
         registry.readDword(key, kIncorporate, entry.incorporate) &&
         registry.readDword(key, kToolMenu, entry.toolMenu);
}

// The descriptions of entries 1..13 with their leading blanks.
struct Description {
  int blanks;
  const char16_t* text;
};
constexpr Description kDescriptions[] = {
    {9, u"予定と実績を入力して栽培管理のプロセスを掴みます。"},
    {9, u"日々行った作業や資材投下、機械稼働の日誌を記録します。"},
    {9, u"販売関係の伝票入力、請求書発行、集計を行います。"},
    {9, u"農作業の経過などを文書や画像で記録します。"},
    {5, u"作業日誌の内容を様々な角度から集計します。"},
    {5, u"販売情報をさまざまな角度から集計します。"},
    {7, u"生育調査やハウスの温度管理など、任意な項目で記録できます。"},
    {11, u"ほ場の履歴をほ場図で管理します。"},
    {9, u"品目名など各種の入力に必要な基本的な情報を登録します。"},
    {9, u"パートタイマーなどの簡単な給与計算を行います。"},
    {3, u"作業、販売の記録と気象情報を絡めて関係分析を行います。"},
    {3, u"気象条件や過去の実績から病害虫の発生を分析・予測します。"},
    {7, u"登録された作業の栽培履歴を任意の品目・ほ場で集計します。"},
};

bool listedInSettings(int number) { return number != 6 && number != 12 && number != 14; }

qint64 wallClock() { return QDateTime::currentMSecsSinceEpoch(); }

void showNumbered(long number) { CErrMsg().Disp(number, 1, 0, kAppTitle); }

}  // namespace

QString launcherSubkey(int number) { return QStringLiteral("MenuBar\\Item%1").arg(number); }

bool loadLauncherEntries(const AppRegistry& registry, QList<LauncherEntry>& entries) {
  QList<LauncherEntry> loaded;
  for (int number = 1; number <= kLauncherCount; ++number) {
    LauncherEntry entry;
    if (!readEntry(registry, number, entry)) return false;
    loaded.append(entry);
  }
  entries = loaded;
  return true;
}

bool saveLauncherEntries(AppRegistry& registry, const QList<LauncherEntry>& entries) {
  QList<RegWrite> group;
  for (int number = 1; number <= entries.size(); ++number) {
    const LauncherEntry& entry = entries.at(number - 1);
    const QString key = launcherSubkey(number);
    group << RegWrite::string(key, kName, entry.name) << RegWrite::string(key, kIcon, entry.icon)
          << RegWrite::string(key, kExe, entry.exe)
          << RegWrite::number(key, kIncorporate, entry.incorporate)
          << RegWrite::number(key, kToolMenu, entry.toolMenu);
  }
  return registry.writeGroup(group);
}

bool iconExtractable(const QString& iconPath) {
  static const QStringList kImageSuffixes{QStringLiteral("png"), QStringLiteral("svg"),
                                          QStringLiteral("ico"), QStringLiteral("bmp"),
                                          QStringLiteral("xpm"), QStringLiteral("jpg")};
  const QFileInfo info(iconPath);
  if (iconPath.isEmpty() || !info.isFile() || !info.isReadable()) return false;
  return info.isExecutable() || kImageSuffixes.contains(info.suffix().toLower());
}

QList<bool> offeredEntries(const QList<LauncherEntry>& entries, const IconTest& hasIcon) {
  QList<bool> offered;
  for (const LauncherEntry& entry : entries)
    offered.append(entry.incorporate != 0 && hasIcon(entry.icon));
  return offered;
}

bool anyUsableOffered(const QList<bool>& offered) {
  for (int i = 0; i < offered.size(); ++i) {
    const int number = i + 1;
    if (offered.at(i) && number != 6 && number != 14) return true;
  }
  return false;
}

QList<ToolMenuItem> toolMenuItems(const QList<LauncherEntry>& entries) {
  QList<ToolMenuItem> items;
  for (const LauncherEntry& entry : entries) {
    if (entry.toolMenu != 1) continue;
    QString text = entry.name;
    if (entry.commandId == kLauncherCommandBase + kEntryWithMenuKey) text += QStringLiteral("(&K)");
    items.append(ToolMenuItem{entry.commandId, text});
  }
  return items;
}

namespace {

void putText(const QString& text, char (&out)[HV6_LAUNCHER_TEXT]) {
  QByteArray bytes = text.toUtf8();
  qsizetype length = std::min<qsizetype>(bytes.size(), HV6_LAUNCHER_TEXT - 1);
  // Back to the first byte of a character when the cut falls inside one.
  while (length > 0 && length < bytes.size() && (uchar(bytes.at(length)) & 0xC0) == 0x80) --length;
  std::memcpy(out, bytes.constData(), size_t(length));
  out[length] = '\0';
}

QString takeText(const char (&text)[HV6_LAUNCHER_TEXT]) {
  return QString::fromUtf8(text, qsizetype(strnlen(text, HV6_LAUNCHER_TEXT)));
}

}  // namespace

void toToolEntries(const QList<LauncherEntry>& entries, Hv6LauncherEntry* out) {
  for (int i = 0; i < kLauncherCount; ++i) {
    Hv6LauncherEntry& target = out[i];
    target = Hv6LauncherEntry{};
    target.commandId = kLauncherCommandBase + i + 1;
    target.helpId = kHelpBase + i + 1;
    if (i >= entries.size()) continue;
    const LauncherEntry& entry = entries.at(i);
    putText(entry.name, target.name);
    putText(entry.icon, target.icon);
    putText(entry.exe, target.exe);
    target.incorporate = entry.incorporate;
    target.toolMenu = entry.toolMenu;
    target.commandId = entry.commandId;
    target.helpId = entry.helpId;
  }
}

QList<LauncherEntry> fromToolEntries(const Hv6LauncherEntry* entries, int count) {
  QList<LauncherEntry> list;
  for (int i = 0; i < count; ++i) {
    const Hv6LauncherEntry& entry = entries[i];
    list.append(LauncherEntry{takeText(entry.name), takeText(entry.icon), takeText(entry.exe),
                              entry.incorporate, entry.toolMenu, entry.commandId, entry.helpId});
  }
  return list;
}

QString launcherDescription(int number) {
  if (number < 1 || number > int(std::size(kDescriptions))) return {};
  const Description& description = kDescriptions[number - 1];
  return QString(description.blanks, u' ') + QString::fromUtf16(description.text);
}

LauncherSettings::LauncherSettings(QList<LauncherEntry> entries) : entries_(std::move(entries)) {
  for (int number = 1; number <= entries_.size(); ++number) {
    const LauncherEntry& entry = entries_.at(number - 1);
    if (!listedInSettings(number) || entry.name.isEmpty()) continue;
    items_.append(Item{number, entry.name + launcherDescription(number), entry.incorporate != 0});
  }
}

bool LauncherSettings::accept(AppRegistry& registry) {
  bool anyChecked = false;
  for (const Item& item : items_) anyChecked = anyChecked || item.checked;
  if (!anyChecked) {
    showNumbered(2911);
    return false;
  }
  QList<LauncherEntry> accepted = entries_;
  for (const Item& item : items_) accepted[item.number - 1].incorporate = item.checked ? 1 : 0;
  // The names as stored, without the descriptions of the list.
  for (int number = 1; number <= accepted.size(); ++number) {
    if (!registry.readString(launcherSubkey(number), kName, accepted[number - 1].name)) {
      showNumbered(2504);
      return false;
    }
  }
  if (!saveLauncherEntries(registry, accepted)) {
    showNumbered(2503);
    return false;
  }
  entries_ = accepted;
  return true;
}

ProgramLauncher::ProgramLauncher(Starter starter, Clock clock)
    : starter_(starter ? std::move(starter) : Starter(
                             [](const QString& command) { return startCommand(command); })),
      clock_(clock ? std::move(clock) : Clock(wallClock)) {}

ProgramLauncher::Outcome ProgramLauncher::launch(const LauncherEntry& entry, bool diaryOpen,
                                                 long& selectedDate, long today,
                                                 AppRegistry& registry) {
  if (!diaryOpen || underWay_) return Outcome::Ignored;
  const qint64 now = clock_();
  if (entry.commandId == lastCommand_ && now - lastStart_ < kSettleMs) return Outcome::Ignored;
  underWay_ = true;  // a message box below runs the event loop
  const long date = selectedDate != 0 ? selectedDate : today;
  selectedDate = 0;
  if (!registry.writeDword(kCalendar, kDate, std::uint32_t(date))) showNumbered(2503);
  else handed_ = date;
  Outcome outcome = Outcome::Started;
  if (commandProgram(entry.exe).isEmpty()) {
    outcome = Outcome::ProgramMissing;
  } else if (!starter_(entry.exe).ok) {
    outcome = Outcome::StartFailed;
  } else {
    lastCommand_ = entry.commandId;
    lastStart_ = clock_();
  }
  if (outcome != Outcome::Started) showNumbered(2904);
  underWay_ = false;
  return outcome;
}

}  // namespace hv6
