#include "outside/picview6/ui/inputfile.h"

#include "outside/picview6/picturefile.h"
#include "platform/file_chooser.h"

#include <QDir>
#include <QImage>

bool CInputFile::InputFileDlg(QWidget* owner, void*, int multiple, void*) {
  hv6::FileChoice choice;
  choice.title = QStringLiteral("画像の取り込み");
  choice.startFolder = QDir::homePath();
  choice.filter = QStringLiteral("画像ファイル (*.jpg *.jpeg *.bmp *.JPG *.JPEG *.BMP);;すべてのファイル (*)");
  choice.parent = owner;
  choice.preview = [](const QString& path, const QSize& box) {
    const picview6::PictureRead read = picview6::readPicture(path, box);
    return read.ok() ? read.image : picview6::placeholderImage(box, path, read.fault);
  };
  if (multiple == 1) {
    files_ = hv6::fileChooser().chooseFilesToOpen(choice);
  } else {
    const QString file = hv6::fileChooser().chooseFileToOpen(choice);
    files_ = file.isEmpty() ? QStringList() : QStringList{file};
  }
  return !files_.isEmpty();
}
