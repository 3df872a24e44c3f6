#include "sales/reports/reportprint.h"

#include "sales/model/slipcalc.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <map>

namespace hv6::sales {

namespace {

constexpr int kResolution = 300;  // of the PDF files we write
constexpr double kMarginMm = 10.0;
constexpr int kPortraitUnits = 110;  // half-width characters a portrait page holds

QFont printFont() {
  QFont font;
  // Droid Sans Fallback first: its PDF text reads back as the characters drawn.
  font.setFamilies({QStringLiteral("Droid Sans Fallback"), QStringLiteral("Noto Sans CJK JP")});
  font.setStyleHint(QFont::SansSerif);
  return font;
}

void setA4(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                   QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                   QPageLayout::Millimeter));
}

// The report's page geometry for a paint area and its resolution.
struct Geometry {
  QRectF area;
  double unit = 0;  // width of a half-width character
  double line = 0;  // height of a text row
  QFont font, bold, title;
  int rowsPerLine = 2;
  QList<double> x;  // left edge of every column, and the right edge last
  double headTop = 0, captionTop = 0, bodyTop = 0, bodyBottom = 0;
  int linesPerPage = 1;
};

Geometry layoutOf(const ReportSource& report, const QRectF& area, int dpi) {
  Geometry g;
  g.area = area;
  const QList<ReportColumn> columns = report.columns();
  int units = 0;
  g.rowsPerLine = 1;
  for (const ReportColumn& c : columns) {
    units += c.width + 1;
    if (!c.caption[1].trimmed().isEmpty()) g.rowsPerLine = 2;
  }
  units = std::max(units, 1);
  const double maxUnit = 9.0 / 72.0 * dpi / 1.8;  // characters no larger than 9 point
  g.unit = std::min(area.width() / units, maxUnit);
  const double pixel = g.unit * 1.8;
  g.font = printFont();
  g.font.setPixelSize(std::max(1, static_cast<int>(pixel)));
  g.bold = g.font;
  g.bold.setBold(true);
  g.title = g.font;
  g.title.setPixelSize(std::max(1, static_cast<int>(pixel * 1.8)));
  g.title.setBold(true);
  g.line = pixel * 1.45;
  double x = area.left();
  for (const ReportColumn& c : columns) {
    g.x << x;
    x += (c.width + 1) * g.unit;
  }
  g.x << x;
  g.headTop = area.top();
  g.captionTop = g.headTop + g.line * 4;
  g.bodyTop = g.captionTop + g.line * g.rowsPerLine + g.line * 0.3;
  g.bodyBottom = area.bottom() - g.line * 2;
  g.linesPerPage =
      std::max(1, static_cast<int>((g.bodyBottom - g.bodyTop) / (g.line * g.rowsPerLine)));
  return g;
}

