#include "shell/firststart.h"

#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"
#include "shell/envcopy.h"
#include "shell/startup.h"
#include "store/schema.h"

#include <QFileInfo>

namespace hv6 {

QString FirstStartChoice::noteText() {
  return QStringLiteral(
      "※HarvoＶ６をお持ちの方は「データフォルダを指定する」を選択してください。\n"
      "これまで使われていたHarvoＶ６のデータフォルダを指定すると自動的にHarvoＶ６プラスの形式に変換します。");
}

QString FirstStartChoice::demoNoticeText() {
  return QStringLiteral(
      "デモデータはHarvoの概要を知っていただくためのサンプルデータです。\n"
      "デモデータを実際のデータとしてはご利用になれません。\n"
      "デモデータを一通り参照した後は、「ファイル」－「新規作成」を選択して新規にデータを作成してください。\n");
}

QString FirstStartChoice::notYetAvailableText() {
  return QStringLiteral("この機能はまだご利用になれません。");
}

bool FirstStartChoice::useDemoData() {
  QString installPath;
  if (!registry_.readString(StartKeys::kEnvironment, StartKeys::kInstallPath, installPath)) {
    CErrMsg().Disp(2504, 1, 0, kAppTitle);
    return false;
  }
  const QString folder = demoDataFolder();
  const QString diary = folder + u'/' + kDiaryFileName;
  const QString weather = folder + u'/' + kWeatherFileName;
  if (!QFileInfo(diary).isFile() || !QFileInfo(weather).isFile()) {
    CErrMsg().Disp(2916, 0, 0, kAppTitle);
    return false;
  }
  const bool written =
      registry_.writeString(StartKeys::kBaseInfo, StartKeys::kDataPath, diary) &&
      registry_.writeString(StartKeys::kBaseInfo, StartKeys::kWeatherDataPath, weather) &&
      registry_.writeString(StartKeys::kMap, StartKeys::kFmpFile, kFmpFileDemo);
  if (!written) {
    CErrMsg().Disp(2503, 1, 0, kAppTitle);
    return false;
  }
  showMessage(demoNoticeText(), kAppTitle, MsgButtons::Ok, MsgIcon::Warning);
  return true;
}

bool FirstStartChoice::dataFolderChosen(const QString& diaryPath) {
  if (!diaryPath.isEmpty() && QFileInfo(diaryPath).isFile()) return true;
  CErrMsg().Disp(1127, 0, 0, kAppTitle);
  return false;
}

}  // namespace hv6
