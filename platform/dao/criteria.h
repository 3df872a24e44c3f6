#pragma once
// Jet criteria text ("Code = 12", "Name = 'x' AND Use = 0", "EDate IS Null",
// "Date BETWEEN #5/1/2024# AND #5/31/2024#") compiled once against the
// columns of a set and then tested row by row, for the recordset's Find.
//
// Comparisons = <> < > <= >= and BETWEEN, IS [NOT] NULL, IN (...), AND, OR,
// NOT and parentheses; literals are numbers, 'text' or "text", #date#,
// True, False and Null. Text compares without regard to case, as in Jet; a
// comparison with Null is unknown, and an unknown row does not match.

#include "platform/dao/variant.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace hv6::dao {

class Criteria {
 public:
  // name -> column index, -1 when the set has no such column.
  using ColumnLookup = std::function<int(const QString& name)>;
  using ValueAt = std::function<COleVariant(int column)>;

  // Throws CDaoException 3077 for bad syntax, 3070 for an unknown column.
  Criteria(const QString& text, const ColumnLookup& lookup);

  bool matches(const ValueAt& valueAt) const;

 private:
  enum class Op : unsigned char { Literal, Column, Or, And, Not, Compare, IsNull, Between, In, Truth };
  struct Node {
    Op op = Op::Literal;
    COleVariant literal;    // Literal
    int column = -1;        // Column
    std::vector<int> args;  // operands, by node index
    QString comparison;     // Compare: "=", "<>", "<", ">", "<=", ">="
    bool negated = false;   // IS NOT NULL, NOT BETWEEN, NOT IN
  };
  class Parser;
  COleVariant evaluate(int node, const ValueAt& valueAt) const;
  COleVariant evaluateLogic(const Node& node, const ValueAt& valueAt) const;

  std::vector<Node> nodes_;
  int root_ = -1;
};

// Compares two values as Jet does: dates as dates, numbers as numbers,
// text without case; empty when either is Null.
std::optional<int> compareValues(const COleVariant& a, const COleVariant& b);

}  // namespace hv6::dao
