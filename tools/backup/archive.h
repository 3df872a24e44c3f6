#pragma once
// The tar stream of a backup file through libarchive: a writer that fills a
// temporary file beside the target and puts it in place only when it is
// complete, and a reader that walks the entries one after the other.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QSaveFile;
struct archive;

namespace hv6::backup {

// Why an archive operation failed.
enum class ArchiveFault { None, DiskFull, Write, Read, Format, Cancelled };

class ArchiveWriter {
 public:
  ArchiveWriter();
  ~ArchiveWriter();  // without commit(): the temporary file is removed
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  bool open(const QString& path);
  bool addBytes(const QString& entry, const QByteArray& bytes);
  // Adds the file's bytes under entry and returns their SHA-256 (hex) and
  // size. progress(bytes) is called as data goes out; false cancels.
  bool addFile(const QString& entry, const QString& path, QByteArray* sha256, qint64* size,
               const std::function<bool(qint64)>& progress = {});
  // Finishes the stream, syncs and renames the file into place.
  bool commit();
  void discard();

  ArchiveFault fault() const { return fault_; }
  const QString& error() const { return error_; }

 private:
  bool fail(ArchiveFault fault, const QString& error);
  bool writeHeader(const QString& entry, qint64 size);
  bool writeData(const char* data, qint64 size);

  archive* archive_ = nullptr;
  std::unique_ptr<QSaveFile> file_;
  ArchiveFault fault_ = ArchiveFault::None;
  QString error_;

  friend struct ArchiveWriterCallbacks;
};

class ArchiveReader {
 public:
  ArchiveReader();
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  bool open(const QString& path);
  // The next entry; false at the end (fault() None) or on a fault.
  bool next(QString* entry, qint64* size, bool* regularFile);
  // The data of the current entry, in pieces; false on a read fault or
  // when sink answers false (cancelled).
  bool readData(const std::function<bool(const char*, qint64)>& sink);
  // The whole current entry, up to limit bytes (a longer one is a fault).
  bool readAll(QByteArray* bytes, qint64 limit);

  ArchiveFault fault() const { return fault_; }
  const QString& error() const { return error_; }

 private:
  bool fail(ArchiveFault fault, const QString& error);

  archive* archive_ = nullptr;
  ArchiveFault fault_ = ArchiveFault::None;
  QString error_;
};

}  // namespace hv6::backup
