#pragma once
// Folder and file choosers go through one interface so that tests can
// answer them from a script. The program installs the Qt chooser at start;
// without one every choice is cancelled.

#include <QString>
#include <QStringList>

#include <functional>

class QImage;
class QSize;
class QWidget;

namespace hv6 {

// What a folder chooser's caller thinks of the selected folder: OK is
// enabled only for an acceptable one; the status line shows the text.
struct FolderRating {
  bool acceptable = false;
  QString status;
};

struct FileChoice {
  QString title;
  QString startFolder;  // or a start file for saving
  QString filter;       // Qt's form: "画像 (*.jpg *.bmp);;すべて (*)"
  QWidget* parent = nullptr;
  // For chooseFolder: rates every folder as it is selected. Without it any
  // folder can be chosen and there is no status line.
  std::function<FolderRating(const QString& folder)> rateFolder;
  // For chooseFilesToOpen: the picture of a selected file shown in a
  // preview pane, made to fit box. Without it there is no pane.
  std::function<QImage(const QString& path, const QSize& box)> preview;
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Each returns the chosen path, or an empty text when cancelled.
  virtual QString chooseFolder(const FileChoice& choice) = 0;
  virtual QString chooseFileToOpen(const FileChoice& choice) = 0;
  virtual QString chooseFileToSave(const FileChoice& choice) = 0;
  // Several existing files at once; empty when cancelled. A chooser that
  // offers no more than one file answers with chooseFileToOpen's choice.
  virtual QStringList chooseFilesToOpen(const FileChoice& choice);
};

// The chooser in use. Never null.
FileChooser& fileChooser();
// Installs a chooser (not owned); nullptr restores the default.
void setFileChooser(FileChooser* chooser);

}  // namespace hv6
