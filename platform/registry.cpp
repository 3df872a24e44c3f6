#include "platform/registry.h"

#include "platform/file_io.h"
#include "platform/reg_document.h"

#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStandardPaths>

#include <functional>
#include <memory>

namespace hv6 {
namespace {

using DocumentPtr = std::shared_ptr<const RegDocument>;

// A file replaced again within this time can show the same stamp (coarse
// clock, reused inode), so only older files are served from the cache.
constexpr std::int64_t kSettledMs = 3000;
constexpr int kPrivateFile = 0600;
constexpr int kPrivateFolder = 0700;

struct Snapshot {
  RegStatus status = RegStatus::Ok;
  DocumentPtr document;
};

RegStatus ioError(const QString& text) {
  qWarning("hv6: settings store: %s", qUtf8Printable(text));
  return RegStatus::IoError;
}

DocumentPtr emptyDocument() {
  static const DocumentPtr document = std::make_shared<const RegDocument>();
  return document;
}

bool settled(const fileio::FileStamp& stamp) {
  return stamp.mtimeNs / 1000000 < fileio::wallClockMs() - kSettledMs;
}

// The parsed files of this process, keyed by path and valid for one stamp.
class DocumentCache {
 public:
  Snapshot load(const QString& path) {
    const fileio::ReadResult probe = fileio::statFile(path);
    if (!probe.ok) return {ioError(probe.error), nullptr};
    if (!probe.stamp.exists) return {RegStatus::Ok, emptyDocument()};
    if (DocumentPtr cached = find(path, probe.stamp)) return {RegStatus::Ok, cached};
    const fileio::ReadResult read = fileio::readFile(path);
    if (!read.ok) return {ioError(read.error), nullptr};
    auto document = std::make_shared<const RegDocument>(RegDocument::parse(read.bytes));
    if (read.stamp.exists && settled(read.stamp)) remember(path, read.stamp, document);
    return {RegStatus::Ok, document};
  }

  void forget(const QString& path) {
    QMutexLocker locker(&mutex_);
    entries_.remove(path);
  }

 private:
  struct Entry {
    fileio::FileStamp stamp;
    DocumentPtr document;
  };

  DocumentPtr find(const QString& path, const fileio::FileStamp& stamp) {
    QMutexLocker locker(&mutex_);
    const auto it = entries_.constFind(path);
    return it != entries_.cend() && it->stamp == stamp ? it->document : nullptr;
  }

  void remember(const QString& path, const fileio::FileStamp& stamp, DocumentPtr document) {
    QMutexLocker locker(&mutex_);
    entries_.insert(path, Entry{stamp, std::move(document)});
  }

