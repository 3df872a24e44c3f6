#pragma once
// The pieces of Jet SQL handling that the database, the recordset and the
// criteria evaluator share: a tokenizer that already turns Jet's own forms
// into SQLite's, and the shape of a SELECT.

#include <QDateTime>
#include <QList>
#include <QString>

class QSqlError;

namespace hv6::dao {

struct SqlToken {
  enum Kind { Space, Word, Number, String, Date, QuotedName, Placeholder, Symbol };
  Kind kind = Symbol;
  QString text;   // the token as SQLite reads it ('...' for strings and dates)
  QString value;  // strings: the text without quotes; names: the bare name
  QDateTime date; // dates: the literal's value

  bool isWord(const char* upper) const;
  bool isSymbol(char symbol) const { return kind == Symbol && text == QLatin1Char(symbol); }
};

// Splits Jet SQL into tokens. Double-quoted strings become single-quoted,
// #date# literals become the stored date text, [name] becomes "name".
// Throws CDaoException 3075 for an unterminated string or a bad date.
QList<SqlToken> tokenizeJet(const QString& sql);

// The tokens of a statement after translation (true/false as 1/0,
// "DELETE *" without the star).
QList<SqlToken> translateJetTokens(const QString& sql);
QString joinTokens(const QList<SqlToken>& tokens);

// The first word of the statement, upper case ("SELECT", "UPDATE", ...).
QString leadingKeyword(const QList<SqlToken>& tokens);
int placeholderCount(const QList<SqlToken>& tokens);

// A SELECT that names one table and only plain columns can be edited: its
// rows map one to one onto the table's rows.
struct SelectShape {
  bool editable = false;
  QString table;        // the table after FROM
  QString withRowId;    // the statement with "rowid AS __rowid__, " added
};
SelectShape analyseSelect(const QList<SqlToken>& tokens);

// The result column that carries the rowid of an editable set.
inline constexpr char kRowIdColumn[] = "__rowid__";

// "name" with embedded quotes doubled, for identifiers in generated SQL.
QString quoteName(const QString& name);

// Throws 3061 when the statement has another number of "?" than values.
void requireParameters(const QList<SqlToken>& tokens, qsizetype given);

// Throws the CDaoException of a failed QtSql call; sql goes into the
// description.
[[noreturn]] void throwSqlError(const QSqlError& error, const QString& sql);

}  // namespace hv6::dao
