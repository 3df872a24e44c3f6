#pragma once
// The data folder as the data-information page shows and chooses it. Paths
// are POSIX paths; the root "/" stands where a drive root stood.

#include "platform/file_chooser.h"

#include <QString>

#include <functional>

namespace hv6 {

// Status texts of the folder browser.
inline const QString kSameFolderStatus = QStringLiteral("現在のデータフォルダと同じフォルダを指定しました。");
inline const QString kDiaryFoundStatus = QStringLiteral("日誌のデータが存在します。");
inline const QString kDiaryMissingStatus = QStringLiteral("日誌のデータは存在しません。");

// The folder of a database path, without a trailing separator except for
// the root "/"; empty when the path names no folder.
QString dataFolderOf(const QString& databasePath);

// The two database paths inside a folder.
QString diaryPathIn(const QString& folder);
QString weatherPathIn(const QString& folder);

// The text as it fits `width`: itself when it fits, else cut from the end,
// one character at a time, until it followed by "..." fits (just "..."
// when nothing does).
QString fitWithEllipsis(const QString& text, int width,
                        const std::function<int(const QString&)>& textWidth);

// Whether a folder can become the data folder: not the current one (told
// apart without regard to case); it holds the diary database; and with
// mode 1, when that database is of this edition, the weather database too.
FolderRating rateDataFolder(const QString& folder, const QString& currentFolder, int mode);

}  // namespace hv6
