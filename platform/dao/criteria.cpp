#include "platform/dao/criteria.h"

#include "platform/dao/exception.h"
#include "platform/dao/jetsql.h"

namespace hv6::dao {
namespace {

bool isNumeric(VARTYPE vt) {
  return vt == VT_I2 || vt == VT_I4 || vt == VT_UI1 || vt == VT_R8 || vt == VT_CY || vt == VT_BOOL;
}

bool isWholeNumber(VARTYPE vt) { return vt == VT_I2 || vt == VT_I4 || vt == VT_UI1; }

template <typename T>
int threeWay(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

int compareText(const COleVariant& a, const COleVariant& b) {
  const int order = QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
  return threeWay(order, 0);
}

int compareNumbers(const COleVariant& a, const COleVariant& b) {
  if (a.vt() == VT_BOOL || b.vt() == VT_BOOL) return threeWay(a.toBool(), b.toBool());
  if (isWholeNumber(a.vt()) && isWholeNumber(b.vt())) return threeWay(a.toLong(), b.toLong());
  return threeWay(a.toDouble(), b.toDouble());
}

bool holds(const COleVariant& truth) { return !truth.isNull() && truth.toBool(); }

bool isKeyword(const SqlToken& token) {
  for (const char* word : {"AND", "OR", "NOT", "IS", "NULL", "BETWEEN", "IN", "TRUE", "FALSE"})
    if (token.isWord(word)) return true;
  return false;
}

}  // namespace

std::optional<int> compareValues(const COleVariant& a, const COleVariant& b) {
  if (a.isNull() || b.isNull()) return std::nullopt;
  if (a.vt() == VT_DATE || b.vt() == VT_DATE) {
    const QDateTime left = a.toDateTime();
    const QDateTime right = b.toDateTime();
    if (left.isValid() && right.isValid()) return threeWay(left, right);
    return compareText(a, b);
  }
  const bool leftNumber = isNumeric(a.vt());
  const bool rightNumber = isNumeric(b.vt());
  if (leftNumber && rightNumber) return compareNumbers(a, b);
  double ignored = 0;
  if (leftNumber && b.tryDouble(ignored)) return compareNumbers(a, COleVariant(ignored));
  if (rightNumber && a.tryDouble(ignored)) return compareNumbers(COleVariant(ignored), b);
  return compareText(a, b);
}

// Recursive descent over the tokens of the criteria text.
class Criteria::Parser {
 public:
  Parser(const QString& text, const ColumnLookup& lookup, std::vector<Node>& nodes)
      : text_(text), lookup_(lookup), nodes_(nodes) {
    for (SqlToken& token : tokenizeJet(text))
      if (token.kind != SqlToken::Space) tokens_.append(std::move(token));
  }

  int parse() {
    const int root = orExpression();
    if (pos_ < tokens_.size()) fail();
    return root;
  }

 private:
  [[noreturn]] void fail() const {
    throw CDaoException(kJetCriteriaSyntax, QStringLiteral("Syntax error in criteria: %1").arg(text_));
  }

  const SqlToken* peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }

  bool acceptWord(const char* word) {
    if (!peek() || !peek()->isWord(word)) return false;
    ++pos_;
    return true;
  }

  bool acceptSymbol(char symbol) {
    if (!peek() || !peek()->isSymbol(symbol)) return false;
    ++pos_;
    return true;
  }

