#pragma once
// A master window of the sales host: the list of a master with a search
// line, the form of the chosen row, and the buttons with the slip windows'
// keys: F2 登録, F3 新規 (as 1行挿入), F4 削除 (as 1行削除), F8 閉じる.
// Enter moves to the next field. For the company
// and environment records the window shows the form of the one record.
// Controls carry objectNames: "search", "list", "new", "save", "delete",
// "close" and each field's name.

#include "outside/salehost/mastertable.h"

#include <QWidget>

#include <memory>

class QFormLayout;
class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace salehost {

class MasterWindow : public QWidget {
  Q_OBJECT

 public:
  MasterWindow(std::unique_ptr<MasterTable> table, QWidget* parent = nullptr);
  ~MasterWindow() override;

  MasterTable& table() { return *table_; }
  // Reads the rows again; false (after a message) when the store failed.
  bool reload();
  // The form's values as typed; a refusal when a number field holds text.
  Refusal formValues(Values& values) const;

 public Q_SLOTS:
  void startNew();
  bool save();
  bool removeCurrent();

 Q_SIGNALS:
  void closeRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildForm(QFormLayout* form);
  void showRow(int row);
  void showValues(const Values& values);
  void applyFilter(const QString& text);
  void selectKey(const QVariant& key);
  void focusField(int field);
  QString storeFailure(int status) const;

  std::unique_ptr<MasterTable> table_;
  QList<Values> rows_;
  QList<QWidget*> edits_;
  QLineEdit* search_ = nullptr;
  QTableView* list_ = nullptr;
  QStandardItemModel* model_ = nullptr;
  int current_ = -1;  // row shown in the form; -1 for a new row
};

}  // namespace salehost
