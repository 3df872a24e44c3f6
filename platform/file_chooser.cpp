#include "platform/file_chooser.h"

namespace hv6 {
namespace {

// Without a window system nothing can be chosen.
class CancellingChooser final : public FileChooser {
 public:
  QString chooseFolder(const FileChoice&) override { return QString(); }
  QString chooseFileToOpen(const FileChoice&) override { return QString(); }
  QString chooseFileToSave(const FileChoice&) override { return QString(); }
};

CancellingChooser g_cancellingChooser;
FileChooser* g_chooser = nullptr;

}  // namespace

QStringList FileChooser::chooseFilesToOpen(const FileChoice& choice) {
  const QString file = chooseFileToOpen(choice);
  return file.isEmpty() ? QStringList() : QStringList{file};
}

FileChooser& fileChooser() { return g_chooser ? *g_chooser : g_cancellingChooser; }

void setFileChooser(FileChooser* chooser) { g_chooser = chooser; }

}  // namespace hv6
