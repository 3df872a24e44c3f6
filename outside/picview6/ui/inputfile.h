#pragma once
// CInputFile: the chooser of picture files to import, several at once, with
// a preview of the selected file; through the program's file chooser.

#include <QStringList>

class QWidget;

class CInputFile {
 public:
  // Runs the chooser over owner; multiple 1 lets several files be chosen.
  // True when the user chose files (reserved arguments are ignored).
  bool InputFileDlg(QWidget* owner, void* reserved, int multiple, void* reserved2);
  // The full paths chosen, in the chooser's order.
  void GetInputFiles(QStringList& files) const { files = files_; }

 private:
  QStringList files_;
};
