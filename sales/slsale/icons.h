#pragma once
// The window icons of the module by their resource ids (inside the library).

#include <QIcon>

namespace slsale {

// Icon 147 (reservation slips), 149 (sales slips), 150 (daily reports),
// 151 (shipping list) or 152 (search); a null icon for another id.
QIcon windowIcon(int iconId);

}  // namespace slsale
