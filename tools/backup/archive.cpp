#include "tools/backup/archive.h"

#include "tools/backup/sha256.h"

#include <QFile>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <vector>

namespace hv6::backup {
namespace {

constexpr qint64 kChunk = 1 << 20;

QString archiveText(archive* a) {
  const char* text = archive_error_string(a);
  return text ? QString::fromLocal8Bit(text) : QStringLiteral("unknown archive error");
}

}  // namespace

// libarchive writes through these into the QSaveFile.
struct ArchiveWriterCallbacks {
  static la_ssize_t write(archive* a, void* client, const void* buffer, size_t length) {
    auto* self = static_cast<ArchiveWriter*>(client);
    const qint64 written = self->file_->write(static_cast<const char*>(buffer), qint64(length));
    if (written == qint64(length)) return la_ssize_t(written);
    const bool full = self->file_->error() == QFileDevice::ResourceError;
    archive_set_error(a, full ? ENOSPC : EIO, "%s", self->file_->errorString().toLocal8Bit().constData());
    return -1;
  }
};

ArchiveWriter::ArchiveWriter() = default;

ArchiveWriter::~ArchiveWriter() { discard(); }

bool ArchiveWriter::fail(ArchiveFault fault, const QString& error) {
  if (fault_ == ArchiveFault::None) {
    fault_ = fault;
    error_ = error;
  }
  return false;
}

bool ArchiveWriter::open(const QString& path) {
  discard();
  fault_ = ArchiveFault::None;
  error_.clear();
  file_ = std::make_unique<QSaveFile>(path);
  if (!file_->open(QIODevice::WriteOnly)) {
    const bool full = file_->error() == QFileDevice::ResourceError;
    return fail(full ? ArchiveFault::DiskFull : ArchiveFault::Write, file_->errorString());
  }
  archive_ = archive_write_new();
  archive_write_set_format_pax_restricted(archive_);
  archive_write_set_bytes_per_block(archive_, int(kChunk));
  archive_write_set_bytes_in_last_block(archive_, 1);
  if (archive_write_open(archive_, this, nullptr, &ArchiveWriterCallbacks::write, nullptr) !=
      ARCHIVE_OK)
    return fail(ArchiveFault::Write, archiveText(archive_));
  return true;
}

bool ArchiveWriter::writeHeader(const QString& entry, qint64 size) {
  archive_entry* e = archive_entry_new();
  archive_entry_set_pathname_utf8(e, entry.toUtf8().constData());
  archive_entry_set_filetype(e, AE_IFREG);
  archive_entry_set_perm(e, 0644);
  archive_entry_set_size(e, size);
  const int result = archive_write_header(archive_, e);
  archive_entry_free(e);
  if (result == ARCHIVE_OK) return true;
  return fail(archive_errno(archive_) == ENOSPC ? ArchiveFault::DiskFull : ArchiveFault::Write,
              archiveText(archive_));
}

bool ArchiveWriter::writeData(const char* data, qint64 size) {
  while (size > 0) {
    const la_ssize_t n = archive_write_data(archive_, data, size_t(size));
    if (n <= 0)
      return fail(archive_errno(archive_) == ENOSPC ? ArchiveFault::DiskFull : ArchiveFault::Write,
                  archiveText(archive_));
    data += n;
    size -= n;
  }
  return true;
}

bool ArchiveWriter::addBytes(const QString& entry, const QByteArray& bytes) {
  if (!archive_ || fault_ != ArchiveFault::None) return false;
  return writeHeader(entry, bytes.size()) && writeData(bytes.constData(), bytes.size());
}

bool ArchiveWriter::addFile(const QString& entry, const QString& path, QByteArray* sha256,
                            qint64* size, const std::function<bool(qint64)>& progress) {
  if (!archive_ || fault_ != ArchiveFault::None) return false;
  QFile in(path);
  if (!in.open(QIODevice::ReadOnly)) return fail(ArchiveFault::Read, path + QStringLiteral(": ") + in.errorString());
  const qint64 total = in.size();
  if (!writeHeader(entry, total)) return false;
  Sha256 hash;
  std::vector<char> buffer(static_cast<std::size_t>(kChunk));
  qint64 done = 0;
  while (done < total) {
    const qint64 n = in.read(buffer.data(), std::min<qint64>(kChunk, total - done));
    if (n <= 0) return fail(ArchiveFault::Read, path + QStringLiteral(": ") + in.errorString());
    hash.add(QByteArrayView(buffer.data(), n));
    if (!writeData(buffer.data(), n)) return false;
    done += n;
    if (progress && !progress(n)) return fail(ArchiveFault::Cancelled, QStringLiteral("cancelled"));
  }
  if (sha256) *sha256 = hash.hexResult();
  if (size) *size = total;
  return true;
}

bool ArchiveWriter::commit() {
  if (!archive_ || fault_ != ArchiveFault::None) return false;
  const int closed = archive_write_close(archive_);
  if (closed != ARCHIVE_OK) {
    fail(archive_errno(archive_) == ENOSPC ? ArchiveFault::DiskFull : ArchiveFault::Write,
         archiveText(archive_));
    discard();
    return false;
  }
  archive_write_free(archive_);
  archive_ = nullptr;
  if (!file_->commit()) {
    const bool full = file_->error() == QFileDevice::ResourceError;
    fail(full ? ArchiveFault::DiskFull : ArchiveFault::Write, file_->errorString());
    file_.reset();
    return false;
  }
  file_.reset();
  return true;
}

void ArchiveWriter::discard() {
  if (archive_) {
    archive_write_fail(archive_);
    archive_write_free(archive_);
    archive_ = nullptr;
  }
  if (file_) {
    file_->cancelWriting();
    file_->commit();  // with writing cancelled: removes the temporary file
    file_.reset();
  }
}

ArchiveReader::ArchiveReader() = default;

ArchiveReader::~ArchiveReader() {
  if (archive_) archive_read_free(archive_);
}

bool ArchiveReader::fail(ArchiveFault fault, const QString& error) {
  if (fault_ == ArchiveFault::None) {
    fault_ = fault;
    error_ = error;
  }
  return false;
}

bool ArchiveReader::open(const QString& path) {
  archive_ = archive_read_new();
  // Only plain tar: any other kind of file is not a backup of ours.
  archive_read_support_format_tar(archive_);
  if (archive_read_open_filename(archive_, QFile::encodeName(path).constData(), size_t(kChunk)) !=
      ARCHIVE_OK)
    return fail(ArchiveFault::Read, archiveText(archive_));
  return true;
}

bool ArchiveReader::next(QString* entry, qint64* size, bool* regularFile) {
  if (!archive_ || fault_ != ArchiveFault::None) return false;
  archive_entry* e = nullptr;
  const int result = archive_read_next_header(archive_, &e);
  if (result == ARCHIVE_EOF) return false;
  if (result != ARCHIVE_OK) return fail(ArchiveFault::Format, archiveText(archive_));
  const char* name = archive_entry_pathname_utf8(e);
  if (!name) return fail(ArchiveFault::Format, QStringLiteral("an entry name is not readable"));
  *entry = QString::fromUtf8(name);
  *size = archive_entry_size_is_set(e) ? archive_entry_size(e) : -1;
  *regularFile = archive_entry_filetype(e) == AE_IFREG;
  return true;
}

bool ArchiveReader::readData(const std::function<bool(const char*, qint64)>& sink) {
  if (!archive_ || fault_ != ArchiveFault::None) return false;
  std::vector<char> buffer(static_cast<std::size_t>(kChunk));
  for (;;) {
    const la_ssize_t n = archive_read_data(archive_, buffer.data(), buffer.size());
    if (n == 0) return true;
    if (n < 0) return fail(ArchiveFault::Format, archiveText(archive_));
    if (!sink(buffer.data(), qint64(n))) return fail(ArchiveFault::Cancelled, QStringLiteral("stopped"));
  }
}

bool ArchiveReader::readAll(QByteArray* bytes, qint64 limit) {
  bytes->clear();
  return readData([&](const char* data, qint64 n) {
    if (bytes->size() + n > limit) return false;
    bytes->append(data, n);
    return true;
  });
}

}  // namespace hv6::backup
