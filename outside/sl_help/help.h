#pragma once
// Help topics of the sales windows. The host owns the object and names its
// help pages (a folder of "<topic>.html" pages, see shell/help.h); each
// window selects its topic when created and shows it on F1. The calls are
// virtual so that the host's code (its presenter, its browser) runs.

#include <QString>
#include <QUrl>

#include <functional>

namespace sl {

class CHelp {
 public:
  // Opens a page; false when it could not be opened.
  using Opener = std::function<bool(const QUrl&)>;

  // bookPath: the folder of the help pages. Pages open in the desktop's
  // browser unless an opener is set.
  explicit CHelp(QString bookPath = {}) : bookPath_(std::move(bookPath)) {}
  virtual ~CHelp() = default;
  CHelp(const CHelp&) = delete;
  CHelp& operator=(const CHelp&) = delete;

  void setBookPath(const QString& path) { bookPath_ = path; }
  const QString& bookPath() const { return bookPath_; }
  void setOpener(Opener opener) { opener_ = std::move(opener); }

  // Makes `topic` the topic HelpDisp shows.
  virtual void SelectHelp(int topic) { topic_ = topic; }
  int selectedTopic() const { return topic_; }
  // Shows the selected topic (the help's index page when none was selected
  // or the topic has no page); a missing help is reported in a box. True
  // when a page was opened.
  virtual bool HelpDisp();

 private:
  QString bookPath_;
  Opener opener_;
  int topic_ = 0;
};

}  // namespace sl
