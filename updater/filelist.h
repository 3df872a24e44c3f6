#pragma once
// The file list of a service pack, "FileList.dat" beside the updater: an
// INI file whose section FileList holds the installed versions the pack
// applies to, the number of files and their names (File01, File02, …).

#include <QString>
#include <QStringList>

namespace hv6::updater {

inline const QString kFileListName = QStringLiteral("FileList.dat");
inline const QString kFileListSection = QStringLiteral("FileList");

struct FileList {
  QString minVersion;  // MinVersion, at most 9 characters, empty when missing
  QString maxVersion;  // MaxVersion, the same
  int fileCount = 0;   // FileCount; below 1 means there is no list
  // The names in list order, each at most 99 characters. Reading stops at
  // the first missing or empty name, so there are fewer than fileCount
  // when the list lacks one.
  QStringList names;
};

// Reads the list in the folder. A missing or unreadable file reads as a
// list without files.
FileList readFileList(const QString& folder);

// The key of the file at a 1-based index: "File%02d" (File01 … File99,
// then File100 …).
QString fileKey(int index);

// FileCount's text as the count: its leading decimal number (0 when it
// starts with none) held in 16 bits, so "65537" counts 1 and "40000" is
// negative.
int fileCountOf(const QString& text);

// A listed name as a path below a folder: "\" separators read as "/",
// empty and "." parts dropped. Empty for a name that is empty, absolute
// (a leading separator or a drive letter) or has a ".." part, since it
// would reach outside the folder.
QString relativePath(const QString& name);

}  // namespace hv6::updater
