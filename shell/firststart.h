#pragma once
// The decisions of the first-start dialog (dialog 142), shown when the data
// files are missing at the first activation. The dialog (shell/ui) binds
// its buttons to these.

#include "shell/appregistry.h"

#include <QString>

namespace hv6 {

class FirstStartChoice {
 public:
  // Control ids of the dialog; each button carries its id as objectName.
  static constexpr int kIdNewData = 1003;
  static constexpr int kIdConvert = 1004;
  static constexpr int kIdDataFolder = 1005;
  static constexpr int kIdDemoData = 1006;
  static constexpr int kIdExit = 1;  // IDOK
  static constexpr int kIdCancel = 2;
  // The result that tells the frame to go on with the data now set.
  static constexpr int kResultDataChosen = 6;

  static inline const QString kFmpFileDemo = QStringLiteral("\\ほ場図.fmp");
  static QString noteText();
  static QString demoNoticeText();
  static QString notYetAvailableText();

  explicit FirstStartChoice(AppRegistry& registry) : registry_(registry) {}

  // "デモデータを見る。": points the settings at the demo data and shows the
  // demo notice. True when the dialog closes (with kResultDataChosen);
  // false after a numbered message (2504, 2916, 2503), the dialog stays.
  bool useDemoData();

  // "データフォルダを指定する。" after the sheet ended with OK: true (the dialog
  // closes with kResultDataChosen) when the diary database chosen in it
  // exists; otherwise message 1127 and the dialog stays.
  bool dataFolderChosen(const QString& diaryPath);

  // True when the dialog result means the program ends.
  static bool endsProgram(int result) { return result == kIdExit || result == kIdCancel; }

 private:
  AppRegistry& registry_;
};

}  // namespace hv6
