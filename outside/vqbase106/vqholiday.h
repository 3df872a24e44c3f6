#pragma once
// Japanese public holidays from the rules of the holiday law: fixed days,
// the Monday rules, the equinox days computed, substitute and in-between
// holidays, and the few one-off days.

#include <QString>

// The holiday's name ("元日", "振替休日", "国民の休日", ...), empty when the
// day is not a holiday or not a valid date.
QString holidayName(long yyyymmdd);
