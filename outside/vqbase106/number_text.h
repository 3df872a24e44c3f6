#pragma once
// Number texts shared by the string and number helpers (inside this library).

#include <QString>

namespace hv6::numtext {

// The half-width form of a number text without surrounding blanks, or an
// empty text when it is no number text (see vqstring.h).
QString normalized(const QString& text);

// The number text with "," every three digits of its integer part.
QString grouped(const QString& number);

}  // namespace hv6::numtext
