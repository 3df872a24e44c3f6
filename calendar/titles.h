#pragma once
// The window title of the calendar: string 2024 and the description of the
// shown mode (strings 2000-2023) with the slip figure's suffix.

#include "calendar/viewstate.h"

#include <QString>

namespace hv6 {

constexpr int kIdsTitleBase = 2024;  // "Harvo V6 Plus"
constexpr int kIdsPlanFirst = 2000;
constexpr int kIdsDiaryFirst = 2006;
constexpr int kIdsSlipFirst = 2014;
constexpr int kIdsSlipCustomer = 2015;
constexpr int kIdsFarmDiary = 2023;

// The text of a string resource of the title table; empty when unknown.
QString titleString(int id);

// The figure's suffix for slip modes 0-2; empty for the other modes.
QString figureSuffix(int slipMode, int figure);

QString windowTitle(const CalendarViewState& state);

}  // namespace hv6
