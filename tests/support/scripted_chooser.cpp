#include "tests/support/scripted_chooser.h"

namespace hv6test {

ScriptedChooser::ScriptedChooser() { hv6::setFileChooser(this); }

ScriptedChooser::~ScriptedChooser() { hv6::setFileChooser(nullptr); }

QString ScriptedChooser::next(const hv6::FileChoice& choice) {
  choices_.append(choice);
  return script_.isEmpty() ? QString() : script_.dequeue();
}

QString ScriptedChooser::chooseFolder(const hv6::FileChoice& choice) {
  const QString folder = next(choice);
  if (folder.isEmpty() || !choice.rateFolder) return folder;
  lastRating_ = choice.rateFolder(folder);
  if (lastRating_->acceptable) return folder;
  ++refused_;
  return QString();
}

QString ScriptedChooser::chooseFileToOpen(const hv6::FileChoice& choice) { return next(choice); }

QString ScriptedChooser::chooseFileToSave(const hv6::FileChoice& choice) { return next(choice); }

QStringList ScriptedChooser::chooseFilesToOpen(const hv6::FileChoice& choice) {
  if (files_.isEmpty()) {
    const QString path = next(choice);
    return path.isEmpty() ? QStringList() : QStringList{path};
  }
  choices_.append(choice);
  return files_.dequeue();
}

}  // namespace hv6test
