#include "shell/help.h"

#include "platform/presenter.h"
#include "shell/startup.h"

#include <QDir>
#include <QFileInfo>

namespace hv6 {

// A folder the program can list and read; a help file of another kind (a
// compiled help file copied from elsewhere) or a folder it may not read
// counts as missing.
bool HelpBook::exists() const {
  if (path_.isEmpty()) return false;
  const QFileInfo folder(path_);
  return folder.isDir() && folder.isReadable() && folder.isExecutable();
}

QUrl HelpBook::topicUrl(int topic) const {
  return QUrl::fromLocalFile(QDir(path_).filePath(QString::number(topic) + QStringLiteral(".html")));
}

QString HelpBook::missingText(const QString& path) {
  return QStringLiteral("Not Exist Html Help File\n\n   File Path [ %1 ]").arg(path);
}

QString HelpBook::notOpenedText(const QString& page) {
  return QStringLiteral("ヘルプを表示できませんでした。ブラウザーで次のページを開いてください。\n\n   File Path [ %1 ]")
      .arg(page);
}

bool showHelpTopic(const HelpBook& book, int topic, const PageOpener& open) {
  if (!book.exists()) {
    showMessage(HelpBook::missingText(book.path()), kAppTitle, MsgButtons::Ok, MsgIcon::Warning);
    return false;
  }
  // A topic without a page of its own shows the index.
  QUrl url = book.topicUrl(topic);
  if (!QFileInfo::exists(url.toLocalFile())) url = book.topicUrl(HelpTopic::kIndex);
  if (open(url)) return true;
  // No browser on the desktop: say where the page is, so it can be opened by hand.
  showMessage(HelpBook::notOpenedText(url.toLocalFile()), kAppTitle, MsgButtons::Ok,
              MsgIcon::Warning);
  return false;
}

}  // namespace hv6
