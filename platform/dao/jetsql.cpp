#include "platform/dao/jetsql.h"

#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/variant.h"

#include <QSqlError>
#include <initializer_list>

namespace hv6::dao {
namespace {

[[noreturn]] void syntaxError(const QString& what, const QString& sql) {
  throw CDaoException(kJetSyntaxError, QStringLiteral("%1 in: %2").arg(what, sql));
}

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

QString singleQuoted(const QString& value) {
  QString escaped = value;
  escaped.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

class Lexer {
 public:
  explicit Lexer(const QString& sql) : sql_(sql) {}

  QList<SqlToken> run() {
    while (pos_ < sql_.size()) next();
    return std::move(tokens_);
  }

 private:
  QChar at(qsizetype i) const { return i < sql_.size() ? sql_[i] : QChar(); }

  void push(SqlToken::Kind kind, qsizetype from, QString value = QString()) {
    SqlToken token;
    token.kind = kind;
    token.text = sql_.mid(from, pos_ - from);
    token.value = std::move(value);
    tokens_.append(std::move(token));
  }

  void next() {
    const QChar c = at(pos_);
    if (c.isSpace()) return space();
    if (isWordStart(c)) return word();
    if (c.isDigit() || (c == QLatin1Char('.') && at(pos_ + 1).isDigit())) return number();
    if (c == QLatin1Char('\'')) return singleString();
    if (c == QLatin1Char('"')) return doubleString();
    if (c == QLatin1Char('#')) return dateLiteral();
    if (c == QLatin1Char('[')) return bracketName();
    if (c == QLatin1Char('?')) return symbol(1, SqlToken::Placeholder);
    return symbol(isTwoCharOperator() ? 2 : 1, SqlToken::Symbol);
  }

  void space() {
    const qsizetype from = pos_;
    while (at(pos_).isSpace()) ++pos_;
    push(SqlToken::Space, from);
  }

  void word() {
    const qsizetype from = pos_;
    while (isWordChar(at(pos_))) ++pos_;
    push(SqlToken::Word, from, sql_.mid(from, pos_ - from));
  }

  void number() {
    const qsizetype from = pos_;
    while (at(pos_).isDigit() || at(pos_) == QLatin1Char('.')) ++pos_;
    if ((at(pos_) == QLatin1Char('e') || at(pos_) == QLatin1Char('E')) &&
        (at(pos_ + 1).isDigit() || ((at(pos_ + 1) == QLatin1Char('+') || at(pos_ + 1) == QLatin1Char('-')) &&
                                    at(pos_ + 2).isDigit()))) {
      pos_ += 2;
      while (at(pos_).isDigit()) ++pos_;
    }
    push(SqlToken::Number, from);
  }

  // Reads up to the closing quote; a doubled quote stands for one.
  QString quotedBody(QChar quote) {
    QString value;
    ++pos_;
    for (;;) {
      if (pos_ >= sql_.size()) syntaxError(QStringLiteral("unterminated string"), sql_);
      const QChar c = sql_[pos_++];
      if (c != quote) {
        value += c;
        continue;
      }
      if (at(pos_) != quote) return value;
      value += quote;
      ++pos_;
    }
  }

  void singleString() {
    const qsizetype from = pos_;
    QString value = quotedBody(QLatin1Char('\''));
    push(SqlToken::String, from, std::move(value));
  }

  void doubleString() {
    const qsizetype from = pos_;
    QString value = quotedBody(QLatin1Char('"'));
    push(SqlToken::String, from, value);
    tokens_.last().text = singleQuoted(value);
  }

  void dateLiteral() {
    const qsizetype close = sql_.indexOf(QLatin1Char('#'), pos_ + 1);
    if (close < 0) syntaxError(QStringLiteral("unterminated date"), sql_);
    const QString body = sql_.mid(pos_ + 1, close - pos_ - 1);
    const QDateTime date = parseDateText(body);
    if (!date.isValid()) syntaxError(QStringLiteral("invalid date #%1#").arg(body), sql_);
    const qsizetype from = pos_;
    pos_ = close + 1;
    push(SqlToken::Date, from, body);
    tokens_.last().text = singleQuoted(storedDateText(date));
    tokens_.last().date = date;
  }

  void bracketName() {
    const qsizetype close = sql_.indexOf(QLatin1Char(']'), pos_ + 1);
    if (close < 0) syntaxError(QStringLiteral("unterminated name"), sql_);
    const QString name = sql_.mid(pos_ + 1, close - pos_ - 1);
    const qsizetype from = pos_;
    pos_ = close + 1;
    push(SqlToken::QuotedName, from, name);
    tokens_.last().text = quoteName(name);
  }

  bool isTwoCharOperator() const {
    const QString pair = sql_.mid(pos_, 2);
    for (const char* op : {"<>", "<=", ">=", "!=", "==", "||"})
      if (pair == QLatin1String(op)) return true;
    return false;
  }

  void symbol(qsizetype length, SqlToken::Kind kind) {
    const qsizetype from = pos_;
    pos_ += length;
    push(kind, from);
  }

  const QString& sql_;
  qsizetype pos_ = 0;
  QList<SqlToken> tokens_;
};

// Index of the next token that is not a blank, from `from` on; size() when none.
qsizetype nextSignificant(const QList<SqlToken>& tokens, qsizetype from) {
  while (from < tokens.size() && tokens[from].kind == SqlToken::Space) ++from;
  return from;
}

qsizetype previousSignificant(const QList<SqlToken>& tokens, qsizetype from) {
  while (from >= 0 && tokens[from].kind == SqlToken::Space) --from;
  return from;
}

bool isSymbolAt(const QList<SqlToken>& tokens, qsizetype i, char symbol) {
  return i >= 0 && i < tokens.size() && tokens[i].isSymbol(symbol);
}

// true/false as 1/0, unless the word is part of a name ("t.True", "True(").
void replaceBooleans(QList<SqlToken>& tokens) {
  for (qsizetype i = 0; i < tokens.size(); ++i) {
    SqlToken& token = tokens[i];
    const bool isTrue = token.isWord("TRUE");
    if (!isTrue && !token.isWord("FALSE")) continue;
    const qsizetype before = previousSignificant(tokens, i - 1);
    const qsizetype after = nextSignificant(tokens, i + 1);
    if (isSymbolAt(tokens, before, '.') || isSymbolAt(tokens, after, '.') ||
        isSymbolAt(tokens, after, '('))
      continue;
    token.kind = SqlToken::Number;
    token.text = isTrue ? QStringLiteral("1") : QStringLiteral("0");
  }
}

// "DELETE * FROM" -> "DELETE FROM".
void dropDeleteStar(QList<SqlToken>& tokens) {
  for (qsizetype i = 0; i < tokens.size(); ++i) {
    if (!tokens[i].isWord("DELETE")) continue;
    const qsizetype star = nextSignificant(tokens, i + 1);
    if (!isSymbolAt(tokens, star, '*')) continue;
    const qsizetype from = nextSignificant(tokens, star + 1);
    if (from >= tokens.size() || !tokens[from].isWord("FROM")) continue;
    tokens.remove(star, from - star);
  }
}

bool isName(const SqlToken& token) {
  return token.kind == SqlToken::Word || token.kind == SqlToken::QuotedName;
}

QString bareName(const SqlToken& token) {
  return token.kind == SqlToken::QuotedName ? token.value : token.text;
}

bool isAnyWord(const SqlToken& token, std::initializer_list<const char*> words) {
  for (const char* word : words)
    if (token.isWord(word)) return true;
  return false;
}

// The significant tokens of a statement, for shape checks.
QList<const SqlToken*> significantTokens(const QList<SqlToken>& tokens) {
  QList<const SqlToken*> result;
  for (const SqlToken& token : tokens)
    if (token.kind != SqlToken::Space) result.append(&token);
  return result;
}

// One item of the select list: *, name, name.name or name.*.
bool isPlainItem(const QList<const SqlToken*>& items) {
  if (items.size() == 1) return items[0]->isSymbol('*') || isName(*items[0]);
  if (items.size() != 3 || !isName(*items[0]) || !items[1]->isSymbol('.')) return false;
  return isName(*items[2]) || items[2]->isSymbol('*');
}

// Checks the select list from `pos`; returns the index of FROM or -1.
qsizetype plainSelectList(const QList<const SqlToken*>& s, qsizetype pos) {
  QList<const SqlToken*> item;
  for (; pos < s.size(); ++pos) {
    const SqlToken& token = *s[pos];
    if (token.isWord("FROM") || token.isSymbol(',')) {
      if (!isPlainItem(item)) return -1;
      if (token.isWord("FROM")) return pos;
      item.clear();
      continue;
    }
    item.append(&token);
  }
  return -1;
}

bool plainTail(const QList<const SqlToken*>& s, qsizetype pos) {
  if (pos < s.size() && s[pos]->isWord("AS")) ++pos;
  if (pos < s.size() && isName(*s[pos]) && !isAnyWord(*s[pos], {"WHERE", "ORDER", "LIMIT"})) {
    if (isAnyWord(*s[pos], {"INNER", "LEFT", "RIGHT", "FULL", "CROSS", "NATURAL", "JOIN", "GROUP",
                            "UNION", "HAVING"}))
      return false;
    ++pos;
  }
  if (pos < s.size() && !isAnyWord(*s[pos], {"WHERE", "ORDER", "LIMIT"})) return false;
  int depth = 0;
  for (; pos < s.size(); ++pos) {
    if (s[pos]->isSymbol('(')) ++depth;
    if (s[pos]->isSymbol(')')) --depth;
    if (depth == 0 && isAnyWord(*s[pos], {"GROUP", "HAVING", "UNION", "INTERSECT", "EXCEPT", "JOIN"}))
      return false;
  }
  return true;
}

QString insertRowId(const QList<SqlToken>& tokens, const SqlToken* afterToken) {
  QString sql;
  for (const SqlToken& token : tokens) {
    sql += token.text;
    if (&token == afterToken)
      sql += QStringLiteral(" rowid AS %1,").arg(QLatin1String(kRowIdColumn));
  }
  return sql;
}

}  // namespace

bool SqlToken::isWord(const char* upper) const {
  return kind == Word && text.compare(QLatin1String(upper), Qt::CaseInsensitive) == 0;
}

QList<SqlToken> tokenizeJet(const QString& sql) { return Lexer(sql).run(); }

QList<SqlToken> translateJetTokens(const QString& sql) {
  QList<SqlToken> tokens = tokenizeJet(sql);
  replaceBooleans(tokens);
  dropDeleteStar(tokens);
  return tokens;
}

QString joinTokens(const QList<SqlToken>& tokens) {
  QString sql;
  for (const SqlToken& token : tokens) sql += token.text;
  return sql;
}

QString leadingKeyword(const QList<SqlToken>& tokens) {
  for (const SqlToken& token : tokens) {
    if (token.kind == SqlToken::Word) return token.text.toUpper();
    if (token.kind != SqlToken::Space && !token.isSymbol('(')) return QString();
  }
  return QString();
}

int placeholderCount(const QList<SqlToken>& tokens) {
  int count = 0;
  for (const SqlToken& token : tokens)
    if (token.kind == SqlToken::Placeholder) ++count;
  return count;
}

SelectShape analyseSelect(const QList<SqlToken>& tokens) {
  const QList<const SqlToken*> s = significantTokens(tokens);
  if (s.isEmpty() || !s[0]->isWord("SELECT")) return {};
  qsizetype pos = 1;
  if (pos < s.size() && s[pos]->isWord("ALL")) ++pos;
  const SqlToken* lastOfHead = s[pos - 1];
  const qsizetype from = plainSelectList(s, pos);
  if (from < 0 || from + 1 >= s.size() || !isName(*s[from + 1])) return {};
  if (!plainTail(s, from + 2)) return {};
  SelectShape shape;
  shape.editable = true;
  shape.table = bareName(*s[from + 1]);
  shape.withRowId = insertRowId(tokens, lastOfHead);
  return shape;
}

QString quoteName(const QString& name) {
  QString escaped = name;
  escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + escaped + QLatin1Char('"');
}

void requireParameters(const QList<SqlToken>& tokens, qsizetype given) {
  const int expected = placeholderCount(tokens);
  if (expected == given) return;
  throw CDaoException(kJetTooFewParameters,
                      QStringLiteral("Expected %1 parameters, given %2: %3")
                          .arg(expected)
                          .arg(given)
                          .arg(joinTokens(tokens)));
}

void throwSqlError(const QSqlError& error, const QString& sql) {
  bool known = false;
  const int code = error.nativeErrorCode().toInt(&known);
  QString message = error.databaseText();
  if (message.isEmpty()) message = error.driverText();
  const long jetError = known ? jetErrorFromSqlite(code, message) : kJetOther;
  throw CDaoException(jetError, QStringLiteral("%1 [%2]").arg(message, sql), known ? code : 0);
}

}  // namespace hv6::dao

QString translateJetSql(const QString& sql) {
  return hv6::dao::joinTokens(hv6::dao::translateJetTokens(sql));
}
