#pragma once
// The parts of the slip entry windows inside the library: the window's
// state (editor, slip marker, farm masters), the content widget with its
// header fields, function keys and right-click menu, the date field, and
// the boxes the editor asks through its hooks.

#include "outside/sl_calc/calc.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "platform/lockfile.h"
#include "sales/slsale/farmmasters.h"
#include "sales/slsale/slipeditor.h"

#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QBoxLayout;
class QComboBox;
class QLabel;
class QMenu;
class QProgressDialog;
class QPushButton;
class QToolButton;
class CSlipWnd;

namespace hv6::sales {
class SlipGrid;
}

namespace slsale {

// Command ids of the slip windows' buttons and keys, and their menu ids.
enum SlipCommand : int {
  kCmdSave = 600,
  kCmdDeleteSlip = 601,
  kCmdCopyLast = 602,
  kCmdPatterns = 603,
  kCmdHelp = 604,
  kCmdClose = 605,
  kCmdCalculator = 606,
  kCmdInsertLine = 607,
  kCmdDeleteLine = 608,
  kCmdCopyLine = 609,
  kCmdInfo = 610,
  kCmdPrint = 611,
  kCmdFirst = 613,
  kCmdPrevious = 614,
  kCmdNext = 615,
  kCmdLast = 616,
  kCmdNew = 617,
  kCmdHandOver = 618,
};

// A date typed in the company's date style, with a button that opens a
// month calendar. 0 is an empty date.
class DateField : public QWidget {
 public:
  DateField(const QString& name, int dateStyle, QWidget* parent = nullptr);
  std::int32_t date() const { return date_; }
  void setDate(std::int32_t date);
  QLineEdit* edit() const { return edit_; }
  QToolButton* button() const { return button_; }
  // Called with the new date after the user typed or picked one.
  std::function<void(std::int32_t)> onChanged;

 private:
  void takeTyped();
  void pick();
  QLineEdit* edit_;
  QToolButton* button_;
  int style_;
  std::int32_t date_ = 0;
};

class SlipWindowContent;

// What a slip entry window keeps.
struct SlipWindowState {
  std::unique_ptr<hv6::sales::SlipEditor> editor;
  hv6::NamedLock marker;
  // Message objects and the saver when the host handed none.
  std::unique_ptr<sl::CErrMsg> localErrors;
  std::unique_ptr<sl::CNmlMsg> localMessages;
  std::unique_ptr<sl::CCalc> localCalc;
  hv6::sales::FarmMasters farm;
  QPointer<SlipWindowContent> content;
};

// The window's area: header fields, the line grid's place, the function
// keys and the right-click menu, all bound to the editor.
class SlipWindowContent : public QWidget {
 public:
  SlipWindowContent(CSlipWnd* window, hv6::sales::SlipEditor& editor, bool salesWindow);

  // Shows the editor's slip in the header fields and the buttons' states.
  void refresh();
  // Runs a command by its id (buttons, keys and menu items come here).
  void run(int command);
  // The right-click menu, greyed like the buttons.
  QMenu* contextMenu();
  // Moves the focus to where the editor's cursor is.
  void focusCursor();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* buildHeader();
  QWidget* buildNavigation();
  QWidget* buildKeys();
  void addKey(QWidget* keys, int row, int column, int command, const QString& key,
              const QString& text, const QList<QKeySequence>& shortcuts);
  void fillLists();
  void pickClient();
  void searchDialog();
  bool enabled(int command) const;
  void buildGrid(QBoxLayout* layout);
  void showError(long number, const QString& text = QString());
  void openUnitPrice();

  CSlipWnd* window_;
  hv6::sales::SlipEditor& editor_;
  bool sales_;
  bool refreshing_ = false;
  QLineEdit* slipNo_ = nullptr;
  DateField* slipDate_ = nullptr;
  QComboBox* kind_ = nullptr;
  QLineEdit* clientCode_ = nullptr;
  QLabel* clientName_ = nullptr;
  QComboBox* shipTo_ = nullptr;
  QComboBox* person_ = nullptr;
  DateField* shipDate_ = nullptr;
  DateField* claimDate_ = nullptr;
  QComboBox* tagColor_ = nullptr;
  QComboBox* adPlan_ = nullptr;
  hv6::sales::SlipGrid* grid_ = nullptr;
  QMap<int, QPushButton*> buttons_;
  QMenu* menu_ = nullptr;
};

// The box "確  認" of a free number typed over a stored slip.
hv6::sales::CopyChoice askCopyChoice(QWidget* parent);

// The progress box of the number search: shown from the first number tried,
// closed by done(); step() answers false once the user cancelled.
class NumberSearchBox {
 public:
  explicit NumberSearchBox(QWidget* parent) : parent_(parent) {}
  ~NumberSearchBox();
  bool step(int tried);
  void done();

 private:
  QWidget* parent_;
  QProgressDialog* box_ = nullptr;
};

// The window a dialog was opened from (its parent chain), or null.
CSlipWnd* slipWindowOf(QWidget* widget);

}  // namespace slsale
