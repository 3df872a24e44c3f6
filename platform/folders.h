#pragma once
// Special folders of the shell and the program's runtime locations. Each is
// overridable by an environment variable so tests and scripts can point
// them at folders of their own.

#include <QString>

namespace hv6 {

enum SpecialFolder {
  kFolderDocuments = 5,         // HV6_DOCUMENTS, else the user's documents (none without a home)
  kFolderLocalAppData = 28,     // HV6_LOCALDATA, else app-local data
  kFolderCommonDocuments = 46,  // HV6_COMMON, else the machine-wide folder
};

// The folder without a trailing separator; empty for an unknown id.
QString specialFolder(int folderId);

// Bytes free for this user on the file system that holds path (a file or
// a folder); -1 when that cannot be found out.
qint64 freeDiskSpace(const QString& path);

// Per-user runtime folder for locks and local sockets (HV6_RUNTIME).
QString runtimeFolder();

}  // namespace hv6
