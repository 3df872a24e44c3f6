#pragma once
// The file-error message of the mobile exchange (string 8012): which file
// and why, for the download file and the import log.

#include "platform/file_io.h"

#include <QString>

namespace hv6 {

inline constexpr long kFileErrorMessage = 8012;

// The text for a cause ("ファイルが見つかりません。", ...).
QString fileErrorCauseText(fileio::FileCause cause);
// The code the failing operation gives its caller: -10 file not found,
// -12 disk full, -13 invalid file or a sharing or lock violation, -14
// access denied, -15 every other cause.
int fileErrorCode(fileio::FileCause cause);
// The whole message: "ファイル入出力でエラーが発生しました。\n", the file name
// and the cause.
QString fileErrorText(const QString& fileName, fileio::FileCause cause);
// Shows the message (number 8012) and returns fileErrorCode(cause).
int showFileError(const QString& fileName, fileio::FileCause cause);

}  // namespace hv6
