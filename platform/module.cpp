#include "platform/module.h"

#include <QDir>

namespace hv6 {
namespace {

QString withoutWindowsSuffix(const QString& fileName) {
  return fileName.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive) ? fileName.chopped(4)
                                                                       : fileName;
}

}  // namespace

Module::~Module() { unload(); }

bool Module::load(const QString& folder, const QString& fileName) {
  unload();
  error_.clear();
  if (fileName.isEmpty()) {
    error_ = QStringLiteral("no module name given");
    return false;
  }
  const QString path = QDir(folder).filePath(withoutWindowsSuffix(fileName));
  auto library = std::make_unique<QLibrary>(path);
  if (!library->load()) {
    error_ = QStringLiteral("cannot load module ") + fileName + QStringLiteral(" from ") + folder +
             QStringLiteral(": ") + library->errorString();
    return false;
  }
  library_ = std::move(library);
  return true;
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
