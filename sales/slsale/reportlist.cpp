#include "sales/slsale/reportlist.h"

#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "platform/file_chooser.h"
#include "platform/registry.h"
#include "sales/reports/printsettings.h"
#include "sales/reports/reportcsv.h"
#include "sales/reports/reportprint.h"
#include "sales/slsale/module.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace slsale {

QList<ReportCommand> reportCommands(QWidget* window, int conditionsId,
                                    std::function<void()> print,
                                    std::function<void()> conditions) {
  return {{600, QStringLiteral("F7 印刷"), QKeySequence(Qt::Key_F7), std::move(print)},
          {conditionsId, QStringLiteral("検索条件"), QKeySequence(), std::move(conditions)},
          {601, QStringLiteral("F1 ﾍﾙﾌﾟ"), QKeySequence(Qt::Key_F1),
           [] {
             if (sl::CHelp* help = services().help) help->HelpDisp();
           }},
          {602, QStringLiteral("F8 閉じる"), QKeySequence(Qt::Key_F8),
           [window] { window->close(); }}};
}

using hv6::sales::CellKind;
using hv6::sales::LineType;
using hv6::sales::ReportLine;

namespace {

sl::CErrMsg& errors() {
  static sl::CErrMsg local;
  return services().errMsg ? *services().errMsg : local;
}

sl::CNmlMsg& notices() {
  static sl::CNmlMsg local;
  return services().nmlMsg ? *services().nmlMsg : local;
}

}  // namespace

// ---- list ----

namespace {

// Paints a number too wide for its column as the report's dots, as the
// printout does.
class FitDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* model = static_cast<const ReportListModel*>(index.model());
    const QFontMetrics fm(option->font);
    const int room = option->rect.width() - 2 * (fm.horizontalAdvance(QLatin1Char(' ')) / 2 + 3);
    option->text = hv6::sales::fitField(
        option->text, model->kindAt(index), room,
        [&fm](const QString& t) { return fm.horizontalAdvance(t); }, model->dots());
  }
};

}  // namespace

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportListModel::setReport(const hv6::sales::ReportSource* report) {
  beginResetModel();
  report_ = report;
  columns_ = report ? report->columns() : QList<hv6::sales::ReportColumn>{};
  rowsPerLine_ = 1;
  for (const auto& c : columns_)
    if (!c.caption[1].trimmed().isEmpty()) rowsPerLine_ = 2;
  lines_ = report ? report->lineCount() : 0;
  cachedIndex_ = -1;
  endResetModel();
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(std::min<qint64>(lines_ * rowsPerLine_, 0x7fffffff));
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const ReportLine& ReportListModel::lineAt(qint64 i) const {
  if (i != cachedIndex_) {
    cached_ = report_->line(i);
    cachedIndex_ = i;
  }
  return cached_;
}

hv6::sales::CellKind ReportListModel::kindAt(const QModelIndex& index) const {
  if (!index.isValid() || index.column() >= columns_.size()) return CellKind::Text;
  return columns_[index.column()].kind[index.row() % rowsPerLine_];
}

QString ReportListModel::dots() const {
  return report_ ? report_->dots() : QStringLiteral("・・・・・・・");
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
  if (!report_ || !index.isValid()) return {};
  const qint64 line = index.row() / rowsPerLine_;
  const int row = index.row() % rowsPerLine_;
  const auto& column = columns_[index.column()];
  const CellKind kind = column.kind[row];
  switch (role) {
    case Qt::DisplayRole: {
      const ReportLine& l = lineAt(line);
      return hv6::sales::formatCell(l.cells[row].value(index.column()), kind);
    }
    case Qt::TextAlignmentRole:
      if (kind == CellKind::Amount || kind == CellKind::Quantity)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      if (kind == CellKind::Center) return QVariant(Qt::AlignCenter);
      return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
      const LineType type = lineAt(line).type;
      if (type == LineType::SlipTotal) return QColor(236, 244, 255);
      if (type == LineType::DayTotal) return QColor(255, 244, 220);
      if (type == LineType::GrandTotal) return QColor(230, 230, 230);
      return {};
    }
    default:
      return {};
  }
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return {};
  const auto& c = columns_.value(section);
  return rowsPerLine_ == 2 ? c.caption[0] + QLatin1Char('\n') + c.caption[1] : c.caption[0];
}

