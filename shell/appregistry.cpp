#include "shell/appregistry.h"

namespace hv6 {

QString AppRegistry::root() const {
  return chosenKey_.isEmpty() ? settingsRoot(store_) : settingsRootOf(chosenKey_);
}

QString AppRegistry::keyPath(const QString& subkey) const {
  QString path = root();
  if (path.isEmpty()) return {};
  path += subkey;
  while (path.endsWith(QLatin1Char('\\'))) path.chop(1);
  return path;
}

bool AppRegistry::readString(const QString& subkey, const QString& name, QString& out) const {
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.readString(key, name, out) == RegStatus::Ok;
}

bool AppRegistry::readDword(const QString& subkey, const QString& name,
                            std::uint32_t& out) const {
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.readDword(key, name, out) == RegStatus::Ok;
}

bool AppRegistry::writeDword(const QString& subkey, const QString& name, std::uint32_t value) {
  if (readOnly_) return false;
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.writeDword(key, name, value) == RegStatus::Ok;
}

bool AppRegistry::writeString(const QString& subkey, const QString& name,
                              const QString& value) {
  if (readOnly_) return false;
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.writeString(key, name, value) == RegStatus::Ok;
}

bool AppRegistry::readBinary(const QString& subkey, const QString& name, QByteArray& out) const {
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.readBinary(key, name, out) == RegStatus::Ok;
}

bool AppRegistry::writeBinary(const QString& subkey, const QString& name,
                              const QByteArray& value) {
  if (readOnly_) return false;
  const QString key = keyPath(subkey);
  return !key.isEmpty() && store_.writeBinary(key, name, value) == RegStatus::Ok;
}

bool AppRegistry::writeGroup(QList<RegWrite> values) {
  if (readOnly_) return false;
  const QString base = root();
  if (base.isEmpty()) return false;
  for (RegWrite& write : values) write.key = keyPath(write.key);
  return store_.writeValues(values) == RegStatus::Ok;
}

bool AppRegistry::selectSettingsKey(const QString& keyName) {
  if (readOnly_) {
    if (!store_.keyExists(kBaseKey)) return false;
    chosenKey_ = keyName;
    return true;
  }
  return store_.writeString(kBaseKey, kCurrentKeyValue, keyName) == RegStatus::Ok;
}

}  // namespace hv6
