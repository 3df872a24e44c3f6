#include "platform/ui/file_dialogs.h"

#include <QFileDialog>

namespace hv6 {

QString QtFileChooser::chooseFolder(const FileChoice& choice) {
  return QFileDialog::getExistingDirectory(choice.parent, choice.title, choice.startFolder);
}

QString QtFileChooser::chooseFileToOpen(const FileChoice& choice) {
  return QFileDialog::getOpenFileName(choice.parent, choice.title, choice.startFolder,
                                      choice.filter);
}

QString QtFileChooser::chooseFileToSave(const FileChoice& choice) {
  return QFileDialog::getSaveFileName(choice.parent, choice.title, choice.startFolder,
                                      choice.filter);
}

}  // namespace hv6
