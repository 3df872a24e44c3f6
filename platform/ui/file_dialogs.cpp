#include "platform/ui/file_dialogs.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace hv6 {

QString QtFileChooser::chooseFolder(const FileChoice& choice) {
  if (choice.rateFolder) {
    RatedFolderDialog dialog(choice);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFolder() : QString();
  }
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

QStringList QtFileChooser::chooseFilesToOpen(const FileChoice& choice) {
  if (!choice.preview)
    return QFileDialog::getOpenFileNames(choice.parent, choice.title, choice.startFolder,
                                         choice.filter);
  QFileDialog dialog(choice.parent, choice.title, choice.startFolder, choice.filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  auto* pane = new QLabel(&dialog);
  pane->setObjectName(QStringLiteral("preview"));
  pane->setAlignment(Qt::AlignCenter);
  pane->setFixedSize(220, 220);
  pane->setFrameShape(QFrame::StyledPanel);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);
  const auto preview = choice.preview;
  QObject::connect(&dialog, &QFileDialog::currentChanged, pane, [pane, preview](const QString& path) {
    const QFileInfo info(path);
    pane->setPixmap(info.isFile() ? QPixmap::fromImage(preview(path, pane->size() - QSize(8, 8)))
                                  : QPixmap());
  });
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

RatedFolderDialog::RatedFolderDialog(const FileChoice& choice)
    : QDialog(choice.parent),
      rateFolder_(choice.rateFolder),
      model_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)),
      status_(new QLabel(this)),
      ok_(nullptr) {
  setWindowTitle(QStringLiteral("フォルダの参照"));
  resize(440, 480);
  model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
  model_->setRootPath(QDir::rootPath());
  tree_->setObjectName(QStringLiteral("folders"));
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  tree_->setSortingEnabled(true);
  tree_->sortByColumn(0, Qt::AscendingOrder);
  for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
  status_->setObjectName(QStringLiteral("status"));
  status_->setTextFormat(Qt::PlainText);
  status_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("buttons"));
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setEnabled(false);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { rate(model_->filePath(current)); });

  // The question stands above the folders, as the shell's browser shows it.
  auto* question = new QLabel(choice.title, this);
  question->setObjectName(QStringLiteral("title"));
  question->setWordWrap(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addWidget(tree_, 1);
  layout->addWidget(status_);
  layout->addWidget(buttons);
  selectFolder(choice.startFolder);
}

void RatedFolderDialog::selectFolder(const QString& folder) {
  const QModelIndex index = folder.isEmpty() ? QModelIndex() : model_->index(folder);
  tree_->setCurrentIndex(index);
  if (index.isValid()) tree_->scrollTo(index);
}

QString RatedFolderDialog::selectedFolder() const {
  return model_->filePath(tree_->currentIndex());
}

void RatedFolderDialog::rate(const QString& folder) {
  const FolderRating rating = folder.isEmpty() ? FolderRating{} : rateFolder_(folder);
  ok_->setEnabled(rating.acceptable);
  status_->setText(rating.status);
}

}  // namespace hv6
