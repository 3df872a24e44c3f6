#pragma once
// The settings store that stands in for the registry under the current user.
//
// All keys live in one text file in .reg syntax (UTF-8). Key paths given to
// this class are relative to HKEY_CURRENT_USER and use backslashes, e.g.
// "Software\\Velqor\\HV6\\HV6\\Calendar"; keys and value names compare
// without regard to case, as on Windows. The empty name is the key's
// default value (written "@").
//
// Reads fail on a missing key, a missing value or a value of another type.
// Writes never create keys: only createKey() does, and only the installation
// calls it. Every write is an atomic replace of the file under an advisory
// lock on the file a symbolic link leads to, so several programs can share
// the file by any path. A write is done only when the new text reads back
// with the change and every other value as before. Lines the parser does
// not understand are kept as they are.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace hv6 {

struct RegValue;

enum class RegStatus {
  Ok,
  NoKey,      // the key does not exist
  NoValue,    // the key exists, the value does not
  WrongType,  // the value exists with another type
  IoError,    // the file could not be read, locked or replaced, or the
              // value would not read back as written
};

enum class RegType { String, Dword, Binary };

// One value of a group that is written together.
struct RegWrite {
  QString key;
  QString name;
  RegType type = RegType::String;
  QString text;
  std::uint32_t dword = 0;
  QByteArray bytes;

  static RegWrite string(const QString& key, const QString& name, const QString& text);
  static RegWrite number(const QString& key, const QString& name, std::uint32_t dword);
};

class RegistryStore {
 public:
  // Uses the file named by HV6_REGISTRY, else $XDG_CONFIG_HOME/hv6/registry.reg.
  RegistryStore();
  explicit RegistryStore(QString filePath);

  static QString defaultPath();
  const QString& filePath() const { return path_; }

  RegStatus readString(const QString& key, const QString& name, QString& out) const;
  RegStatus readDword(const QString& key, const QString& name, std::uint32_t& out) const;
  RegStatus readBinary(const QString& key, const QString& name, QByteArray& out) const;
  RegStatus valueType(const QString& key, const QString& name, RegType& out) const;

  RegStatus writeString(const QString& key, const QString& name, const QString& value);
  RegStatus writeDword(const QString& key, const QString& name, std::uint32_t value);
  RegStatus writeBinary(const QString& key, const QString& name, const QByteArray& value);
  // Writes every value in one replace of the file, or none of them: the
  // status of the first value that cannot be written (a missing key).
  RegStatus writeValues(const QList<RegWrite>& values);
  RegStatus deleteValue(const QString& key, const QString& name);

  bool keyExists(const QString& key) const;
  // Creates the key and its missing parents. Only the installation uses it.
  RegStatus createKey(const QString& key);
  QStringList valueNames(const QString& key) const;
  QStringList subKeys(const QString& key) const;

 private:
  RegStatus writeValue(const QString& key, const QString& name, const RegValue& value);

  QString path_;
};

}  // namespace hv6
