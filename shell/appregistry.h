#pragma once
// The program's settings below its registry root.
//
// The root is "Software\Velqor\HV6\" followed by the string value
// CurrentKEY of that key ("HV6" when it is empty) and "\". It is resolved
// anew on every call, so a -REG switch or another program changing
// CurrentKEY takes effect at once. Without a readable CurrentKEY string the
// root is empty and every read and write fails. No call creates a key.

#include "outside/vqbase106/settingsroot.h"
#include "platform/registry.h"

#include <QString>
#include <cstdint>

namespace hv6 {

class AppRegistry {
 public:
  static inline const QString& kBaseKey = kSettingsBaseKey;
  static inline const QString& kCurrentKeyValue = hv6::kCurrentKeyValue;

  explicit AppRegistry(RegistryStore& store) : store_(store) {}

  // "Software\Velqor\HV6\<key>\", or empty when CurrentKEY is missing or
  // not a string.
  QString root() const;

  bool readString(const QString& subkey, const QString& name, QString& out) const;
  bool readDword(const QString& subkey, const QString& name, std::uint32_t& out) const;
  bool writeDword(const QString& subkey, const QString& name, std::uint32_t value);
  bool writeString(const QString& subkey, const QString& name, const QString& value);
  bool readBinary(const QString& subkey, const QString& name, QByteArray& out) const;
  bool writeBinary(const QString& subkey, const QString& name, const QByteArray& value);

  // Writes the values (keys relative to the root) in one replace of the
  // settings file: all of them or, on failure, none.
  bool writeGroup(QList<RegWrite> values);

  // The full key path of root + subkey (no trailing separator); empty
  // without a root. For classes that are handed a key of their own.
  QString keyPath(const QString& subkey) const;

  // The -REG option: stores the settings key name as CurrentKEY. Fails when
  // the base key does not exist.
  bool selectSettingsKey(const QString& keyName);

  RegistryStore& store() { return store_; }

  // A reading view of the settings, for a run beside the running program
  // (printing): every write above fails without touching the file, and a
  // -REG choice holds for this object only instead of being stored.
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool isReadOnly() const { return readOnly_; }

 private:
  RegistryStore& store_;
  bool readOnly_ = false;
  QString chosenKey_;  // the -REG key of a reading view; empty: CurrentKEY
};

}  // namespace hv6
