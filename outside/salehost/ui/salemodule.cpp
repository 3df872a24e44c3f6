#include "outside/salehost/ui/salemodule.h"

#include <QDir>
#include <QFileInfo>

namespace salehost {

SaleModule::~SaleModule() = default;  // the library stays loaded until the process ends

QString SaleModule::defaultPath(const QString& programFolder) {
  return QDir(programFolder).filePath(QStringLiteral("libslsale.so"));
}

QFunctionPointer SaleModule::resolve(const char* name) {
  QFunctionPointer function = library_.resolve(name);
  if (function == nullptr && error_.isEmpty())
    error_ = QStringLiteral("販売管理のライブラリ %1 に %2 がありません。\n"
                            "販売管理を入れ直してください。")
                 .arg(QFileInfo(library_.fileName()).fileName(), QString::fromLatin1(name));
  return function;
}

bool SaleModule::load(const QString& path) {
  error_.clear();
  if (!QFileInfo(path).isFile()) {
    error_ = QStringLiteral("販売管理のライブラリが見つかりません。\n%1\n販売管理を入れ直してください。")
                 .arg(QDir::toNativeSeparators(path));
    return false;
  }
  library_.setFileName(path);
  if (!library_.load()) {
    error_ = QStringLiteral("販売管理のライブラリを読み込めませんでした（壊れているおそれがあります）。\n"
                            "%1\n%2")
                 .arg(QDir::toNativeSeparators(path), library_.errorString());
    return false;
  }
  init = reinterpret_cast<InitSelSaleDLLFn>(resolve("InitSelSaleDLL"));
  initClass = reinterpret_cast<Sale_InitClassFn>(resolve("Sale_InitClass"));
  setGlobalValue = reinterpret_cast<Sale_SetGlobalValueFn>(resolve("Sale_SetGlobalValue"));
  struct Names {
    short id;
    const char* make;
    const char* get;
    const char* set;
  };
  static constexpr Names kNames[] = {
      {slsale::kE10Id, "Sale_NewE10Wnd", "GetE10Wnd", "SetE10Wnd"},
      {slsale::kE20Id, "Sale_NewE20Wnd", "GetE20Wnd", "SetE20Wnd"},
      {slsale::kE30Id, "Sale_NewE30Wnd", "GetE30Wnd", "SetE30Wnd"},
      {slsale::kE40Id, "Sale_NewE40Wnd", "GetE40Wnd", "SetE40Wnd"},
      {slsale::kE50Id, "Sale_NewE50Wnd", "GetE50Wnd", "SetE50Wnd"},
  };
  windows_.clear();
  for (const Names& names : kNames) {
    Window window;
    window.make = reinterpret_cast<Sale_NewWndFn>(resolve(names.make));
    window.get = reinterpret_cast<Sale_GetWndFn>(resolve(names.get));
    window.set = reinterpret_cast<Sale_SetWndFn>(resolve(names.set));
    windows_.insert(names.id, window);
  }
  if (!error_.isEmpty()) {
    library_.unload();
    windows_.clear();
    init = nullptr;
    initClass = nullptr;
    setGlobalValue = nullptr;
    return false;
  }
  return true;
}

const SaleModule::Window* SaleModule::window(short id) const {
  const auto found = windows_.constFind(id);
  return found == windows_.constEnd() ? nullptr : &found.value();
}

}  // namespace salehost
