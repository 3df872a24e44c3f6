#pragma once
// The small pictures of the field-location dialog: the images of its
// modify, delete and add buttons (each with a picture for the disabled
// button) and the drag cursor, by resource id, 16 by 16 pixels.

#include <QIcon>
#include <QPixmap>

namespace hv6 {

enum FieldIconId : int {
  kIconModify = 146,
  kIconDelete = 148,
  kIconAdd = 149,
  kIconModifyDisabled = 150,
  kIconDeleteDisabled = 153,
  kIconAddDisabled = 155,
  kDragCursor = 156,
};

// The picture of a resource id at a device pixel ratio; a null pixmap for
// an id that has none.
QPixmap fieldIconPixmap(int id, qreal ratio = 1.0);
// A button's icon: the picture of `normal`, and `disabled` for the
// disabled button.
QIcon fieldButtonIcon(int normal, int disabled);

}  // namespace hv6
