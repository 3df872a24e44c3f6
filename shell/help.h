#pragma once
// The program's help: a folder of HTML pages beside the program, named
// after it with the extension "chm" ("hv6.chm"), one page per topic number
// ("10000.html"); the index is topic 99999. Pages open in the desktop's
// browser.

#include <QString>
#include <QUrl>

#include <functional>

namespace hv6 {

namespace HelpTopic {
constexpr int kMain = 10000;          // F1 and "Harvoのヘルプ"
constexpr int kMenuSettings = 10024;  // the launcher settings dialog
constexpr int kIndex = 99999;
}  // namespace HelpTopic

class HelpBook {
 public:
  explicit HelpBook(QString path) : path_(std::move(path)) {}

  const QString& path() const { return path_; }
  bool exists() const;
  // The page of a topic number.
  QUrl topicUrl(int topic) const;

  // The text shown when the help is missing.
  static QString missingText(const QString& path);
  // The text shown when the desktop could not open a page.
  static QString notOpenedText(const QString& page);

 private:
  QString path_;
};

// Opens a page; false when it could not be opened.
using PageOpener = std::function<bool(const QUrl&)>;

// Shows a topic: the missing-help text with its path when the help is not
// there, otherwise the topic's page (or, when the desktop cannot open it, a
// text naming the page). True when a page was opened.
bool showHelpTopic(const HelpBook& book, int topic, const PageOpener& open);

}  // namespace hv6
