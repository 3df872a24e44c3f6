#include "platform/module.h"

#include <QDir>
#include <QFileInfo>

namespace hv6 {
namespace {

QString withoutWindowsSuffix(const QString& fileName) {
  return fileName.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive) ? fileName.chopped(4)
                                                                       : fileName;
}

bool loadInto(std::unique_ptr<QLibrary>& library, const QString& path, const QString& fileName,
              const QString& where, QString& error) {
  auto loaded = std::make_unique<QLibrary>(path);
  if (!loaded->load()) {
    error = QStringLiteral("cannot load module ") + fileName + where + QStringLiteral(": ") +
            loaded->errorString();
    return false;
  }
  library = std::move(loaded);
  return true;
}

}  // namespace

Module::~Module() { unload(); }

QString Module::localFileName(const QString& fileName) {
  return QStringLiteral("lib") + withoutWindowsSuffix(fileName) + QStringLiteral(".so");
}

bool Module::load(const QString& folder, const QString& fileName) {
  unload();
  error_.clear();
  if (fileName.isEmpty()) {
    error_ = QStringLiteral("no module name given");
    return false;
  }
  const QString path = QDir(folder).filePath(withoutWindowsSuffix(fileName));
  return loadInto(library_, path, fileName, QStringLiteral(" from ") + folder, error_);
}

bool Module::loadByName(const QString& fileName) {
  unload();
  error_.clear();
  if (fileName.isEmpty()) {
    error_ = QStringLiteral("no module name given");
    return false;
  }
  return loadInto(library_, withoutWindowsSuffix(fileName), fileName, QString(), error_);
}

QString Module::locate(const QString& folder, const QString& fileName) {
  if (fileName.isEmpty()) return {};
  const QDir dir(folder);
  const QString base = withoutWindowsSuffix(fileName);
  for (const QString& candidate :
       {fileName, base, base + QStringLiteral(".so"),
        QStringLiteral("lib") + base + QStringLiteral(".so")}) {
    const QFileInfo info(dir.filePath(candidate));
    if (info.isFile()) return info.absoluteFilePath();
  }
  return {};
}

void Module::unload() {
  if (library_) library_->unload();
  library_.reset();
}

QFunctionPointer Module::resolve(const char* name) {
  if (!isLoaded()) {
    error_ = QStringLiteral("no module loaded");
    return nullptr;
  }
  const QFunctionPointer found = library_->resolve(name);
  if (!found)
    error_ = QStringLiteral("module ") + library_->fileName() + QStringLiteral(" has no function ") +
             QString::fromLatin1(name);
  return found;
}

}  // namespace hv6
