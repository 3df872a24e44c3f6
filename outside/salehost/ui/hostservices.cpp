#include "outside/salehost/ui/hostservices.h"

#include "outside/salehost/ui/salemodule.h"
#include "platform/dao/exception.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QPalette>

namespace salehost {
namespace {

constexpr int kBusyWaitMs = 10000;  // other programs of the system write briefly

}  // namespace

HostServices::HostServices() : store_(&database_), calc_(&store_) {
  // The desktop's font; cells are sized on its half-width digit and line.
  font_ = QApplication::font();
  const QFontMetrics metrics(font_);
  charWidth_ = static_cast<short>(std::max(1, metrics.horizontalAdvance(QLatin1Char('0'))));
  charHeight_ = static_cast<short>(std::max(1, metrics.height()));
  const QPalette palette = QApplication::palette();
  colors_.text = palette.color(QPalette::Text);
  colors_.background = palette.color(QPalette::Base);
  colors_.caption = palette.color(QPalette::ButtonText);
  colors_.captionBackground = palette.color(QPalette::Button);
  colors_.cursor = palette.color(QPalette::HighlightedText);
  colors_.cursorBackground = palette.color(QPalette::Highlight);
  colors_.grid = palette.color(QPalette::Mid);
  colors_.disabledText = palette.color(QPalette::Disabled, QPalette::Text);
}

HostServices::~HostServices() = default;

bool HostServices::open(const QString& diaryPath) {
  error_.clear();
  try {
    database_.Open(diaryPath);
    database_.setBusyTimeout(kBusyWaitMs);
  } catch (const CDaoException& e) {
    error_ = e.errorCode() == 3260 || e.errorCode() == 3045
                 ? QStringLiteral("作業日誌データが他のプログラムで使用中のため開けませんでした。\n"
                                  "しばらくしてからもう一度起動してください。")
                 : QStringLiteral("作業日誌データを開けませんでした。\n%1\n（%2）")
                       .arg(QDir::toNativeSeparators(diaryPath), e.description());
    return false;
  }
  const int status = store_.EnsureSchema();
  if (status != sl::kSlOk) {
    error_ = status == 3260
                 ? QStringLiteral("作業日誌データが他のプログラムで使用中のため、販売管理の表を"
                                  "用意できませんでした。\nしばらくしてからもう一度起動してください。")
                 : QStringLiteral("作業日誌データに販売管理の表を用意できませんでした（エラー %1）。\n"
                                  "データは変更していません。")
                       .arg(status);
    database_.Close();
    return false;
  }
  return true;
}

void HostServices::handTo(SaleModule& module) {
  module.init();
  module.initClass(&store_, &errors_, &questions_, &gdi_, &conv_, &dates_, &help_, nullptr,
                   &windows_, &guide_, &calc_, nullptr, nullptr);
  module.setGlobalValue(&font_, charWidth_, charHeight_, 0, &colors_, 0, 0);
}

}  // namespace salehost
