#pragma once
// The file chooser of the program: Qt's file dialogs, and a folder dialog
// of our own for choices that rate the selected folder.

#include "platform/file_chooser.h"

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace hv6 {

class QtFileChooser final : public FileChooser {
 public:
  QString chooseFolder(const FileChoice& choice) override;
  QString chooseFileToOpen(const FileChoice& choice) override;
  QString chooseFileToSave(const FileChoice& choice) override;
  // Qt's own dialog, with a preview pane beside the files when the choice
  // asks for one.
  QStringList chooseFilesToOpen(const FileChoice& choice) override;
};

// A tree of the file system's folders with a status line; every change of
// selection asks the choice's rating, which enables OK and sets the status.
class RatedFolderDialog final : public QDialog {
 public:
  explicit RatedFolderDialog(const FileChoice& choice);

  // Selects a folder as a click in the tree does.
  void selectFolder(const QString& folder);
  QString selectedFolder() const;

 private:
  void rate(const QString& folder);

  std::function<FolderRating(const QString&)> rateFolder_;
  QFileSystemModel* model_;
  QTreeView* tree_;
  QLabel* status_;
  QPushButton* ok_;
};

}  // namespace hv6