ReportPanel::ReportPanel(const QList<ReportCommand>& commands, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("content"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("list"));
  model_ = new ReportListModel(list_);
  list_->setModel(model_);
  list_->setItemDelegate(new FitDelegate(list_));
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->setVisible(false);
  list_->setWordWrap(false);
  list_->setAlternatingRowColors(false);
  if (const QFont* font = display().font) list_->setFont(*font);
  const QFontMetrics fm(list_->font());
  list_->verticalHeader()->setDefaultSectionSize(fm.height() + 4);
  layout->addWidget(list_, 1);

  summary_ = new QFrame(this);
  summary_->setObjectName(QStringLiteral("summary"));
  summaryGrid_ = new QGridLayout(summary_);
  summaryGrid_->setContentsMargins(4, 2, 4, 2);
  summaryGrid_->setHorizontalSpacing(24);
  layout->addWidget(summary_);
  summary_->hide();

  auto* buttons = new QHBoxLayout;
  for (const ReportCommand& command : commands) {
    auto* button = new QPushButton(command.text, this);
    button->setObjectName(QString::number(command.id));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, command.run);
    if (!command.key.isEmpty()) {
      auto* shortcut = new QShortcut(command.key, this);
      shortcut->setContext(Qt::WidgetWithChildrenShortcut);
      connect(shortcut, &QShortcut::activated, this, command.run);
    }
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  layout->addLayout(buttons);
}

void ReportPanel::setReport(const hv6::sales::ReportSource* report) {
  model_->setReport(report);
  if (report) {
    const QFontMetrics fm(list_->font());
    const auto columns = report->columns();
    for (int i = 0; i < columns.size(); ++i)
      list_->setColumnWidth(i, fm.horizontalAdvance(QLatin1Char('0')) * (columns[i].width + 1));
    const int lines = model_->rowsPerLine();
    list_->horizontalHeader()->setMinimumHeight((fm.height() + 4) * lines + 4);
    if (model_->rowCount() > 0) list_->scrollToTop();
  }
  fillSummary(report ? report->summary() : hv6::sales::SummaryTable{});
}

void ReportPanel::fillSummary(const hv6::sales::SummaryTable& summary) {
  while (QLayoutItem* item = summaryGrid_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  summary_->setVisible(!summary.rows.isEmpty());
  for (int c = 0; c < summary.columnCaptions.size(); ++c) {
    auto* label = new QLabel(summary.columnCaptions[c], summary_);
    label->setAlignment(Qt::AlignCenter);
    summaryGrid_->addWidget(label, 0, c);
  }
  // The figures keep their width; what is left stays empty on the right.
  for (int c = 0; c < summaryGrid_->columnCount(); ++c) summaryGrid_->setColumnStretch(c, 0);
  summaryGrid_->setColumnStretch(static_cast<int>(summary.columnCaptions.size()), 1);
  for (int r = 0; r < summary.rows.size(); ++r)
    for (int c = 0; c < summary.rows[r].size(); ++c) {
      const QString text = c == 0 ? summary.rows[r][c]
                                  : hv6::sales::formatCell(summary.rows[r][c], CellKind::Amount);
      auto* label = new QLabel(text, summary_);
      label->setObjectName(QStringLiteral("summary_%1_%2").arg(r).arg(c));
      label->setAlignment(c == 0 ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter));
      summaryGrid_->addWidget(label, r + 1, c);
    }
}

// ---- aggregation ----

hv6::sales::ProgressFn aggregationProgress(QWidget* parent,
                                           std::unique_ptr<QProgressDialog>& holder) {
  holder = std::make_unique<QProgressDialog>(QStringLiteral("集計中です。お待ちください...."),
                                             QStringLiteral("キャンセル"), 0, 100, parent);
  QProgressDialog* box = holder.get();
  box->setObjectName(QStringLiteral("progress"));
  box->setWindowTitle(QStringLiteral("集計中"));
  box->setWindowModality(Qt::WindowModal);
  box->setMinimumDuration(300);
  box->setAutoClose(false);
  box->setAutoReset(false);
  box->setValue(0);
  return [box](int percent) {
    box->setValue(percent);
    QCoreApplication::processEvents();
    return !box->wasCanceled();
  };
}

void showAggregationResult(int result, int status, QWidget* parent) {
  if (result == 0) return;
  if (result == hv6::sales::kMsgCancelled) {
    notices().Disp(parent, hv6::sales::kMsgCancelled);
    return;
  }
  errors().Disp(status, parent, result);
}

// ---- printing ----

