#include "tests/sales/slsale/sale_host.h"

#include <QCoreApplication>
#include <QMdiSubWindow>

namespace hv6test {

SaleLibrary& SaleLibrary::instance() {
  static SaleLibrary* library = new SaleLibrary;  // never unloaded
  return *library;
}

SaleLibrary::SaleLibrary() : library_(QStringLiteral(HV6_SLSALE_LIBRARY)) { library_.load(); }

bool SaleFrame::event(QEvent* event) {
  if (event->type() == slsale::kSaleChildEventType) ++childEvents;
  return QMainWindow::event(event);
}

SaleHost::SaleHost(sl::CSelJetAccess* jet)
    : library(SaleLibrary::instance()), frameEvents(frame.childEvents) {
  area = new QMdiArea(&frame);
  frame.setCentralWidget(area);
  frame.resize(900, 700);
  frame.show();
  font.setPixelSize(kCharHeight);
  gdi.SetFont(font);
  if (!library.isLoaded()) return;
  library.function<InitSelSaleDLLFn>("InitSelSaleDLL")();
  library.function<Sale_InitClassFn>("Sale_InitClass")(
      jet, &errors, &messages, &gdi, &conv, &convYmd, &help, nullptr, &registry, &guide,
      nullptr, nullptr, nullptr);
  library.function<Sale_SetGlobalValueFn>("Sale_SetGlobalValue")(&font, kCharWidth, kCharHeight,
                                                                   0, &colors, 0, 0);
}

SaleHost::~SaleHost() {
  // The windows go first, while the objects they report to still live;
  // then the library forgets this host's objects.
  qDeleteAll(area->subWindowList());
  flushEvents();
  if (library.isLoaded())
    library.function<Sale_InitClassFn>("Sale_InitClass")(nullptr, nullptr, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr, nullptr,
                                                         nullptr, nullptr, nullptr, nullptr,
                                                         nullptr);
}

void SaleHost::flushEvents() {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

}  // namespace hv6test
