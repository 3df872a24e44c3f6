#pragma once
// Special folders of the shell: 5 the user's documents, 28 the local
// application data, 46 the documents of all users.

#include <QString>

class CVqPath {
 public:
  // The folder without a trailing separator ("/home/u/Documents"); nonzero
  // and `out` unchanged for an unknown id. The folder need not exist yet.
  static int GetSpFolder(QString& out, int folderId);

  // The folder followed by a relative path written with "\" or "/"
  // separators: Join("/home/u/Documents", "Velqor\\HV6P\\") gives
  // "/home/u/Documents/Velqor/HV6P/". A trailing separator is kept; an
  // empty relative path gives the folder itself.
  static QString Join(const QString& folder, const QString& relative);
};
