#pragma once
// The sales-management library as the host loads it at run time: every
// export the host calls, looked up by name. A library that is missing,
// damaged or lacks an export is refused as a whole with a text that says
// which.

#include "sales/slsale/slsale.h"

#include <QHash>
#include <QLibrary>
#include <QString>

namespace salehost {

class SaleModule {
 public:
  struct Window {
    Sale_NewWndFn make = nullptr;
    Sale_GetWndFn get = nullptr;
    Sale_SetWndFn set = nullptr;
  };

  SaleModule() = default;
  ~SaleModule();
  SaleModule(const SaleModule&) = delete;
  SaleModule& operator=(const SaleModule&) = delete;

  // The library's file beside the program ("libslsale.so").
  static QString defaultPath(const QString& programFolder);

  // Loads the library and resolves every export; false with errorText()
  // when the file is missing or damaged or an export is missing.
  bool load(const QString& path);
  const QString& errorText() const { return error_; }

  InitSelSaleDLLFn init = nullptr;
  Sale_InitClassFn initClass = nullptr;
  Sale_SetGlobalValueFn setGlobalValue = nullptr;
  // By registry id (50 予約伝票, 51 売上日報, 52 売上伝票, 53 予約日報,
  // 54 発送準備確認表).
  const Window* window(short id) const;

 private:
  QFunctionPointer resolve(const char* name);

  QLibrary library_;
  QHash<short, Window> windows_;
  QString error_;
};

}  // namespace salehost
