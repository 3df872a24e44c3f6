#pragma once
// Driving the field-location dialogs through their controls: finding a
// control by id, typing into an edit and leaving it, answering the next
// modal dialog, and a drop of drag data on a view.

#include "tests/weather/fieldlocation_fixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <functional>
#include <memory>

namespace hv6test {

template <typename T = QWidget>
T* control(const QWidget* dialog, int id) {
  T* widget = dialog->findChild<T*>(QString::number(id));
  EXPECT_NE(widget, nullptr) << "control " << id;
  return widget;
}

inline void click(const QWidget* dialog, int id) { control<QAbstractButton>(dialog, id)->click(); }

// Types a text into an edit and leaves it, as a user tabbing on does.
inline void typeInto(const QWidget* dialog, int id, const QString& text) {
  auto* edit = control<QLineEdit>(dialog, id);
  edit->setText(text);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(edit, &out);
}

// Runs act on the next visible modal dialog of a kind, once it runs.
template <typename Dialog>
void whenShown(std::function<void(Dialog*)> act) {
  QTimer::singleShot(0, [act] {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<Dialog*>(window); dialog && dialog->isVisible())
        return act(dialog);
    ADD_FAILURE() << "no dialog to answer";
  });
}

// A drag entering the view, moving to pos and dropping there, as the
// window system delivers it to the view's viewport. Whether the move and
// the drop were accepted.
struct DropResult {
  bool moveAccepted = false;
  bool dropAccepted = false;
};

inline DropResult dropOn(QAbstractItemView* view, const QMimeData* mime, QPoint pos) {
  QWidget* port = view->viewport();
  QDragEnterEvent enter(pos, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &enter);
  QDragMoveEvent move(pos, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &move);
  DropResult result;
  result.moveAccepted = move.isAccepted();
  QDropEvent drop(QPointF(pos), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(port, &drop);
  result.dropAccepted = drop.isAccepted();
  return result;
}

}  // namespace hv6test