  int add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size() - 1);
  }

  int logic(Op op, std::vector<int> args, bool negated = false) {
    Node node;
    node.op = op;
    node.args = std::move(args);
    node.negated = negated;
    return add(std::move(node));
  }

  int literal(COleVariant value) {
    Node node;
    node.literal = std::move(value);
    return add(std::move(node));
  }

  int orExpression() {
    int left = andExpression();
    while (acceptWord("OR")) left = logic(Op::Or, {left, andExpression()});
    return left;
  }

  int andExpression() {
    int left = notExpression();
    while (acceptWord("AND")) left = logic(Op::And, {left, notExpression()});
    return left;
  }

  int notExpression() {
    if (acceptWord("NOT")) return logic(Op::Not, {notExpression()});
    return predicate();
  }

  bool isLogicNode(int node) const {
    const Op op = nodes_[static_cast<size_t>(node)].op;
    return op != Op::Literal && op != Op::Column;
  }

  int predicate() {
    const int left = operand();
    if (const auto comparison = comparisonOperator()) {
      Node node;
      node.op = Op::Compare;
      node.comparison = *comparison;
      node.args = {left, operand()};
      return add(std::move(node));
    }
    if (acceptWord("IS")) {
      const bool negated = acceptWord("NOT");
      if (!acceptWord("NULL")) fail();
      return logic(Op::IsNull, {left}, negated);
    }
    const bool negated = acceptWord("NOT");
    if (acceptWord("BETWEEN")) {
      const int low = operand();
      if (!acceptWord("AND")) fail();
      return logic(Op::Between, {left, low, operand()}, negated);
    }
    if (acceptWord("IN")) return inList(left, negated);
    if (negated) fail();
    return isLogicNode(left) ? left : logic(Op::Truth, {left});
  }

  int inList(int left, bool negated) {
    if (!acceptSymbol('(')) fail();
    std::vector<int> args{left};
    do {
      args.push_back(operand());
    } while (acceptSymbol(','));
    if (!acceptSymbol(')')) fail();
    return logic(Op::In, std::move(args), negated);
  }

  std::optional<QString> comparisonOperator() {
    const SqlToken* token = peek();
    if (!token || token->kind != SqlToken::Symbol) return std::nullopt;
    for (const char* op : {"=", "<>", "<", ">", "<=", ">=", "!="}) {
      if (token->text != QLatin1String(op)) continue;
      ++pos_;
      return token->text == QLatin1String("!=") ? QStringLiteral("<>") : token->text;
    }
    return std::nullopt;
  }

  int operand() {
    if (acceptSymbol('(')) {
      const int inner = orExpression();
      if (!acceptSymbol(')')) fail();
      return inner;
    }
    const bool minus = acceptSymbol('-');
    const SqlToken* token = peek();
    if (!token) fail();
    if (token->kind == SqlToken::Number) return number(minus);
    if (minus) fail();
    ++pos_;
    switch (token->kind) {
      case SqlToken::String: return literal(COleVariant(token->value));
      case SqlToken::Date: return literal(COleVariant(token->date));
      case SqlToken::Word:
      case SqlToken::QuotedName: return wordOperand(*token);
      default: fail();
    }
  }

  int number(bool minus) {
    const QString text = (minus ? QStringLiteral("-") : QString()) + tokens_[pos_++].text;
    bool ok = false;
    const long whole = text.toLong(&ok);
    if (ok) return literal(COleVariant(whole));
    const double value = text.toDouble(&ok);
    if (!ok) fail();
    return literal(COleVariant(value));
  }

  int wordOperand(const SqlToken& token) {
    if (token.isWord("TRUE")) return literal(COleVariant::boolean(true));
    if (token.isWord("FALSE")) return literal(COleVariant::boolean(false));
    if (token.isWord("NULL")) return literal(COleVariant());
    if (isKeyword(token)) fail();
    QString name = token.kind == SqlToken::QuotedName ? token.value : token.text;
    if (acceptSymbol('.')) {
      const SqlToken* part = peek();
      if (!part || (part->kind != SqlToken::Word && part->kind != SqlToken::QuotedName)) fail();
      name += QLatin1Char('.') + (part->kind == SqlToken::QuotedName ? part->value : part->text);
      ++pos_;
    }
    return column(name);
  }

  int column(const QString& name) {
    const int index = lookup_(name);
    if (index < 0)
      throw CDaoException(kJetUnknownName, QStringLiteral("Unknown name '%1' in: %2").arg(name, text_));
    Node node;
    node.op = Op::Column;
    node.column = index;
    return add(std::move(node));
  }

  const QString& text_;
  const ColumnLookup& lookup_;
  std::vector<Node>& nodes_;
  QList<SqlToken> tokens_;
  qsizetype pos_ = 0;
};

