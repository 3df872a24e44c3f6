#include "mobile/fileerror.h"

#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"

namespace hv6 {

using fileio::FileCause;

QString fileErrorCauseText(FileCause cause) {
  switch (cause) {
    case FileCause::None: return QStringLiteral("ファイルがありません。");
    case FileCause::Generic: return QStringLiteral("一般ファイルエラーです。");
    case FileCause::FileNotFound: return QStringLiteral("ファイルが見つかりません。");
    case FileCause::BadPath: return QStringLiteral("バス名の指定が誤りです。");
    case FileCause::TooManyOpenFiles: return QStringLiteral("オープンファイルが多すぎます。");
    case FileCause::AccessDenied: return QStringLiteral("書込み違反です。");
    case FileCause::InvalidFile: return QStringLiteral("アクセス不可能なファイルです。");
    case FileCause::RemoveCurrentDir:
      return QStringLiteral("カレントディレクトリを削除しようとしました。");
    case FileCause::DirectoryFull: return QStringLiteral("ディレクトリにファイルが多すぎます。");
    case FileCause::BadSeek: return QStringLiteral("ファイルの大きさを超えてシークしました。");
    case FileCause::HardIo: return QStringLiteral("装置が使用可能ではありません。");
    case FileCause::SharingViolation: return QStringLiteral("共有違反です。");
    case FileCause::LockViolation: return QStringLiteral("ロック違反です。");
    case FileCause::DiskFull: return QStringLiteral("ディスクの容量が不足しています。");
    case FileCause::EndOfFile: return QStringLiteral("ファイルの終わりに達しています。");
  }
  return QStringLiteral("予想外のファイルエラーが発生しました。");
}

int fileErrorCode(FileCause cause) {
  switch (cause) {
    case FileCause::FileNotFound: return -10;
    case FileCause::DiskFull: return -12;
    case FileCause::InvalidFile:
    case FileCause::SharingViolation:
    case FileCause::LockViolation: return -13;
    case FileCause::AccessDenied: return -14;
    default: return -15;
  }
}

QString fileErrorText(const QString& fileName, FileCause cause) {
  return QStringLiteral("ファイル入出力でエラーが発生しました。\n") +
         QStringLiteral("\n　ファイル名：") + fileName + QStringLiteral("\n　原因の詳細：") +
         fileErrorCauseText(cause);
}

int showFileError(const QString& fileName, FileCause cause) {
  MessageRequest request;
  request.number = kFileErrorMessage;
  request.text = fileErrorText(fileName, cause);
  request.caption = kHrvCaption;
  request.icon = MsgIcon::Warning;
  messagePresenter().present(request);
  return fileErrorCode(cause);
}

}  // namespace hv6