QPageLayout::Orientation orientationOf(const ReportSource& report) {
  int units = 0;
  for (const ReportColumn& c : report.columns()) units += c.width + 1;
  return units > kPortraitUnits ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool isNumber(CellKind kind) { return kind == CellKind::Amount || kind == CellKind::Quantity; }

// A text cut to a width.
QString fitted(const QString& text, const QFontMetricsF& fm, double width) {
  QString out = text;
  while (!out.isEmpty() && fm.horizontalAdvance(out) > width) out.chop(1);
  return out;
}

void drawCell(QPainter& p, const QRectF& rect, const QString& plain, CellKind kind,
              const QString& dots) {
  if (plain.isEmpty()) return;
  const QFontMetricsF fm(p.font());
  const double pad = fm.horizontalAdvance(QLatin1Char(' ')) * 0.5;
  const QRectF inner = rect.adjusted(pad, 0, -pad, 0);
  const QString text = fitField(formatCell(plain, kind), kind, inner.width(),
                                [&fm](const QString& t) { return fm.horizontalAdvance(t); }, dots);
  int align = Qt::AlignVCenter;
  if (isNumber(kind)) align |= Qt::AlignRight;
  else align |= kind == CellKind::Center ? Qt::AlignHCenter : Qt::AlignLeft;
  p.drawText(inner, align | Qt::TextSingleLine, text);
}

struct PagePlan {
  int pages = 1;
  bool summaryOnOwnPage = false;
};

PagePlan planOf(const ReportSource& report, const Geometry& g) {
  const qint64 entries = report.lineCount() + report.closingLines().size();
  PagePlan plan;
  plan.pages = static_cast<int>(std::max<qint64>(1, (entries + g.linesPerPage - 1) / g.linesPerPage));
  const SummaryTable summary = report.summary();
  if (!summary.rows.isEmpty()) {
    const qint64 onLast = entries - static_cast<qint64>(plan.pages - 1) * g.linesPerPage;
    const double used = static_cast<double>(onLast) * g.line * g.rowsPerLine;
    const double need = static_cast<double>(summary.rows.size() + 2) * g.line;
    if (g.bodyTop + used + need > g.bodyBottom) {
      plan.summaryOnOwnPage = true;
      ++plan.pages;
    }
  }
  return plan;
}

void drawPageFrame(QPainter& p, const ReportSource& report, const Geometry& g, int page, int pages,
                   const QDateTime& printed) {
  p.setPen(Qt::black);
  p.setFont(g.title);
  p.drawText(QRectF(g.area.left(), g.headTop, g.area.width(), g.line * 2), Qt::AlignCenter,
             report.title());
  p.setFont(g.font);
  // The conditions on the left, the date printed on the right; the
  // conditions give way (elided) so that the two never overlap.
  const double right = std::max(g.x.last(), g.area.right());
  const QRectF info(g.area.left(), g.headTop + g.line * 2.3, right - g.area.left(), g.line);
  const QString date =
      QStringLiteral("作成日 %1").arg(printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
  const QFontMetricsF metrics(g.font, p.device());
  const double room = info.width() - metrics.horizontalAdvance(date) - metrics.height();
  p.drawText(QRectF(info.left(), info.top(), std::max(0.0, room), info.height()),
             Qt::AlignLeft | Qt::AlignVCenter,
             metrics.elidedText(report.conditionLines().join(QStringLiteral("　")), Qt::ElideRight,
                                std::max(0.0, room)));
  p.drawText(info, Qt::AlignRight | Qt::AlignVCenter, date);
  p.drawText(QRectF(g.area.left(), g.area.bottom() - g.line, g.area.width(), g.line),
             Qt::AlignCenter, QStringLiteral("%1 / %2").arg(page).arg(pages));
}

void drawCaptions(QPainter& p, const ReportSource& report, const Geometry& g) {
  const QList<ReportColumn> columns = report.columns();
  const QRectF box(g.x.first(), g.captionTop, g.x.last() - g.x.first(), g.line * g.rowsPerLine);
  p.fillRect(box, QColor(225, 225, 225));
  p.setPen(QPen(Qt::black, g.unit * 0.08));
  p.drawRect(box);
  p.setFont(g.font);
  for (int row = 0; row < g.rowsPerLine; ++row)
    for (int i = 0; i < columns.size(); ++i) {
      const QRectF cell(g.x[i], g.captionTop + row * g.line, g.x[i + 1] - g.x[i], g.line);
      p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, columns[i].caption[row].trimmed());
    }
}

void drawLine(QPainter& p, const ReportSource& report, const Geometry& g,
              const QList<ReportColumn>& columns, const ReportLine& line, double top) {
  const double height = g.line * g.rowsPerLine;
  if (line.type != LineType::Line)
    p.fillRect(QRectF(g.x.first(), top, g.x.last() - g.x.first(), height),
               line.type == LineType::SlipTotal ? QColor(242, 242, 242) : QColor(228, 228, 228));
  p.setFont(line.type == LineType::Line ? g.font : g.bold);
  p.setPen(Qt::black);
  for (int row = 0; row < g.rowsPerLine; ++row)
    for (int i = 0; i < columns.size(); ++i) {
      QRectF cell(g.x[i], top + row * g.line, g.x[i + 1] - g.x[i], g.line);
      const QString text = line.cells[row].value(i);
      // A totals caption may run into the next empty cell.
      if (line.type != LineType::Line && columns[i].kind[row] == CellKind::Text &&
          i + 1 < columns.size() && line.cells[row].value(i + 1).isEmpty())
        cell.setRight(g.x[i + 2]);
      drawCell(p, cell, text, columns[i].kind[row], report.dots());
    }
  p.setPen(QPen(QColor(150, 150, 150), g.unit * 0.04));
  p.drawLine(QPointF(g.x.first(), top + height), QPointF(g.x.last(), top + height));
}

void drawSummary(QPainter& p, const ReportSource& report, const Geometry& g, double top) {
  const SummaryTable s = report.summary();
  if (s.rows.isEmpty()) return;
  const int n = static_cast<int>(s.columnCaptions.size());
  const double width = std::min((g.x.last() - g.x.first()), 16.0 * g.unit * n);
  const double column = width / n;
  p.setPen(QPen(Qt::black, g.unit * 0.06));
  p.setFont(g.font);
  const double left = g.x.first();
  const QRectF box(left, top, width, g.line * static_cast<double>(s.rows.size() + 1));
  p.fillRect(QRectF(left, top, width, g.line), QColor(225, 225, 225));
  p.drawRect(box);
  for (int i = 0; i < n; ++i)
    p.drawText(QRectF(left + i * column, top, column, g.line), Qt::AlignCenter,
               s.columnCaptions[i]);
  for (int r = 0; r < s.rows.size(); ++r) {
    const double y = top + (r + 1) * g.line;
    for (int i = 0; i < n; ++i)
      drawCell(p, QRectF(left + i * column, y, column, g.line), s.rows[r].value(i),
               i == 0 ? CellKind::Center : CellKind::Amount, report.dots());
  }
}

bool finishPdf(QSaveFile& file, QString* error) {
  if (!file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace

int reportPageCount(const ReportSource& report) {
  const QPageLayout layout(QPageSize(QPageSize::A4), orientationOf(report),
                           QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                           QPageLayout::Millimeter);
  const Geometry g = layoutOf(report, layout.paintRectPixels(kResolution), kResolution);
  return planOf(report, g).pages;
}

int printReport(const ReportSource& report, QPagedPaintDevice& device, const QDateTime& printed) {
  setA4(device, orientationOf(report));
  QPainter p;
  if (!p.begin(&device)) return 0;
  const int dpi = device.logicalDpiX();
  const QRectF area(QPointF(0, 0), QSizeF(device.width(), device.height()));
  const Geometry g = layoutOf(report, area, dpi);
  const PagePlan plan = planOf(report, g);
  const QList<ReportColumn> columns = report.columns();
  const qint64 count = report.lineCount();
  const QList<ReportLine> closing = report.closingLines();
  const qint64 entries = count + closing.size();

  qint64 next = 0;
  double y = g.bodyTop;
  for (int page = 1; page <= plan.pages; ++page) {
    if (page > 1) device.newPage();
    drawPageFrame(p, report, g, page, plan.pages, printed);
    drawCaptions(p, report, g);
    y = g.bodyTop;
    for (int i = 0; i < g.linesPerPage && next < entries; ++i, ++next) {
      const ReportLine line = next < count ? report.line(next) : closing[static_cast<int>(next - count)];
      drawLine(p, report, g, columns, line, y);
      y += g.line * g.rowsPerLine;
    }
  }
  if (plan.summaryOnOwnPage) y = g.bodyTop;
  drawSummary(p, report, g, y + g.line);
  p.end();
  return plan.pages;
}

bool writeReportPdf(const ReportSource& report, const QString& path, QString* error,
                    const QDateTime& printed) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setTitle(report.title());
    writer.setCreator(QStringLiteral("hv6-sales"));
    if (printReport(report, writer, printed) == 0) {
      if (error) *error = QStringLiteral("PDF を作成できませんでした。");
      file.cancelWriting();
      return false;
    }
  }
  return finishPdf(file, error);
}

// ---- sales slip ----

bool printsAsInvoice(const sl::S_COMPANY& company) {
  return !sl::slText(company.invoiceNo).trimmed().isEmpty();
}

QList<RateFigures> slipRateFigures(const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                                   const sl::S_CLIENTSEL& client) {
  struct Sum {
    double taxOut = 0, taxIn = 0, lineTax = 0, inTax = 0, adjust = 0;
  };
  std::map<int, Sum> sums;
  for (const sl::S_SELSLIP& l : lines) {
    if (isEmptyLine(l)) break;
    if (l.kind == sl::kLineEmpty || l.kind == sl::kLineMemo) continue;
    if (l.kind == sl::kLineTaxAdjust) {
      sums[l.taxRateCode].adjust += l.tax;
      continue;
    }
    if (l.taxClass == sl::kTaxAdded) {
      Sum& s = sums[l.taxRateCode];
      s.taxOut += l.amount;
      s.lineTax += l.tax;
    } else if (l.taxClass == sl::kTaxIncluded) {
      Sum& s = sums[l.taxRateCode];
      s.taxIn += l.amount;
      s.inTax += l.tax;
    }
  }
  QList<RateFigures> out;
  for (const auto& [code, s] : sums) {
    RateFigures f;
    f.rateCode = code;
    f.percent = taxRatePercent(company, code);
    f.reduced = code >= 0 && code < sl::kTaxRateSlots && company.reducedRate[code] != 0;
    f.amount = s.taxOut + s.taxIn;
    double added = 0;
    if (client.taxTiming == sl::kTimingPerLine) added = s.lineTax;
    else if (client.taxTiming == sl::kTimingPerSlip) added = addedTax(s.taxOut, f.percent, client.taxRounding);
    f.tax = added + s.inTax + s.adjust;
    out << f;
  }
  return out;
}

int printSalesSlip(QPagedPaintDevice& device, const sl::S_SELSLIPHD& header,
                   const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                   const sl::S_CLIENTSEL& client) {
  setA4(device, QPageLayout::Portrait);
  QPainter p;
  if (!p.begin(&device)) return 0;
  const double dpi = device.logicalDpiX();
  const QRectF area(QPointF(0, 0), QSizeF(device.width(), device.height()));
  QFont font = printFont();
  font.setPixelSize(static_cast<int>(9.5 / 72.0 * dpi));
  QFont small = font;
  small.setPixelSize(static_cast<int>(8.0 / 72.0 * dpi));
  QFont title = font;
  title.setPixelSize(static_cast<int>(18.0 / 72.0 * dpi));
  title.setBold(true);
  QFont big = font;
  big.setPixelSize(static_cast<int>(13.0 / 72.0 * dpi));
  const double line = font.pixelSize() * 1.6;
  const bool invoice = printsAsInvoice(company);
  const QLocale locale = [] {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c;
  }();
  auto yen = [&](double v) { return locale.toString(std::round(v), 'f', 0); };
  auto number = [&](double v) { return formatCell(plainNumber(v), CellKind::Quantity); };

  // Lines that print, split over pages.
  QList<sl::S_SELSLIP> shown;
  for (const sl::S_SELSLIP& l : lines) {
    if (isEmptyLine(l)) break;
    if (l.kind != sl::kLineEmpty) shown << l;
  }
  const QList<RateFigures> rates = slipRateFigures(shown, company, client);
  double noTax = 0, amounts = 0;
  for (const sl::S_SELSLIP& l : shown) {
    if (l.kind == sl::kLineMemo || l.kind == sl::kLineTaxAdjust) continue;
    amounts += l.amount;
    if (l.taxClass >= sl::kTaxFree) noTax += l.amount;
  }
  double taxSum = 0;
  for (const RateFigures& r : rates) taxSum += r.tax;

  const double headHeight = line * 11;
  const double footHeight = line * (static_cast<double>(rates.size()) + 7);
  const int perPage = std::max(1, static_cast<int>((area.height() - headHeight - footHeight) / line) - 1);
  const int pages = std::max<int>(1, static_cast<int>((shown.size() + perPage - 1) / perPage));
  // Columns: name, quantity, unit, unit price, amount, rate.
  const double w = area.width();
  const double cx[] = {0, 0.46, 0.58, 0.66, 0.80, 0.92, 1.0};

  for (int page = 0; page < pages; ++page) {
    if (page > 0) device.newPage();
    p.setPen(Qt::black);
    p.setFont(title);
    p.drawText(QRectF(0, 0, w, line * 2), Qt::AlignCenter,
               invoice ? QStringLiteral("適格請求書") : QStringLiteral("納品書"));
    // Client on the left.
    p.setFont(big);
    const QString clientName = sl::slText(client.name).trimmed();
    p.drawText(QRectF(0, line * 2.5, w * 0.55, line * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
               clientName.isEmpty() ? QStringLiteral("様") : clientName + QStringLiteral(" 様"));
    p.drawLine(QPointF(0, line * 4), QPointF(w * 0.5, line * 4));
    p.setFont(font);
    double y = line * 4.3;
    const QString clientPost = sl::slText(client.postCode).trimmed();
    for (const QString& text : {clientPost.isEmpty() ? QString() : QStringLiteral("〒") + clientPost,
                                sl::slText(client.address1), sl::slText(client.address2)}) {
      if (text.trimmed().isEmpty()) continue;
      p.drawText(QRectF(0, y, w * 0.55, line), Qt::AlignLeft | Qt::AlignVCenter, text);
      y += line;
    }
    // Date, number and issuer on the right.
    y = line * 2.5;
    const double rx = w * 0.58;
    auto right = [&](const QString& text, const QFont& f = QFont()) {
      p.setFont(f == QFont() ? font : f);
      p.drawText(QRectF(rx, y, w - rx, line), Qt::AlignLeft | Qt::AlignVCenter, text);
      y += line;
    };
    right(QStringLiteral("伝票日付　%1").arg(formatDate(header.slipDate)));
    right(QStringLiteral("伝票番号　%1").arg(sl::slText(header.slipNo).trimmed()));
    y += line * 0.3;
    right(sl::slText(company.name), big);
    const QString post = sl::slText(company.postCode).trimmed();
    if (!post.isEmpty()) right(QStringLiteral("〒") + post);
    for (const QString& text : {sl::slText(company.address1), sl::slText(company.address2)})
      if (!text.trimmed().isEmpty()) right(text);
    if (!sl::slText(company.tel).trimmed().isEmpty())
      right(QStringLiteral("TEL %1").arg(sl::slText(company.tel)));
    if (invoice) {
      // The number as a text of its own, so that it reads back from the PDF whole.
      p.setFont(font);
      const QString caption = QStringLiteral("登録番号　");
      const double captionWidth = QFontMetricsF(font).horizontalAdvance(caption);
      p.drawText(QRectF(rx, y, captionWidth, line), Qt::AlignLeft | Qt::AlignVCenter, caption);
      QFont latin = font;
      latin.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK JP")});
      p.setFont(latin);
      p.drawText(QRectF(rx + captionWidth, y, w - rx - captionWidth, line),
                 Qt::AlignLeft | Qt::AlignVCenter, sl::slText(company.invoiceNo).trimmed());
      p.setFont(font);
      y += line;
    }

    // Lines.
    y = headHeight;
    p.setFont(font);
    const QStringList captions{QStringLiteral("品　　名"), QStringLiteral("数　量"),
                               QStringLiteral("単位"),     QStringLiteral("単　価"),
                               QStringLiteral("金　額"),   QStringLiteral("税率")};
    p.fillRect(QRectF(0, y, w, line), QColor(225, 225, 225));
    for (int i = 0; i < 6; ++i)
      p.drawText(QRectF(cx[i] * w, y, (cx[i + 1] - cx[i]) * w, line), Qt::AlignCenter, captions[i]);
    p.drawRect(QRectF(0, y, w, line));
    y += line;
    const double pad = line * 0.2;
    for (int i = page * perPage; i < std::min<int>(static_cast<int>(shown.size()), (page + 1) * perPage); ++i) {
      const sl::S_SELSLIP& l = shown[i];
      const bool reduced = l.taxRateCode < sl::kTaxRateSlots && company.reducedRate[l.taxRateCode] != 0 &&
                           (l.taxClass == sl::kTaxAdded || l.taxClass == sl::kTaxIncluded) &&
                           l.kind != sl::kLineMemo;
      QString name = sl::slText(l.goodsName);
      if (l.kind >= sl::kLineReturn && l.kind <= sl::kLineTaxAdjust && l.kind != sl::kLineMemo &&
          l.kind != sl::kLineOther) {
        static const char16_t* const kinds[] = {u"", u"", u"返品", u"値引", u"値引", u"立替金", u"預り送料", u"", u"", u"消費税調整"};
        name = QStringLiteral("[%1] ").arg(QString::fromUtf16(kinds[l.kind])) + name;
      }
      if (reduced) name += QStringLiteral(" ※");
      auto cell = [&](int c, const QString& text, int align) {
        const QRectF r(cx[c] * w + pad, y, (cx[c + 1] - cx[c]) * w - 2 * pad, line);
        p.drawText(r, align | Qt::AlignVCenter | Qt::TextSingleLine,
                   fitted(text, QFontMetricsF(p.font()), r.width()));
      };
      cell(0, name, Qt::AlignLeft);
      if (l.kind != sl::kLineMemo) {
        if (l.kind == sl::kLineSale || l.kind == sl::kLineReturn) {
          cell(1, number(l.quantity), Qt::AlignRight);
          cell(2, sl::slText(l.unit), Qt::AlignLeft);
          cell(3, number(l.unitPrice), Qt::AlignRight);
        }
        cell(4, yen(l.kind == sl::kLineTaxAdjust ? l.tax : l.amount + (l.taxClass == sl::kTaxIncluded ? l.tax : 0)),
             Qt::AlignRight);
        if (l.taxClass <= sl::kTaxIncluded)
          cell(5, plainNumber(taxRatePercent(company, l.taxRateCode)) + QStringLiteral("%"), Qt::AlignCenter);
        else
          cell(5, QStringLiteral("対象外"), Qt::AlignCenter);
      }
      p.setPen(QPen(QColor(170, 170, 170), 1));
      p.drawLine(QPointF(0, y + line), QPointF(w, y + line));
      p.setPen(Qt::black);
      y += line;
    }
    p.drawText(QRectF(0, area.height() - line, w, line), Qt::AlignCenter,
               QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    if (page + 1 < pages) continue;

    // Totals per rate and of the slip.
    y += line * 0.5;
    const double tx = w * 0.42;
    auto total = [&](const QString& caption, const QString& amountText, const QString& taxText) {
      p.drawText(QRectF(tx, y, w * 0.26, line), Qt::AlignLeft | Qt::AlignVCenter, caption);
      p.drawText(QRectF(tx + w * 0.26, y, w * 0.14, line), Qt::AlignRight | Qt::AlignVCenter, amountText);
      p.drawText(QRectF(tx + w * 0.40, y, w * 0.18, line), Qt::AlignRight | Qt::AlignVCenter, taxText);
      y += line;
    };
    p.setFont(font);
    for (const RateFigures& r : rates)
      total(QStringLiteral("%1%対象%2").arg(plainNumber(r.percent), r.reduced ? QStringLiteral("（軽減税率）") : QString()),
            yen(r.amount) + QStringLiteral("円"), QStringLiteral("消費税 %1円").arg(yen(r.tax)));
    if (!isZero(noTax)) total(QStringLiteral("非課税・対象外"), yen(noTax) + QStringLiteral("円"), QString());
    p.drawLine(QPointF(tx, y), QPointF(w, y));
    total(QStringLiteral("小　計"), yen(amounts) + QStringLiteral("円"), QString());
    total(QStringLiteral("消費税"), yen(taxSum) + QStringLiteral("円"), QString());
    p.setFont(big);
    total(QStringLiteral("合計金額"), yen(amounts + taxSum) + QStringLiteral("円"), QString());
    p.setFont(small);
    y += line * 0.5;
    bool anyReduced = false;
    for (const RateFigures& r : rates) anyReduced = anyReduced || r.reduced;
    if (anyReduced)
      p.drawText(QRectF(0, y, w, line), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("※印は軽減税率の対象品目です。"));
    if (client.taxTiming == sl::kTimingAtClose)
      p.drawText(QRectF(0, y + line, w, line), Qt::AlignLeft | Qt::AlignVCenter,
                 QStringLiteral("外税の消費税は請求締日にまとめて計算します。"));
  }
  p.end();
  return pages;
}

bool writeSalesSlipPdf(const QString& path, const sl::S_SELSLIPHD& header,
                       const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                       const sl::S_CLIENTSEL& client, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setCreator(QStringLiteral("hv6-sales"));
    if (printSalesSlip(writer, header, lines, company, client) == 0) {
      if (error) *error = QStringLiteral("PDF を作成できませんでした。");
      file.cancelWriting();
      return false;
    }
  }
  return finishPdf(file, error);
}

}  // namespace hv6::sales
