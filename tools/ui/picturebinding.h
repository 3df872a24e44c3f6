#pragma once
// A picture record into a picture window and the window's values back.

#include "tools/picture.h"

class CPictureWindow;
class CViewerEdit;

namespace hv6 {

// The viewer's fields: title, memo, date, levels, rate and flag, path.
void fillViewer(CPictureWindow& window, const PictureRecord& record);
// The import window: delete disabled, date, empty title and memo, levels,
// rate 100 chosen, the file as starting and current path.
void fillEditWindow(CViewerEdit& window, const PictureRecord& record);
// What the window holds now (code 0).
PictureRecord valuesOf(const CPictureWindow& window);

}  // namespace hv6
