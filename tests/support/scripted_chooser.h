#pragma once
// Answers file and folder choosers from a script instead of showing them.
// Installs itself for its lifetime. A folder choice that carries a rating
// is asked to rate the scripted folder, and an unacceptable one is refused
// (answered as a cancel), as the real dialog keeps OK disabled for it.

#include "platform/file_chooser.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <optional>

namespace hv6test {

class ScriptedChooser final : public hv6::FileChooser {
 public:
  ScriptedChooser();
  ~ScriptedChooser() override;
  ScriptedChooser(const ScriptedChooser&) = delete;
  ScriptedChooser& operator=(const ScriptedChooser&) = delete;

  // The path for the next choice, in order; an empty path cancels. Without
  // one a choice is cancelled.
  void answer(const QString& path) { script_.enqueue(path); }
  // The files for the next choice of several files; an empty list cancels.
  // Without one such a choice takes the next single path.
  void answerFiles(const QStringList& paths) { files_.enqueue(paths); }

  QString chooseFolder(const hv6::FileChoice& choice) override;
  QString chooseFileToOpen(const hv6::FileChoice& choice) override;
  QString chooseFileToSave(const hv6::FileChoice& choice) override;
  QStringList chooseFilesToOpen(const hv6::FileChoice& choice) override;

  // Every choice asked, in order.
  const QList<hv6::FileChoice>& choices() const { return choices_; }
  // The rating the last rated folder choice gave to its scripted folder.
  const std::optional<hv6::FolderRating>& lastRating() const { return lastRating_; }
  // Folder choices whose scripted folder was refused.
  int refused() const { return refused_; }

 private:
  QString next(const hv6::FileChoice& choice);

  QQueue<QString> script_;
  QQueue<QStringList> files_;
  QList<hv6::FileChoice> choices_;
  std::optional<hv6::FolderRating> lastRating_;
  int refused_ = 0;
};

}  // namespace hv6test