Criteria::Criteria(const QString& text, const ColumnLookup& lookup) {
  try {
    root_ = Parser(text, lookup, nodes_).parse();
  } catch (const CDaoException& e) {
    // A bad literal inside the criteria is a criteria syntax error.
    if (e.errorCode() != kJetSyntaxError) throw;
    throw CDaoException(kJetCriteriaSyntax, e.description());
  }
}

bool Criteria::matches(const ValueAt& valueAt) const { return holds(evaluate(root_, valueAt)); }

COleVariant Criteria::evaluate(int index, const ValueAt& valueAt) const {
  const Node& node = nodes_[static_cast<size_t>(index)];
  if (node.op == Op::Literal) return node.literal;
  if (node.op == Op::Column) return valueAt(node.column);
  return evaluateLogic(node, valueAt);
}

namespace {

COleVariant truthOf(std::optional<bool> value) {
  return value ? COleVariant::boolean(*value) : COleVariant();
}

std::optional<bool> applyComparison(const QString& op, std::optional<int> order) {
  if (!order) return std::nullopt;
  if (op == QLatin1String("=")) return *order == 0;
  if (op == QLatin1String("<>")) return *order != 0;
  if (op == QLatin1String("<")) return *order < 0;
  if (op == QLatin1String(">")) return *order > 0;
  if (op == QLatin1String("<=")) return *order <= 0;
  return *order >= 0;
}

}  // namespace

COleVariant Criteria::evaluateLogic(const Node& node, const ValueAt& valueAt) const {
  const auto arg = [&](size_t i) { return evaluate(node.args[i], valueAt); };
  switch (node.op) {
    case Op::Or: {
      const COleVariant left = arg(0);
      if (holds(left)) return left;
      const COleVariant right = arg(1);
      if (holds(right) || (!left.isNull() && !right.isNull())) return right;
      return COleVariant();
    }
    case Op::And: {
      const COleVariant left = arg(0);
      if (!left.isNull() && !left.toBool()) return left;
      const COleVariant right = arg(1);
      if (!right.isNull() && !right.toBool()) return right;
      return left.isNull() || right.isNull() ? COleVariant() : right;
    }
    case Op::Not: {
      const COleVariant inner = arg(0);
      return inner.isNull() ? inner : COleVariant::boolean(!inner.toBool());
    }
    case Op::Compare: return truthOf(applyComparison(node.comparison, compareValues(arg(0), arg(1))));
    case Op::IsNull: return COleVariant::boolean(arg(0).isNull() != node.negated);
    case Op::Between: {
      const COleVariant value = arg(0);
      const auto low = applyComparison(QStringLiteral(">="), compareValues(value, arg(1)));
      const auto high = applyComparison(QStringLiteral("<="), compareValues(value, arg(2)));
      if ((low && !*low) || (high && !*high)) return COleVariant::boolean(node.negated);
      if (!low || !high) return COleVariant();
      return COleVariant::boolean(!node.negated);
    }
    case Op::In: {
      const COleVariant value = arg(0);
      bool unknown = false;
      for (size_t i = 1; i < node.args.size(); ++i) {
        const auto order = compareValues(value, arg(i));
        if (order && *order == 0) return COleVariant::boolean(!node.negated);
        unknown = unknown || !order;
      }
      return unknown ? COleVariant() : COleVariant::boolean(node.negated);
    }
    case Op::Truth: {
      const COleVariant value = arg(0);
      return value.isNull() ? value : COleVariant::boolean(value.toBool());
    }
    default: return COleVariant();
  }
}

}  // namespace hv6::dao
