#pragma once
// Dialog 144 "ほ場の緯度経度設定": the points observed now (tree 1001, under
// one root) with their fields, the free fields (list 1002) and the points
// whose observation ended (tree 1012). Points are edited in dialog 145,
// created with 1005 "新規" and deleted; fields are tied to a point by
// button or by dragging them from the list onto the point (or onto one of
// its fields), and untied by button or by dragging them onto the list.
// Everything done here is one transaction: OK commits, Cancel rolls back.
//
// Nodes carry what they stand for in their item data: the kind
// (kKindRole), the code (kCodeRole) and, for a point, its values
// (kValuesRole, a hv6::PointValues).

#include "weather/fieldlocation.h"

#include <QDialog>

#include <functional>

class CDaoDatabase;
class QDropEvent;
class QListWidget;
class QListWidgetItem;
class QMimeData;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CFieldLocationDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 144;
  enum ControlId {
    kIdModify = 1000,
    kIdCurrentTree = 1001,
    kIdFreeList = 1002,
    kIdCurrentLabel = 1003,
    kIdFreeLabel = 1004,
    kIdNew = 1005,
    kIdDelete = 1006,
    kIdAdd = 1007,
    kIdEndedTree = 1012,
    kIdOk = 1,
    kIdCancel = 2,
    kIdHelp = 57670,
  };
  enum ItemRole { kKindRole = Qt::UserRole, kCodeRole, kValuesRole };
  // The type of the data a drag between the tree and the list carries.
  static const QString kDragFormat;

  // Either database may be closed or missing: the start then says so.
  CFieldLocationDlg(CDaoDatabase* diary, CDaoDatabase* weather, hv6::ObservationSlots& slots,
                    QWidget* parent = nullptr);
  ~CFieldLocationDlg() override;

  // The start: loads the lists and begins the transaction. False when the
  // dialog cannot open (the reason shown).
  bool initDialog();
  // initDialog, then the dialog modally; Rejected when it could not open.
  int run();
  // The help button and F1 of both dialogs call it with their context.
  void setHelpHandler(std::function<void(int)> handler) { help_ = std::move(handler); }

  // What a drag from the tree (a node that is not the root) or from the
  // list (its selected fields) carries.
  static QMimeData* dragData(int sourceId, const hv6::NodeRef& node);
  // A drop with drag data: from the tree onto the list deletes the dragged
  // node; from the list onto a point or a field of tree 1001 adds the
  // selected fields to that point. False when the data or the place does
  // not take it.
  bool dropOnList(const QMimeData* mime);
  bool dropOnTree(const QMimeData* mime, QTreeWidgetItem* target);

  // The node an item of tree 1001 stands for.
  hv6::NodeRef nodeOf(const QTreeWidgetItem* item) const;

  void accept() override;
  void reject() override;

 private:
  class Tree;
  class List;

  void buildControls();
  void onModify();
  void onNew();
  void onDelete();
  void onAdd();
  void showHelp();
  // After an operation: Closed ends the dialog, anything else shows the
  // editor's contents.
  void handle(hv6::FieldLocationEditor::Outcome outcome, bool selectFirstField);
  // Brings the trees and the list in line with the editor, keeping the
  // items, their expansion and the selection that still exist.
  void sync(bool selectFirstField);
  void syncPoint(QTreeWidgetItem* item, const hv6::PointEntry& entry);
  QTreeWidgetItem* pointItem(const hv6::PointEntry& entry);
  QTreeWidgetItem* findPoint(long code) const;
  QTreeWidgetItem* selectedNode() const;
  void updateButtons();
  bool runPointDialog(hv6::PointValues& values);

  CDaoDatabase* weather_;
  hv6::FieldLocationEditor editor_;
  Tree* current_ = nullptr;
  Tree* ended_ = nullptr;
  List* free_ = nullptr;
  QTreeWidgetItem* root_ = nullptr;
  QPushButton* modify_ = nullptr;
  QPushButton* new_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* add_ = nullptr;
  std::function<void(int)> help_;
};
