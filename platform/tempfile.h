#pragma once
// A new temporary file with a unique name in a given folder, as Windows'
// GetTempFileName makes one: the caller names the folder and a prefix, the
// file is created empty, and the caller deletes it when done.

#include <QString>

namespace hv6 {

struct TempFileResult {
  QString path;   // the file made; empty on failure
  int error = 0;  // the system's error number (errno) when it failed, else 0

  bool ok() const { return error == 0; }
};

// Creates an empty file named prefix (its first three characters), six
// characters that make it unique and ".TMP" in folder, readable and
// writable by the user only. A folder that is empty text or does not exist
// fails with ENOENT; hv6::windowsErrorFromErrno() turns the error into the
// Windows code the caller reports.
TempFileResult createTempFile(const QString& folder, const QString& prefix);

}  // namespace hv6
