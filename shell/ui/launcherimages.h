#pragma once
// The images of the tool bars, drawn for this program: the launcher
// buttons (50 x 48 each), a tile with the first character of the program's
// kind; the calendar tool bar's small buttons.

#include <QIcon>
#include <QSize>

namespace hv6 {

inline constexpr QSize kLauncherImageSize{50, 48};
constexpr int kLauncherImageCount = 13;

// The image of an index 0..12 (the entries' order); an empty icon otherwise.
QIcon launcherImage(int index);

// The calendar tool bar's images (16 x 16): 0 previous month, 1 next month,
// 2 week/month display, 3 year and month, 4 weather retrieval.
QIcon calendarToolImage(int index);

}  // namespace hv6
