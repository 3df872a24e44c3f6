#pragma once
// The sales host's main window: an MDI area with a menu and a tool bar that
// open the sales module's windows (each at most once: looked up in the
// registry first, raised when open) and the host's own master windows.
// The module's windows post message 1354 when they close or stop being
// active; the frame refreshes its menus on it.
//
// Menu and tool-bar actions carry objectNames: "E10" 予約伝票, "E30" 売上伝票,
// "E20" 売上日報, "E40" 予約日報, "E50" 発送準備確認表, "clients",
// "goods", "persons", "shipTos", "company", "environment", "quit".

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace salehost {

class HostServices;
class SaleModule;

enum class MasterKind { Clients, Goods, Persons, ShipTos, Company, Environment };

class SalesFrame : public QMainWindow {
  Q_OBJECT

 public:
  SalesFrame(SaleModule& module, HostServices& services, QWidget* parent = nullptr);
  ~SalesFrame() override;

  QMdiArea* mdiArea() const { return mdi_; }

  // Opens the module's window of a registry id, or raises it when open;
  // null when its creation failed (the module showed why).
  QWidget* openModuleWindow(short id);
  // Opens a master window, or raises it when open.
  QMdiSubWindow* openMaster(MasterKind kind);

  // Closes every window; each may ask to save first and refuse. True when
  // none is left open.
  bool closeChildren();

  // How many times message 1354 reached the frame.
  int childMessages() const { return childMessages_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void refreshMenus();
  QAction* moduleAction(short id, const QString& text, const QString& name);

  SaleModule& module_;
  HostServices& services_;
  QMdiArea* mdi_ = nullptr;
  QHash<short, QAction*> moduleActions_;
  QHash<int, QPointer<QMdiSubWindow>> masters_;
  int childMessages_ = 0;
};

}  // namespace salehost
