#include "sales/reports/workfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace hv6::sales {

WorkFile::WorkFile(int rowSize) : rowSize_(rowSize) {}

WorkFile::~WorkFile() { remove(); }

bool WorkFile::create(const QString& folder, const QString& fileName) {
  remove();
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
  const QFileInfo name(fileName);
  const QString pattern = QDir(folder).filePath(name.completeBaseName() +
                                                QStringLiteral("-XXXXXX.") + name.suffix());
  auto file = std::make_unique<QTemporaryFile>(pattern);
  file->setAutoRemove(true);
  if (!file->open()) return false;
  // Qt may make the file without a name until one is asked for; the work
  // file is to be seen in the work folder from the start.
  if (file->fileName().isEmpty()) return false;
  file_ = std::move(file);
  rows_ = 0;
  return true;
}

bool WorkFile::isOpen() const { return file_ != nullptr; }

QString WorkFile::path() const { return file_ ? file_->fileName() : QString(); }

bool WorkFile::append(const QByteArray& row) {
  if (!file_ || row.size() != rowSize_) return false;
  if (!file_->seek(rows_ * rowSize_)) return false;
  if (file_->write(row) != rowSize_) return false;
  ++rows_;
  return true;
}

bool WorkFile::flush() { return file_ && file_->flush(); }

bool WorkFile::readRows(qint64 first, qint64 count, QByteArray& out) const {
  out.clear();
  if (!file_ || first < 0 || first >= rows_) return false;
  count = std::min(count, rows_ - first);
  if (!file_->seek(first * rowSize_)) return false;
  out = file_->read(count * rowSize_);
  return out.size() == count * rowSize_;
}

bool WorkFile::writeRow(qint64 index, const QByteArray& row) {
  if (!file_ || row.size() != rowSize_ || index < 0 || index >= rows_) return false;
  return file_->seek(index * rowSize_) && file_->write(row) == rowSize_;
}

void WorkFile::remove() {
  if (!file_) return;
  file_->close();
  file_->remove();
  file_.reset();
  rows_ = 0;
}

qint64 pagingStart(qint64 wanted, qint64 first, qint64 size) {
  const bool back = first >= 0 && wanted < first;
  const qint64 start = wanted - (back ? size * 3 / 4 : size / 4);
  return std::max<qint64>(0, start);
}

}  // namespace hv6::sales