  QMutex mutex_;
  QHash<QString, Entry> entries_;
};

DocumentCache& cache() {
  static DocumentCache instance;
  return instance;
}

// Runs the change on the current file under the writers' lock and replaces
// the file when the change succeeds and the new text reads back as the
// changed document: no write is reported done that the next read would not
// find, and none takes other values with it.
RegStatus modifyFile(const QString& path, const std::function<RegStatus(RegDocument&)>& change) {
  const QString target = fileio::resolvedPath(path);
  fileio::FileLock lock;
  if (!fileio::lockForWriting(lock, target, kPrivateFile)) return ioError(lock.error());
  const fileio::ReadResult read = fileio::readFile(target);
  if (!read.ok) return ioError(read.error);
  RegDocument document = RegDocument::parse(read.bytes);
  const RegStatus status = change(document);
  if (status != RegStatus::Ok) return status;
  const QByteArray bytes = document.toBytes();
  if (!RegDocument::parse(bytes).readsAs(document))
    return ioError(QStringLiteral("the change would not read back as written: ") + path);
  const fileio::WriteResult written = fileio::replaceFile(target, bytes, kPrivateFile);
  cache().forget(path);
  return written.ok ? RegStatus::Ok : ioError(written.error);
}

// The value of the wanted kind, or why there is none.
RegStatus findValue(const QString& path, const QString& key, const QString& name,
                    RegValue::Kind kind, RegValue& out) {
  const Snapshot snapshot = cache().load(path);
  if (snapshot.status != RegStatus::Ok) return snapshot.status;
  if (!snapshot.document->keyExists(key)) return RegStatus::NoKey;
  const RegValue* value = snapshot.document->value(key, name);
  if (!value) return RegStatus::NoValue;
  if (value->kind != kind) return RegStatus::WrongType;
  out = *value;
  return RegStatus::Ok;
}

}  // namespace

RegistryStore::RegistryStore() : path_(defaultPath()) {}

RegistryStore::RegistryStore(QString filePath) : path_(std::move(filePath)) {}

QString RegistryStore::defaultPath() {
  const QString overridden = qEnvironmentVariable("HV6_REGISTRY");
  if (!overridden.isEmpty()) return overridden;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/hv6/registry.reg");
}

RegStatus RegistryStore::readString(const QString& key, const QString& name, QString& out) const {
  RegValue value;
  const RegStatus status = findValue(path_, key, name, RegValue::Kind::String, value);
  if (status == RegStatus::Ok) out = value.text;
  return status;
}

RegStatus RegistryStore::readDword(const QString& key, const QString& name,
                                   std::uint32_t& out) const {
  RegValue value;
  const RegStatus status = findValue(path_, key, name, RegValue::Kind::Dword, value);
  if (status == RegStatus::Ok) out = value.dword;
  return status;
}

RegStatus RegistryStore::readBinary(const QString& key, const QString& name,
                                    QByteArray& out) const {
  RegValue value;
  const RegStatus status = findValue(path_, key, name, RegValue::Kind::Binary, value);
  if (status == RegStatus::Ok) out = value.bytes;
  return status;
}

RegStatus RegistryStore::valueType(const QString& key, const QString& name, RegType& out) const {
  const Snapshot snapshot = cache().load(path_);
  if (snapshot.status != RegStatus::Ok) return snapshot.status;
  if (!snapshot.document->keyExists(key)) return RegStatus::NoKey;
  const RegValue* value = snapshot.document->value(key, name);
  if (!value) return RegStatus::NoValue;
  switch (value->kind) {
    case RegValue::Kind::String: out = RegType::String; return RegStatus::Ok;
    case RegValue::Kind::Dword: out = RegType::Dword; return RegStatus::Ok;
    case RegValue::Kind::Binary: out = RegType::Binary; return RegStatus::Ok;
    case RegValue::Kind::Other: break;
  }
  return RegStatus::WrongType;
}

RegStatus RegistryStore::writeString(const QString& key, const QString& name,
                                     const QString& value) {
  return writeValue(key, name, RegValue::string(value));
}

RegStatus RegistryStore::writeDword(const QString& key, const QString& name, std::uint32_t value) {
  return writeValue(key, name, RegValue::number(value));
}

RegStatus RegistryStore::writeBinary(const QString& key, const QString& name,
                                     const QByteArray& value) {
  return writeValue(key, name, RegValue::binary(value));
}

RegStatus RegistryStore::writeValue(const QString& key, const QString& name,
                                    const RegValue& value) {
  // Checked before taking the lock too, so a write to a missing key leaves
  // no file behind.
  const Snapshot snapshot = cache().load(path_);
  if (snapshot.status != RegStatus::Ok) return snapshot.status;
  if (!snapshot.document->keyExists(key)) return RegStatus::NoKey;
  return modifyFile(path_, [&](RegDocument& document) {
    return document.setValue(key, name, value);
  });
}

RegWrite RegWrite::string(const QString& key, const QString& name, const QString& text) {
  RegWrite write;
  write.key = key;
  write.name = name;
  write.text = text;
  return write;
}

RegWrite RegWrite::number(const QString& key, const QString& name, std::uint32_t dword) {
  RegWrite write;
  write.key = key;
  write.name = name;
  write.type = RegType::Dword;
  write.dword = dword;
  return write;
}

namespace {
RegValue valueOf(const RegWrite& write) {
  switch (write.type) {
    case RegType::Dword: return RegValue::number(write.dword);
    case RegType::Binary: return RegValue::binary(write.bytes);
    case RegType::String: break;
  }
  return RegValue::string(write.text);
}
}  // namespace

RegStatus RegistryStore::writeValues(const QList<RegWrite>& values) {
  const Snapshot snapshot = cache().load(path_);
  if (snapshot.status != RegStatus::Ok) return snapshot.status;
  for (const RegWrite& write : values)
    if (!snapshot.document->keyExists(write.key)) return RegStatus::NoKey;
  return modifyFile(path_, [&](RegDocument& document) {
    for (const RegWrite& write : values) {
      const RegStatus status = document.setValue(write.key, write.name, valueOf(write));
      if (status != RegStatus::Ok) return status;
    }
    return RegStatus::Ok;
  });
}

RegStatus RegistryStore::deleteValue(const QString& key, const QString& name) {
  const Snapshot snapshot = cache().load(path_);
  if (snapshot.status != RegStatus::Ok) return snapshot.status;
  if (!snapshot.document->keyExists(key)) return RegStatus::NoKey;
  if (!snapshot.document->value(key, name)) return RegStatus::NoValue;
  return modifyFile(path_, [&](RegDocument& document) {
    return document.removeValue(key, name);
  });
}

bool RegistryStore::keyExists(const QString& key) const {
  const Snapshot snapshot = cache().load(path_);
  return snapshot.status == RegStatus::Ok && snapshot.document->keyExists(key);
}

RegStatus RegistryStore::createKey(const QString& key) {
  if (key.contains(u'\n') || key.contains(u'\r'))
    return ioError(QStringLiteral("a key name cannot hold a line break"));
  if (keyExists(key)) return RegStatus::Ok;
  if (!fileio::makeFolder(QFileInfo(path_).absolutePath(), kPrivateFolder))
    return ioError(QStringLiteral("cannot create the folder of ") + path_);
  return modifyFile(path_, [&](RegDocument& document) {
    return document.createKey(key) ? RegStatus::Ok : RegStatus::IoError;
  });
}

QStringList RegistryStore::valueNames(const QString& key) const {
  const Snapshot snapshot = cache().load(path_);
  return snapshot.status == RegStatus::Ok ? snapshot.document->valueNames(key) : QStringList();
}

QStringList RegistryStore::subKeys(const QString& key) const {
  const Snapshot snapshot = cache().load(path_);
  return snapshot.status == RegStatus::Ok ? snapshot.document->subKeys(key) : QStringList();
}

}  // namespace hv6
