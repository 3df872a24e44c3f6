#include "tools/enquiry.h"

#include "platform/file_io.h"
#include "store/datafolder.h"
#include "store/information.h"

#include <QBuffer>
#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSysInfo>

namespace hv6 {
namespace {

constexpr int kQuestionLines = 14;

QString orUnknown(const QString& text) { return text.isEmpty() ? QStringLiteral("不明") : text; }

struct Row {
  QString label;
  QString value;
};

QList<Row> rowsOf(const EnquiryFacts& facts) {
  return {{QStringLiteral("農家名・法人名"), orUnknown(facts.farmName)},
          {QStringLiteral("プログラムのバージョン"), orUnknown(facts.programVersion)},
          {QStringLiteral("データのバージョン"), orUnknown(facts.dataVersion)},
          {QStringLiteral("データフォルダ"), orUnknown(facts.dataFolder)},
          {QStringLiteral("システム"), orUnknown(facts.system)},
          {QStringLiteral("記入日"), orUnknown(facts.date)}};
}

const QString kTitle = QStringLiteral("Harvo V6 Plus お問い合わせ票");
const QString kQuestion = QStringLiteral("お問い合わせ内容");
const QString kNote = QStringLiteral("ご質問の内容、操作の手順、表示されたメッセージをできるだけ詳しくお書きください。");

}  // namespace

EnquiryFacts gatherEnquiryFacts(const QString& diaryPath, const QString& programVersion) {
  EnquiryFacts facts;
  facts.programVersion = programVersion;
  facts.dataFolder = dataFolderOf(diaryPath);
  const InformationRead info = readInformation(diaryPath);
  if (info.ok()) {
    facts.farmName = info.row.texts.company.isEmpty() ? info.row.texts.president : info.row.texts.company;
    facts.dataVersion = info.row.dataVersion;
  }
  facts.system = QStringLiteral("%1 (%2 %3, %4)")
                     .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                          QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture());
  facts.date = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
  return facts;
}

QString enquiryFormText(const EnquiryFacts& facts) {
  QString text = kTitle + u'\n';
  for (const Row& row : rowsOf(facts)) text += row.label + QStringLiteral(": ") + row.value + u'\n';
  text += kQuestion + QStringLiteral(":\n") + kNote + u'\n';
  return text;
}

bool paintEnquiryForm(QPagedPaintDevice& device, const EnquiryFacts& facts) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QRectF page(0, 0, device.width(), device.height());
  const qreal unit = page.height() / 60.0;  // one line of the form
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(int(unit * 1.3));
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRectF(page.left(), page.top(), page.width(), unit * 3), Qt::AlignCenter, kTitle);
  font.setPixelSize(int(unit * 0.7));
  font.setBold(false);
  painter.setFont(font);

  qreal y = page.top() + unit * 4;
  const qreal labelWidth = page.width() * 0.3;
  QPen pen = painter.pen();
  pen.setWidthF(unit * 0.05);
  painter.setPen(pen);
  for (const Row& row : rowsOf(facts)) {
    const QRectF label(page.left(), y, labelWidth, unit * 2);
    const QRectF value(page.left() + labelWidth, y, page.width() - labelWidth, unit * 2);
    painter.drawRect(label);
    painter.drawRect(value);
    painter.drawText(label.adjusted(unit * 0.4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, row.label);
    painter.drawText(value.adjusted(unit * 0.4, 0, -unit * 0.4, 0),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWrapAnywhere, row.value);
    y += unit * 2;
  }
  y += unit * 1.5;
  painter.drawText(QRectF(page.left(), y, page.width(), unit * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                   kQuestion);
  y += unit * 1.5;
  painter.drawText(QRectF(page.left(), y, page.width(), unit * 1.5), Qt::AlignLeft | Qt::AlignVCenter,
                   kNote);
  y += unit * 1.5;
  const qreal lineGap = (page.bottom() - y) / kQuestionLines;
  for (int i = 1; i <= kQuestionLines; ++i) {
    const qreal lineY = y + lineGap * i - unit * 0.2;
    painter.drawLine(QPointF(page.left(), lineY), QPointF(page.right(), lineY));
  }
  return painter.end();
}

bool writeEnquiryPdf(const QString& path, const EnquiryFacts& facts, QString* error) {
  // The whole PDF in memory first, so nothing reaches the disk half made.
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("helpdesk"));
    writer.setTitle(kTitle);
    if (!paintEnquiryForm(writer, facts)) {
      if (error) *error = QStringLiteral("問い合わせ票を作成できませんでした。");
      return false;
    }
  }
  constexpr int kFileMode = 0644;
  const fileio::WriteResult written = fileio::replaceFile(path, buffer.data(), kFileMode);
  if (!written.ok && error) *error = QStringLiteral("%1 に書き込めません: %2").arg(path, written.error);
  return written.ok;
}

}  // namespace hv6
