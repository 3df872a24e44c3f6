#pragma once
// A registry key under the current user, over the settings store of the
// platform layer. Open never creates a key (only the installation does);
// Read fails on a missing value or one of another type; Write needs a key
// opened with write access and fails when the key has vanished since.
//
// All calls but Close answer 0 on success and a nonzero error number
// otherwise (the numbers Windows uses, below).

#include "platform/registry.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

using DWORD = std::uint32_t;
using REGSAM = std::uint32_t;

// A predefined root key. Only HKEY_CURRENT_USER is served.
enum class HKEY : std::uint32_t {};
inline constexpr HKEY HKEY_CURRENT_USER{0x80000001u};
inline constexpr HKEY HKEY_LOCAL_MACHINE{0x80000002u};

inline constexpr REGSAM KEY_SET_VALUE = 0x0002u;  // part of KEY_WRITE
inline constexpr REGSAM KEY_READ = 0x20019u;
inline constexpr REGSAM KEY_WRITE = 0x20006u;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003Fu;

class CRegKey {
 public:
  static constexpr int kErrNotFound = 2;       // no such key or value
  static constexpr int kErrAccessDenied = 5;   // another root, or no write access
  static constexpr int kErrInvalidHandle = 6;  // the key is not open
  static constexpr int kErrInvalidData = 13;   // the value has another type
  static constexpr int kErrWriteFault = 29;    // the settings file could not be written
  static constexpr int kErrReadFault = 30;     // the settings file could not be read

  CRegKey() = default;
  ~CRegKey() { Close(); }
  CRegKey(const CRegKey&) = delete;
  CRegKey& operator=(const CRegKey&) = delete;

  // subkey is relative to the root with "\" separators, e.g.
  // "Software\\Velqor\\HV6\\HV6\\Calendar"; a trailing "\" is allowed.
  int Open(HKEY root, const QString& subkey, REGSAM access = KEY_READ | KEY_WRITE);
  void Close();
  bool IsOpen() const { return open_; }

  int Read(const QString& name, QString& out) const;
  int Read(const QString& name, DWORD& out) const;
  int Read(const QString& name, QByteArray& out) const;

  int Write(const QString& name, DWORD value);
  int Write(const QString& name, const QString& value);
  int Write(const QString& name, const QByteArray& value);

 private:
  int checkWritable() const;

  hv6::RegistryStore store_;
  QString key_;
  bool open_ = false;
  bool writable_ = false;
};
