#include "platform/dao/tabledef.h"

#include "platform/dao/columns.h"
#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/jetsql.h"

#include <QSqlQuery>
#include <initializer_list>

using hv6::dao::ColumnKind;

namespace {

[[noreturn]] void invalidDefault(const CDaoFieldInfo& info) {
  throw CDaoException(kJetSyntaxError, QStringLiteral("Invalid default value '%1' for column %2")
                                           .arg(info.m_strDefaultValue, info.m_strName));
}

bool isOneOf(const QString& text, std::initializer_list<const char*> words) {
  for (const char* word : words)
    if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return true;
  return false;
}

// The text between matching quotes, or the text itself.
QString unquoted(const QString& text) {
  if (text.size() < 2) return text;
  const QChar first = text.front();
  if ((first != QLatin1Char('"') && first != QLatin1Char('\'')) || text.back() != first) return text;
  QString inner = text.mid(1, text.size() - 2);
  inner.replace(QString(2, first), QString(first));
  return inner;
}

QString sqlText(const QString& text) {
  QString escaped = text;
  escaped.replace(QLatin1Char('\''), QLatin1String("''"));
  return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// Jet's default value as an SQLite literal: never spliced as it is.
QString defaultLiteral(const CDaoFieldInfo& info) {
  const QString text = info.m_strDefaultValue.trimmed();
  switch (hv6::dao::columnKindOfDaoType(info.m_nType)) {
    case ColumnKind::Boolean:
      if (isOneOf(text, {"true", "yes", "on", "-1", "1"})) return QStringLiteral("1");
      if (isOneOf(text, {"false", "no", "off", "0"})) return QStringLiteral("0");
      invalidDefault(info);
    case ColumnKind::Long:
    case ColumnKind::Short:
    case ColumnKind::Byte:
    case ColumnKind::Double:
    case ColumnKind::Single:
    case ColumnKind::Currency: {
      bool ok = false;
      const double number = text.toDouble(&ok);
      if (!ok) invalidDefault(info);
      return QString::number(number, 'g', 17);
    }
    case ColumnKind::Date: {
      QString body = text;
      if (body.startsWith(QLatin1Char('#')) && body.endsWith(QLatin1Char('#')) && body.size() > 1)
        body = body.mid(1, body.size() - 2);
      const QDateTime date = parseDateText(unquoted(body));
      if (!date.isValid()) invalidDefault(info);
      return sqlText(storedDateText(date));
    }
    case ColumnKind::Text:
    case ColumnKind::Memo: return sqlText(unquoted(text));
    default: invalidDefault(info);
  }
}

long attributesOf(short daoType, bool autoNumber) {
  if (autoNumber) return dbFixedField | dbAutoIncrField;
  const bool variable = daoType == dbText || daoType == dbMemo || daoType == dbLongBinary;
  return (variable ? dbVariableField : dbFixedField) | dbUpdatableField;
}

}  // namespace

CDaoTableDef::CDaoTableDef(CDaoDatabase* db) : db_(db) {}

CDaoTableDef::~CDaoTableDef() = default;

void CDaoTableDef::Open(const QString& table) {
  Close();
  if (!db_ || !db_->IsOpen()) throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
  if (!db_->tableExists(table))
    throw CDaoException(kJetNoSuchTable, QStringLiteral("Cannot find the table '%1'").arg(table));
  table_ = table;
  reload();
  open_ = true;
}

void CDaoTableDef::Close() {
  open_ = false;
  table_.clear();
  columns_.clear();
}

short CDaoTableDef::GetFieldCount() const { return static_cast<short>(columns_.size()); }

void CDaoTableDef::GetFieldInfo(int index, CDaoFieldInfo& info) const {
  if (index < 0 || index >= columns_.size())
    throw CDaoException(kJetNoSuchColumn, QStringLiteral("No field %1 in %2").arg(index).arg(table_));
  info = columns_[index].info;
}

bool CDaoTableDef::GetFieldInfo(const QString& name, CDaoFieldInfo& info) const {
  for (const Column& column : columns_) {
    if (column.info.m_strName.compare(name, Qt::CaseInsensitive) != 0) continue;
    info = column.info;
    return true;
  }
  return false;
}

// Adds the column at the end of the table; SQLite cannot place it at the
// ordinal position asked for, and keeps no collating order or source names.
void CDaoTableDef::CreateField(const CDaoFieldInfo& info) {
  if (!open_) throw CDaoException(kJetNotOpen, QStringLiteral("The table definition is not open"));
  if (info.m_strName.trimmed().isEmpty())
    throw CDaoException(kJetSyntaxError, QStringLiteral("A field needs a name"));
  CDaoFieldInfo existing;
  if (GetFieldInfo(info.m_strName, existing))
    throw CDaoException(kJetDuplicateField,
                        QStringLiteral("Field %1 already exists in %2").arg(info.m_strName, table_));
  QString sql = QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                    .arg(hv6::dao::quoteName(table_), hv6::dao::quoteName(info.m_strName),
                         jetDeclaredType(info.m_nType, info.m_lSize));
  if (info.m_bRequired) sql += QStringLiteral(" NOT NULL");
  if (!info.m_strDefaultValue.trimmed().isEmpty()) sql += QStringLiteral(" DEFAULT ") + defaultLiteral(info);
  db_->runSql(sql);
  db_->forgetSchema();
  reload();
}

void CDaoTableDef::reload() {
  columns_.clear();
  QSqlQuery query = db_->runSql(QStringLiteral("PRAGMA table_info(%1)").arg(hv6::dao::quoteName(table_)));
  int keyColumns = 0;
  int keyIndex = -1;
  while (query.next()) {
    Column column;
    CDaoFieldInfo& info = column.info;
    info.m_strName = query.value(1).toString();
    info.m_nType = daoTypeOfDeclared(query.value(2).toString(), &info.m_lSize);
    info.m_bRequired = query.value(3).toInt() != 0;
    info.m_strDefaultValue = query.isNull(4) ? QString() : query.value(4).toString();
    info.m_nOrdinalPosition = static_cast<short>(query.value(0).toInt());
    info.m_bAllowZeroLength = info.m_nType == dbText || info.m_nType == dbMemo;
    info.m_strSourceTable = table_;
    info.m_strSourceField = info.m_strName;
    if (query.value(5).toInt() > 0) {
      ++keyColumns;
      keyIndex = static_cast<int>(columns_.size());
    }
    columns_.append(column);
  }
  // A lone INTEGER PRIMARY KEY is the rowid: Jet's AutoNumber.
  for (int i = 0; i < columns_.size(); ++i) {
    CDaoFieldInfo& info = columns_[i].info;
    const bool autoNumber = keyColumns == 1 && i == keyIndex && info.m_nType == dbLong;
    info.m_lAttributes = attributesOf(info.m_nType, autoNumber);
  }
}
