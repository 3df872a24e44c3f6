#include "outside/vqbase106/regkey.h"

namespace {

int toError(hv6::RegStatus status, int ioError) {
  switch (status) {
    case hv6::RegStatus::Ok:
      return 0;
    case hv6::RegStatus::NoKey:
    case hv6::RegStatus::NoValue:
      return CRegKey::kErrNotFound;
    case hv6::RegStatus::WrongType:
      return CRegKey::kErrInvalidData;
    case hv6::RegStatus::IoError:
      return ioError;
  }
  return ioError;
}

int readError(hv6::RegStatus status) { return toError(status, CRegKey::kErrReadFault); }
int writeError(hv6::RegStatus status) { return toError(status, CRegKey::kErrWriteFault); }

}  // namespace

int CRegKey::Open(HKEY root, const QString& subkey, REGSAM access) {
  Close();
  if (root != HKEY_CURRENT_USER) return kErrAccessDenied;
  hv6::RegistryStore store;
  if (subkey.isEmpty() || !store.keyExists(subkey)) return kErrNotFound;
  store_ = store;
  key_ = subkey;
  open_ = true;
  writable_ = (access & KEY_SET_VALUE) != 0;
  return 0;
}

void CRegKey::Close() {
  open_ = false;
  writable_ = false;
  key_.clear();
}

int CRegKey::Read(const QString& name, QString& out) const {
  if (!open_) return kErrInvalidHandle;
  return readError(store_.readString(key_, name, out));
}

int CRegKey::Read(const QString& name, DWORD& out) const {
  if (!open_) return kErrInvalidHandle;
  return readError(store_.readDword(key_, name, out));
}

int CRegKey::Read(const QString& name, QByteArray& out) const {
  if (!open_) return kErrInvalidHandle;
  return readError(store_.readBinary(key_, name, out));
}

int CRegKey::checkWritable() const {
  if (!open_) return kErrInvalidHandle;
  return writable_ ? 0 : kErrAccessDenied;
}

int CRegKey::Write(const QString& name, DWORD value) {
  if (const int error = checkWritable()) return error;
  return writeError(store_.writeDword(key_, name, value));
}

int CRegKey::Write(const QString& name, const QString& value) {
  if (const int error = checkWritable()) return error;
  return writeError(store_.writeString(key_, name, value));
}

int CRegKey::Write(const QString& name, const QByteArray& value) {
  if (const int error = checkWritable()) return error;
  return writeError(store_.writeBinary(key_, name, value));
}
