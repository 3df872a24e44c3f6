#pragma once
// Hooks for tests only: the program itself never calls these.

#include <QDate>

namespace hv6::wxfetch::testing {

// The day the library takes as today; an invalid date (the default) means
// the current local date.
void setToday(const QDate& day);

}  // namespace hv6::wxfetch::testing
