#pragma once
// The file chooser of the program: Qt's file dialogs.

#include "platform/file_chooser.h"

namespace hv6 {

class QtFileChooser final : public FileChooser {
 public:
  QString chooseFolder(const FileChoice& choice) override;
  QString chooseFileToOpen(const FileChoice& choice) override;
  QString chooseFileToSave(const FileChoice& choice) override;
};

}  // namespace hv6