ReportPrintDialog::ReportPrintDialog(int templateId, const QString& title,
                                     const QList<Choice>& choices, QWidget* parent)
    : QDialog(parent), choices_(choices) {
  setObjectName(QString::number(templateId));
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < choices_.size(); ++i) {
    auto* option = new QRadioButton(choices_[i].label, this);
    option->setObjectName(QStringLiteral("choice%1").arg(i));
    option->setChecked(i == 0);
    option->setVisible(choices_.size() > 1);
    group->addButton(option, i);
    options_ << option;
    layout->addWidget(option);
  }
  connect(group, &QButtonGroup::idClicked, this, [this] { refreshPrinter(); });
  printer_ = new QLabel(this);
  printer_->setObjectName(QStringLiteral("printer"));
  layout->addWidget(printer_);
  auto* row = new QHBoxLayout;
  auto add = [&](const QString& name, const QString& text, auto run) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, run);
    row->addWidget(button);
    return button;
  };
  add(QStringLiteral("print"), QStringLiteral("印刷(F8)"), [this] {
    if (printToPrinter()) accept();
  });
  add(QStringLiteral("preview"), QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), [this] { preview(); });
  add(QStringLiteral("pdf"), QStringLiteral("PDF出力"), [this] {
    hv6::FileChoice choice;
    choice.title = QStringLiteral("PDF出力");
    choice.startFolder = chosen().title() + QStringLiteral(".pdf");
    choice.filter = QStringLiteral("PDF (*.pdf)");
    choice.parent = this;
    const QString path = hv6::fileChooser().chooseFileToSave(choice);
    if (!path.isEmpty() && writePdf(path)) accept();
  });
  add(QStringLiteral("text"), QStringLiteral("ﾃｷｽﾄ出力"), [this] {
    hv6::FileChoice choice;
    choice.title = QStringLiteral("ﾃｷｽﾄ出力");
    choice.startFolder = chosen().title() + QStringLiteral(".csv");
    choice.filter = QStringLiteral("CSV (*.csv)");
    choice.parent = this;
    const QString path = hv6::fileChooser().chooseFileToSave(choice);
    if (!path.isEmpty() && writeCsv(path)) accept();
  });
  add(QStringLiteral("settings"), QStringLiteral("書式設定"), [this] { chooseSettings(); });
  add(QStringLiteral("close"), QStringLiteral("閉じる"), [this] { reject(); });
  layout->addLayout(row);
  auto* f8 = new QShortcut(QKeySequence(Qt::Key_F8), this);
  connect(f8, &QShortcut::activated, this, [this] {
    if (printToPrinter()) accept();
  });
  refreshPrinter();
}

const hv6::sales::ReportSource& ReportPrintDialog::chosen() const {
  for (int i = 0; i < options_.size(); ++i)
    if (static_cast<QRadioButton*>(options_[i])->isChecked()) return *choices_[i].report;
  return *choices_.first().report;
}

namespace {

void applySettings(QPrinter& printer, const QString& key) {
  hv6::RegistryStore store;
  hv6::sales::ReportPrintSettings settings;
  if (hv6::sales::loadPrintSettings(store, key, settings)) {
    if (!settings.printerName.isEmpty()) printer.setPrinterName(settings.printerName);
    printer.setCopyCount(settings.copies);
  }
}

}  // namespace

void ReportPrintDialog::refreshPrinter() {
  hv6::RegistryStore store;
  hv6::sales::ReportPrintSettings settings;
  hv6::sales::loadPrintSettings(store, chosen().printKey(), settings);
  QString name = settings.printerName;
  if (name.isEmpty()) name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) name = QStringLiteral("（プリンタがありません）");
  printer_->setText(QStringLiteral("用紙　A4　　プリンタ　%1").arg(name));
}

bool ReportPrintDialog::printToPrinter() {
  QPrinter printer(QPrinter::HighResolution);
  applySettings(printer, chosen().printKey());
  if (!printer.isValid()) {
    errors().DispText(QStringLiteral("使用できるプリンタがありません。\n「書式設定」でプリンタを選ぶか、PDF出力をお使いください。"), this);
    return false;
  }
  return hv6::sales::printReport(chosen(), printer) > 0;
}

void ReportPrintDialog::preview() {
  QPrinter printer(QPrinter::HighResolution);
  applySettings(printer, chosen().printKey());
  QPrintPreviewDialog dialog(&printer, this);
  dialog.setObjectName(QStringLiteral("previewDialog"));
  const hv6::sales::ReportSource& report = chosen();
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
          [&report](QPrinter* device) { hv6::sales::printReport(report, *device); });
  dialog.exec();
}

bool ReportPrintDialog::writePdf(const QString& path) {
  QString error;
  if (hv6::sales::writeReportPdf(chosen(), path, &error)) return true;
  errors().DispText(QStringLiteral("PDFファイルを書き込めませんでした。\n%1").arg(error), this);
  return false;
}

bool ReportPrintDialog::writeCsv(const QString& path) {
  QString error;
  if (hv6::sales::writeReportCsv(chosen(), path, &error)) return true;
  errors().DispText(QStringLiteral("テキストファイルを書き込めませんでした。\n%1").arg(error), this);
  return false;
}

void ReportPrintDialog::chooseSettings() {
  QPrinter printer(QPrinter::HighResolution);
  applySettings(printer, chosen().printKey());
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  hv6::RegistryStore store;
  hv6::sales::ReportPrintSettings settings;
  settings.printerName = printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName() : QString();
  settings.copies = printer.copyCount();
  if (!hv6::sales::savePrintSettings(store, chosen().printKey(), settings))
    errors().DispText(QStringLiteral("印刷の設定を保存できませんでした。"), this);
  refreshPrinter();
}

}  // namespace slsale
