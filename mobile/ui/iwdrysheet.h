#pragma once
// The mobile input settings sheet (CIWDrySheet, "モバイル作業日誌入力設定")
// with its items page (CIWDrySpecPage, dialog 158 "入力明細") and its
// ledger page (CIWDryDryPage, dialog 159 "台帳設定"). The settings and
// every rule live in hv6::mobile; the pages show them and take them back.

#include "mobile/inputsettings.h"

#include <QDialog>
#include <QWidget>

class CDaoDatabase;
class CLedgerGrid;
class QComboBox;
class QListWidget;
class QPushButton;
class QTabWidget;

// The check list of input items (control 1000).
class CIWDrySpecPage final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 158;
  static constexpr int kIdItems = 1000;

  explicit CIWDrySpecPage(QWidget* parent = nullptr);

  // Activation: each item shows its flag, then the rules of the rows
  // enable or disable it.
  void activate(const hv6::mobile::InputSettings& settings);
  // Leaving the page and OK: the flags from the checks.
  void takeFlags(hv6::mobile::InputSettings& settings) const;

  QListWidget* items() const { return items_; }

 private:
  QListWidget* items_;
};

// The ledger drop list (1042), the grid (1046), "全選択" (1043) and
// "全解除" (1044).
class CIWDryDryPage final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 159;
  static constexpr int kIdLedger = 1042;
  static constexpr int kIdSelectAll = 1043;
  static constexpr int kIdClearAll = 1044;
  static constexpr int kIdGrid = 1046;

  // settings: the sheet's, which the page writes back into.
  explicit CIWDryDryPage(hv6::mobile::InputSettings& settings, QWidget* parent = nullptr);

  // Activation: the ledgers offered now; the one chosen before stays
  // chosen while it is offered, otherwise the first.
  void activate();
  // Writes the grid's mobile names and use checks back into the settings.
  void writeBack();
  // The ledger shown (0 when none).
  int ledger() const { return ledger_; }

  QComboBox* ledgerList() const { return ledgerList_; }
  CLedgerGrid* grid() const { return grid_; }

 private:
  void showLedger(int ledger);

  hv6::mobile::InputSettings& settings_;
  QComboBox* ledgerList_;
  CLedgerGrid* grid_;
  int ledger_ = 0;
};

class CIWDrySheet final : public QDialog {
  Q_OBJECT

 public:
  // diary: the open work-diary database.
  explicit CIWDrySheet(CDaoDatabase& diary, QWidget* parent = nullptr);

  // Reads the settings and activates the items page; false after the
  // load's message (the sheet must not open).
  bool load();
  // load() and exec(); Rejected when the sheet could not open.
  int run();

  // "設定・転送": the pages taken back, the checks, the confirmation, the
  // save and the upload; the sheet stays open when a step fails.
  void accept() override;

  const hv6::mobile::InputSettings& settings() const { return settings_; }
  QTabWidget* tabs() const { return tabs_; }
  CIWDrySpecPage* specPage() const { return itemsPage_; }
  CIWDryDryPage* dryPage() const { return dry_; }

 private:
  void pageChanged(int index);
  void leavePage(int index);

  CDaoDatabase& diary_;
  hv6::mobile::InputSettings settings_;
  QTabWidget* tabs_;
  CIWDrySpecPage* itemsPage_;
  CIWDryDryPage* dry_;
  int currentPage_ = 0;
};
