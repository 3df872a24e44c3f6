#pragma once
// What the backup and the restore library share around their export. The
// library holds its own copy of the platform layer, so while its window is
// shown it installs Qt message boxes and file dialogs there; without a
// window its messages go to standard error as "[number] text".

#include "platform/file_chooser.h"
#include "platform/presenter.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/message_box.h"

#include <QFileInfo>
#include <QString>

namespace hv6::backup {

class WindowedMessages {
 public:
  WindowedMessages() {
    setMessagePresenter(&presenter_);
    setFileChooser(&chooser_);
  }
  ~WindowedMessages() {
    setMessagePresenter(nullptr);
    setFileChooser(nullptr);
  }
  WindowedMessages(const WindowedMessages&) = delete;
  WindowedMessages& operator=(const WindowedMessages&) = delete;

 private:
  QtMessagePresenter presenter_;
  QtFileChooser chooser_;
};

// A text argument of the export; null counts as empty.
inline QString argumentText(const char* text) { return text ? QString::fromUtf8(text) : QString(); }

// A file named on the command line, relative to the working folder.
inline QString commandLineFile(const QString& file) { return QFileInfo(file).absoluteFilePath(); }

}  // namespace hv6::backup
