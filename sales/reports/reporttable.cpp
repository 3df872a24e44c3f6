#include "sales/reports/reporttable.h"

#include <QLocale>

#include <cmath>

namespace hv6::sales {

QString plainNumber(double value) {
  const double rounded = std::round(value * 100.0) / 100.0;
  if (rounded == 0) return QStringLiteral("0");
  QString text = QString::number(rounded, 'f', 2);
  while (text.endsWith(QLatin1Char('0'))) text.chop(1);
  if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  return text;
}

QString formatCell(const QString& plain, CellKind kind) {
  if (plain.isEmpty() || (kind != CellKind::Amount && kind != CellKind::Quantity)) return plain;
  bool ok = false;
  const double value = plain.toDouble(&ok);
  if (!ok) return plain;
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::DefaultNumberOptions);
  if (kind == CellKind::Amount) return c.toString(std::round(value), 'f', 0);
  const qsizetype dot = plain.indexOf(QLatin1Char('.'));
  const int decimals = dot < 0 ? 0 : static_cast<int>(plain.size() - dot - 1);
  return c.toString(value, 'f', std::min(decimals, 2));
}

QString formatDate(int yyyymmdd) {
  if (yyyymmdd <= 0) return {};
  return QStringLiteral("%1/%2/%3")
      .arg(yyyymmdd / 10000, 4, 10, QLatin1Char('0'))
      .arg(yyyymmdd / 100 % 100, 2, 10, QLatin1Char('0'))
      .arg(yyyymmdd % 100, 2, 10, QLatin1Char('0'));
}

int halfWidths(const QString& text) {
  int width = 0;
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    const bool half = u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F);
    width += half ? 1 : 2;
  }
  return width;
}

QString fitField(const QString& text, CellKind kind, double width,
                 const std::function<double(const QString&)>& measure, const QString& dots) {
  if (measure(text) <= width) return text;
  if (kind == CellKind::Amount || kind == CellKind::Quantity) return dots;
  QString cut = text;
  while (!cut.isEmpty() && measure(cut) > width) cut.chop(1);
  return cut;
}

}  // namespace hv6::sales
