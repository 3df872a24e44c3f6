#pragma once
// The texts of the program's commands as its string table holds them: the
// status-bar prompt and, after "\n", the tool tip.

#include <QString>

namespace hv6 {

// Ids of the frame's commands (menu 128, tool bars, context menus).
namespace FrameCmd {
constexpr int kNewData = 57600;
constexpr int kBaseInfo = 32771;
constexpr int kLedger = 10009;
constexpr int kMenuSettings = 32821;
constexpr int kMobileSettings = 32832;
constexpr int kMobileImport = 32833;
constexpr int kPrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kBackup = 32773;
constexpr int kRestore = 32774;
constexpr int kMaintenance = 32775;
constexpr int kExit = 57665;
constexpr int kPictureImport = 32814;
constexpr int kPictureShow = 32815;
constexpr int kAlbum = 32816;
constexpr int kHelp = 57667;
constexpr int kSupport = 32812;
constexpr int kVersion = 32817;
constexpr int kFieldLocations = 32827;
constexpr int kWeatherRetrieval = 32828;
constexpr int kRefresh = 32822;
constexpr int kClosePreview = 61445;
constexpr int kIdlePrompt = 57345;
}  // namespace FrameCmd

// The whole string resource of an id ("prompt\ntool tip"); empty when the
// table has none.
QString commandString(int id);
// The status-bar prompt: the part before "\n".
QString commandPrompt(int id);
// The tool tip: the part after "\n" (empty when there is none).
QString commandToolTip(int id);

}  // namespace hv6
