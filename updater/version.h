#pragma once
// Comparison of version texts ("6.05.01") for a service pack's range.

#include <QString>

namespace hv6::updater {

// Negative, zero or positive as a is below, equal to or above b. When
// every dot-separated part of both texts is a decimal number, the parts
// compare as numbers from the left, and with equal common parts the text
// with more parts is the higher: "6.10.00" is above "6.9.00". Any other
// text compares byte by byte (unsigned), a text being below every longer
// text it starts. Versions of the form "6.05.01" give the same order
// either way.
int compareVersions(const QString& a, const QString& b);

}  // namespace hv6::updater
