#pragma once
// A work file of fixed-size rows that belongs to one aggregation: a unique
// name in the work folder, made from the file name the report is known by
// (its stem and extension kept, six characters inserted), created empty,
// and removed when the object goes or remove() is called. Two windows or two
// computers aggregating at once into one work folder never share a file.

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryFile;

namespace hv6::sales {

class WorkFile {
 public:
  explicit WorkFile(int rowSize);
  ~WorkFile();
  WorkFile(const WorkFile&) = delete;
  WorkFile& operator=(const WorkFile&) = delete;

  // Creates the file in folder as "<stem>-XXXXXX.<extension>" (for
  // "t_e2001.001": "t_e2001-Ab12Cd.001"). False when the folder is missing
  // or not writable.
  bool create(const QString& folder, const QString& fileName);
  bool isOpen() const;
  QString path() const;
  int rowSize() const { return rowSize_; }

  // Appends one row (exactly rowSize bytes); false when the write failed.
  bool append(const QByteArray& row);
  // Pushes buffered rows to the file; false when the write failed.
  bool flush();
  qint64 rowCount() const { return rows_; }
  // Reads `count` rows from `first` (fewer at the end) into out.
  bool readRows(qint64 first, qint64 count, QByteArray& out) const;
  bool readRow(qint64 index, QByteArray& out) const { return readRows(index, 1, out); }
  bool writeRow(qint64 index, const QByteArray& row);
  // Closes and deletes the file.
  void remove();

 private:
  int rowSize_;
  qint64 rows_ = 0;
  std::unique_ptr<QTemporaryFile> file_;
};

// Where a window of `size` rows kept in memory starts when row `wanted`
// lies outside the window starting at `first` (-1: none yet): moving
// forward the row falls a quarter of the window from its start, moving
// back three quarters; never before row 0.
qint64 pagingStart(qint64 wanted, qint64 first, qint64 size);

}  // namespace hv6::sales
