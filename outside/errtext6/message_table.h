#pragma once
// The texts of the numbered messages and of the database error numbers
// (inside this library).

#include <span>

namespace hv6::errtext {

// How a notice (a box of a kind other than 1) looks.
enum class Notice { Information, Warning };

struct MessageText {
  long number;
  Notice notice;
  const char16_t* text;
};

struct DaoText {
  long number;
  const char16_t* text;
};

std::span<const MessageText> messageTable();
std::span<const DaoText> daoTable();

}  // namespace hv6::errtext
