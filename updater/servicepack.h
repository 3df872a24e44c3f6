#pragma once
// The service pack: the checks before it is offered (in this order: hv6
// not running, the file list, every listed file present, the program
// folder, the installed version within the pack's range) and the
// replacement of the listed files in the program folder.
//
// The pack's folder is the folder of the running updater; the program
// folder is Environment\InstallPath and the installed version HRV6\Version
// below the settings root, which is found as hv6 finds it. The dialog and
// the unattended run share this class: the messages go through the
// message presenter.

#include "platform/presenter.h"
#include "platform/registry.h"
#include "updater/filelist.h"
#include "updater/replacement.h"

#include <QString>

namespace hv6::updater {

inline const QString kCaptionError = QStringLiteral("エラー");
inline const QString kCaptionConfirm = QStringLiteral("確認");

inline const QString kHv6RunningText = QStringLiteral(
    "Harvoが起動中です。\nHarvoの終了後に再度サービスパックを実行してください。\n");
inline const QString kNoFileListText =
    QStringLiteral("更新ファイルの取得に失敗しました。\n\n処理を中断します。");
inline const QString kIncompletePackText = QStringLiteral(
    "サービスパックの実行に必要なファイルが不足しているか内容に不備があります。\n\n処理を中断"
    "します。");
inline const QString kNoInstallFolderText =
    QStringLiteral("HarvoV6プラスのインストール先を取得できません。\n\n処理を中断します。");
inline const QString kOutOfRangeText = QStringLiteral(
    "Harvoのバージョンが本サービスパックの適用範囲外です。\n本サービスパックはHarvo%s適用できま"
    "す。\n\n処理を中断します。");
inline const QString kOnlyVersionText = QStringLiteral(" ver%s にのみ");
inline const QString kVersionRangeText = QStringLiteral(" ver%s ～ ver%s に");
inline const QString kNewerInstalledText = QStringLiteral(
    "本サービスパックよりも新しいHarvoがインストールされています。\nサービスパックを適用する必要は"
    "ありません。");
inline const QString kConfirmText =
    QStringLiteral("Harvo V6 Plusのプログラムを更新します。\n\nよろしいですか？");
inline const QString kCopyFailedText = QStringLiteral("ファイルの更新に失敗しました");
inline const QString kNotRestoredText =
    QStringLiteral("次のファイルは元に戻せませんでした。古いファイルは名前の末尾に%sが付いています:");
inline const QString kFinishedText = QStringLiteral("終了しました。");

// Settings the updater reads below the root.
inline const QString kEnvironmentKey = QStringLiteral("Environment");
inline const QString kInstallPathValue = QStringLiteral("InstallPath");
inline const QString kVersionKey = QStringLiteral("HRV6");
inline const QString kVersionValue = QStringLiteral("Version");

enum class Outcome {
  Ready,            // every check passed: the pack may be applied
  Hv6Running,
  NoFileList,       // FileCount below 1 (also a missing or empty list)
  IncompletePack,   // a listed file is missing or its name leaves the folder
  NoInstallFolder,  // no settings root, or no InstallPath
  OutOfRange,       // installed below MinVersion
  NewerInstalled,   // installed above MaxVersion
  Applied,          // every listed file replaced
  CopyFailed,       // the replacement failed; the program folder is as before
  NotRestored,      // the replacement failed and old files could not be put back
};

// What a check or the replacement came to, with the message to show
// (none for Ready).
struct Report {
  Outcome outcome = Outcome::Ready;
  QString text;
  QString caption;
  MsgIcon icon = MsgIcon::None;
};

// Whether hv6 runs: its guard named by its title (this user's) or the
// machine-wide guard is held. The locks are tested, not taken.
bool hv6IsRunning();

class ServicePack {
 public:
  // sourceFolder: the pack's folder, with or without a trailing "/".
  // ops: the file operations of the replacement (tests make one fail);
  // null for the real ones.
  ServicePack(RegistryStore& registry, const QString& sourceFolder, FileOps* ops = nullptr);

  // The checks, in order; the first that fails gives its message.
  Report check();
  // Replaces the listed files; only after a check that gave Ready.
  Report apply();

  // The checks with their message shown; true when the pack may be
  // applied.
  bool checkAndTell(QWidget* parent = nullptr);
  // Asks first when `ask` (Cancel changes nothing), replaces the files and
  // tells how it went. The outcome, Ready when the user cancelled.
  Outcome applyAndTell(bool ask, QWidget* parent = nullptr);

  // The folders with a trailing "/" (the target once the check found it).
  const QString& sourceFolder() const { return source_; }
  const QString& targetFolder() const { return target_; }
  const FileList& fileList() const { return list_; }

 private:
  Report checkFiles();
  Report checkVersion() const;

  RegistryStore& registry_;
  QString source_;
  QString target_;
  FileList list_;
  QList<FileCopy> copies_;
  FileOps defaultOps_;
  FileOps* ops_;
};

// Shows a report's message through the presenter.
void tell(const Report& report, QWidget* parent = nullptr);

}  // namespace hv6::updater
