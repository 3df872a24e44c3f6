#pragma once
// What the report windows (CE2040Wnd, CE50Wnd) share: the list of a report
// with two text rows per line and its totals lines shaded, the summary
// under it, the row of command buttons, the progress box of an
// aggregation, the boxes an aggregation ends with, and the print dialog
// (printer, preview, PDF, text output, printer settings).

#include "sales/reports/dailyreport.h"
#include "sales/reports/reporttable.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QGridLayout;
class QLabel;
class QProgressDialog;
class QTableView;

namespace slsale {

// The lines of a report as rows of a table: line i is rows
// i * rowsPerLine ... ; cells formatted by their column's kind.
class ReportListModel : public QAbstractTableModel {
 public:
  explicit ReportListModel(QObject* parent = nullptr);
  void setReport(const hv6::sales::ReportSource* report);
  int rowsPerLine() const { return rowsPerLine_; }
  // The kind of a cell and what the report prints for a value too wide.
  hv6::sales::CellKind kindAt(const QModelIndex& index) const;
  QString dots() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const hv6::sales::ReportLine& lineAt(qint64 i) const;

  const hv6::sales::ReportSource* report_ = nullptr;
  QList<hv6::sales::ReportColumn> columns_;
  int rowsPerLine_ = 2;
  qint64 lines_ = 0;
  mutable qint64 cachedIndex_ = -1;
  mutable hv6::sales::ReportLine cached_;
};

struct ReportCommand {
  int id;            // the command id, the button's object name
  QString text;      // the button's text
  QKeySequence key;  // its key
  std::function<void()> run;
};

// The four commands of a report window: print (600, F7), conditions
// (conditionsId: 603 in the daily reports, 610 in the shipping list),
// help (601, F1) and close (602, F8).
QList<ReportCommand> reportCommands(QWidget* window, int conditionsId,
                                    std::function<void()> print,
                                    std::function<void()> conditions);

// The list, the summary and the commands of a report window.
class ReportPanel : public QWidget {
 public:
  explicit ReportPanel(const QList<ReportCommand>& commands, QWidget* parent = nullptr);
  void setReport(const hv6::sales::ReportSource* report);
  QTableView* list() const { return list_; }
  ReportListModel* model() const { return model_; }

 private:
  void fillSummary(const hv6::sales::SummaryTable& summary);

  QTableView* list_;
  ReportListModel* model_;
  QWidget* summary_;
  QGridLayout* summaryGrid_;
};

// The progress box "集計中" for an aggregation: the callback moves its
// scale and tells whether the user cancelled. The box goes with holder.
hv6::sales::ProgressFn aggregationProgress(QWidget* parent,
                                           std::unique_ptr<QProgressDialog>& holder);

// Shows the box an aggregation ended with (nothing for 0): notice 102,
// or the error with the store's status.
void showAggregationResult(int result, int status, QWidget* parent);

// The print dialog of a report window: a choice among its reports (shown
// when there are more than one), the paper and the printer, and the
// commands "印刷(F8)", "ﾌﾟﾚﾋﾞｭｰ", "PDF出力", "ﾃｷｽﾄ出力", "書式設定" and
// "閉じる". The printer settings are kept per report in the settings.
class ReportPrintDialog : public QDialog {
 public:
  struct Choice {
    QString label;
    const hv6::sales::ReportSource* report;
  };
  ReportPrintDialog(int templateId, const QString& title, const QList<Choice>& choices,
                    QWidget* parent = nullptr);
  const hv6::sales::ReportSource& chosen() const;
  // The commands, callable by tests as the buttons call them.
  bool printToPrinter();
  void preview();
  bool writePdf(const QString& path);
  bool writeCsv(const QString& path);
  void chooseSettings();

 private:
  void refreshPrinter();

  QList<Choice> choices_;
  QList<QWidget*> options_;
  QLabel* printer_;
};

}  // namespace slsale
