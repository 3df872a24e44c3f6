#pragma once
// The grid of the ledger page (control 1046): one line per master row with
// its use check, Scode, Name and mobile name. The mobile name is edited in
// place and never grows beyond 12 bytes of code page 932 (a double-byte
// character that would not fit whole is not taken).

#include "mobile/inputsettings.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

class LedgerRowModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kUseColumn = 0, kScodeColumn = 1, kNameColumn = 2, kMobileNameColumn = 3 };
  static constexpr int kColumnCount = 4;

  explicit LedgerRowModel(QObject* parent = nullptr);

  void setRows(const QList<hv6::mobile::LedgerRow>& rows);
  const QList<hv6::mobile::LedgerRow>& rows() const { return rows_; }
  // Ticks or clears every line.
  void setAllUsed(bool used);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // The use check (check state) and the mobile name (edit role, cut to
  // 12 bytes).
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  QList<hv6::mobile::LedgerRow> rows_;
};

// Edits the mobile name in a line edit that takes no more than 12 bytes.
class MobileNameDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

class CLedgerGrid final : public QTableView {
  Q_OBJECT

 public:
  static constexpr int kControlId = 1046;

  explicit CLedgerGrid(QWidget* parent = nullptr);

  void setRows(const QList<hv6::mobile::LedgerRow>& rows);
  const QList<hv6::mobile::LedgerRow>& rows() const { return model_->rows(); }
  void setAllUsed(bool used) { model_->setAllUsed(used); }
  LedgerRowModel* rowModel() const { return model_; }
  // Takes the text of an open editor into the rows and closes it.
  void commitEdit();

 private:
  LedgerRowModel* model_;
};
