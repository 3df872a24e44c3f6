#include "sales/reports/printsettings.h"

#include "outside/vqbase106/settingsroot.h"
#include "platform/registry.h"

#include <QStringList>

namespace hv6::sales {

namespace {

QString valueName(const QString& report) { return QStringLiteral("Print") + report; }

QString keyOf(const hv6::RegistryStore& store) {
  const QString root = hv6::settingsRoot(store);
  return root.isEmpty() ? QString() : root + QStringLiteral("Environment");
}

}  // namespace

bool loadPrintSettings(const hv6::RegistryStore& store, const QString& report,
                       ReportPrintSettings& out) {
  const QString key = keyOf(store);
  QString text;
  if (key.isEmpty() || store.readString(key, valueName(report), text) != hv6::RegStatus::Ok)
    return false;
  const QStringList parts = text.split(QLatin1Char('\t'));
  ReportPrintSettings settings;
  settings.printerName = parts.value(0);
  bool ok = false;
  const int copies = parts.value(1).toInt(&ok);
  settings.copies = ok && copies >= 1 && copies <= 99 ? copies : 1;
  out = settings;
  return true;
}

bool savePrintSettings(hv6::RegistryStore& store, const QString& report,
                       const ReportPrintSettings& settings) {
  const QString key = keyOf(store);
  if (key.isEmpty()) return false;
  QString name = settings.printerName;
  name.remove(QLatin1Char('\t'));
  return store.writeString(key, valueName(report),
                           name + QLatin1Char('\t') + QString::number(settings.copies)) ==
         hv6::RegStatus::Ok;
}

}  // namespace hv6::sales
