#include "platform/tempfile.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace hv6 {

TempFileResult createTempFile(const QString& folder, const QString& prefix) {
  TempFileResult result;
  if (folder.isEmpty()) {
    result.error = ENOENT;
    return result;
  }
  static const QString kSuffix = QStringLiteral(".TMP");
  QByteArray name =
      QFile::encodeName(folder + u'/' + prefix.left(3) + QStringLiteral("XXXXXX") + kSuffix);
  const int fd = ::mkostemps(name.data(), static_cast<int>(kSuffix.size()), O_CLOEXEC);
  if (fd < 0) {
    result.error = errno != 0 ? errno : EIO;
    return result;
  }
  ::close(fd);
  result.path = QFile::decodeName(name);
  return result;
}

}  // namespace hv6
