#include "platform/inet/version.h"

#include <gtest/gtest.h>

namespace {

using hv6::inet::wininetVersionRule;

struct VersionRow {
  const char* version;
  int result;
};

// The releases the rule names, then each bound from both sides.
constexpr VersionRow kRows[] = {
    {"6.00.2800.1106", 0},    // below the last bound
    {"6.00.2900.2180", 1},    // beyond every bound
    {"7.00.6000.16386", 1},   // beyond every bound, one digit before the dot
    {"10.00.9200.16384", 1},  // two digits above 9
    {"0.0.0.0", 0},           // unreadable
    {"5.00.3526.0799", 0},
    {"5.00.3526.0800", 1},
    {"5.00.3600.0000", 1},
    {"5.00.3700.0000", 0},
    {"5.00.3813.0799", 0},
    {"5.00.3813.0800", 1},
    {"5.01.0000.0000", 1},
    {"5.50.0000.0000", 0},
    {"5.50.4937.0799", 0},
    {"5.50.4937.0800", 1},
    {"6.00.0000.0000", 0},
    {"6.00.2737.0799", 0},
    {"6.00.2737.0800", 1},
    {"6.00.2800.0000", 0},
    {"6.00.2800.1399", 0},
    {"6.00.2800.1400", 1},
    {"09.00.0000.0000", 0},  // two digits but not above 9: compared as text
    {"99.00.0000.0000", 1},
    {"", 0},
};

TEST(WininetVersionRule, GivesTheTableResultForEachVersion) {
  for (const VersionRow& row : kRows)
    EXPECT_EQ(wininetVersionRule(QString::fromLatin1(row.version)), row.result) << row.version;
}

TEST(WininetVersionRule, TheVersionHereCannotBeReadSoARelativeObjectIsUsed) {
  EXPECT_EQ(hv6::inet::wininetVersionText(), QStringLiteral("0.0.0.0"));
  EXPECT_FALSE(hv6::inet::useFullUrl());
}

}  // namespace
