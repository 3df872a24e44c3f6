#include "platform/dao/database.h"

#include "platform/dao/columns.h"
#include "platform/dao/exception.h"
#include "platform/dao/jetsql.h"
#include "platform/dao/tabledef.h"
#include "platform/dao/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>
#include <atomic>

using hv6::dao::SqlToken;

namespace {

// Unique in the process even across copies of this layer: a tool library
// loaded at run time carries its own copy, with its own counter, and Qt's
// connection names are shared by the whole process (a name given twice
// drops the first connection). The counter's address tells the copies apart.
QString uniqueConnectionName() {
  static std::atomic<unsigned long> counter{0};
  return QStringLiteral("hv6-dao-%1-%2")
      .arg(reinterpret_cast<quintptr>(&counter), 0, 16)
      .arg(++counter);
}

// A file URI, so that SQLite's "mode" decides whether a file may be made.
QString fileUri(const QString& path, const char* mode) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  return QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=") +
         QLatin1String(mode);
}

void requireValidFolder(const QString& path) {
  if (path.isEmpty()) throw CDaoException(kJetInvalidPath, QStringLiteral("Invalid path ''"));
  const QFileInfo file(path);
  if (!file.absoluteDir().exists() || file.isDir())
    throw CDaoException(kJetInvalidPath, QStringLiteral("Invalid path '%1'").arg(path));
}

bool isSchemaChange(const QString& keyword) {
  return keyword == QLatin1String("CREATE") || keyword == QLatin1String("ALTER") ||
         keyword == QLatin1String("DROP");
}

bool changesRows(const QString& keyword) {
  return keyword == QLatin1String("INSERT") || keyword == QLatin1String("UPDATE") ||
         keyword == QLatin1String("DELETE") || keyword == QLatin1String("REPLACE");
}

}  // namespace

CDaoDatabase::CDaoDatabase()
    : m_pWorkspace(nullptr), workspace_(std::make_unique<CDaoWorkspace>(this)) {
  m_pWorkspace = workspace_.get();
}

CDaoDatabase::~CDaoDatabase() { Close(); }

void CDaoDatabase::Open(const QString& path, bool exclusive, bool readOnly, const QString& connect) {
  Q_UNUSED(connect);
  Close();
  requireValidFolder(path);
  if (!QFileInfo::exists(path))
    throw CDaoException(kJetFileNotFound, QStringLiteral("Could not find file '%1'").arg(path));
  openConnection(path, readOnly ? "ro" : "rw", readOnly);
  verifyDatabase();
  if (exclusive) takeExclusiveLock();
}

void CDaoDatabase::Create(const QString& path) {
  Close();
  requireValidFolder(path);
  if (QFileInfo::exists(path))
    throw CDaoException(kJetDatabaseExists, QStringLiteral("Database '%1' already exists").arg(path));
  openConnection(path, "rwc", false);
  try {
    // SQLite writes the file only with its first change.
    runSql(QStringLiteral("PRAGMA user_version = 0"));
  } catch (const CDaoException&) {
    dropConnection();
    throw;
  }
}

void CDaoDatabase::openConnection(const QString& path, const char* mode, bool readOnly) {
  connectionName_ = uniqueConnectionName();
  db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
  db_.setDatabaseName(fileUri(path, mode));
  QString options =
      QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout_);
  if (readOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
  db_.setConnectOptions(options);
  if (db_.open()) {
    path_ = path;
    readOnly_ = readOnly;
    return;
  }
  const QString reason = db_.lastError().text();
  dropConnection();
  throw CDaoException(kJetFileNotFound,
                      QStringLiteral("Could not open '%1': %2").arg(path, reason));
}

// SQLite opens lazily: the first read tells whether the file is a database.
void CDaoDatabase::verifyDatabase() {
  try {
    runSql(QStringLiteral("SELECT count(*) FROM sqlite_master"));
  } catch (const CDaoException& e) {
    dropConnection();
    if (e.errorCode() != kJetLocked) throw;
    throw CDaoException(kJetFileInUse, e.description(), e.sqliteCode());
  }
}

void CDaoDatabase::takeExclusiveLock() {
  try {
    runSql(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
    runSql(QStringLiteral("BEGIN EXCLUSIVE"));
    runSql(QStringLiteral("COMMIT"));
  } catch (const CDaoException& e) {
    dropConnection();
    if (e.errorCode() != kJetLocked) throw;
    throw CDaoException(kJetFileInUse, e.description(), e.sqliteCode());
  }
}

void CDaoDatabase::Close() {
  if (connectionName_.isEmpty()) return;
  workspace_->abandon();
  dropConnection();
}

void CDaoDatabase::dropConnection() {
  db_.close();
  db_ = QSqlDatabase();
  QSqlDatabase::removeDatabase(connectionName_);
  connectionName_.clear();
  path_.clear();
  readOnly_ = false;
  declaredTypes_.clear();
}

bool CDaoDatabase::IsOpen() const { return db_.isOpen(); }

QString CDaoDatabase::GetName() const { return path_; }

void CDaoDatabase::requireOpen() const {
  if (!IsOpen()) throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
}

void CDaoDatabase::Execute(const QString& sql, int options) { Execute(sql, {}, options); }

void CDaoDatabase::Execute(const QString& sql, const QList<COleVariant>& params, int options) {
  Q_UNUSED(options);
  requireOpen();
  const QList<SqlToken> tokens = hv6::dao::translateJetTokens(sql);
  const QString keyword = hv6::dao::leadingKeyword(tokens);
  if (keyword == QLatin1String("SELECT"))
    throw CDaoException(kJetCannotExecuteSelect, QStringLiteral("Cannot execute a select query"));
  hv6::dao::requireParameters(tokens, params.size());
  recordsAffected_ = 0;
  const QSqlQuery query = runSql(hv6::dao::joinTokens(tokens), params);
  if (changesRows(keyword)) recordsAffected_ = query.numRowsAffected();
  if (isSchemaChange(keyword)) forgetSchema();
}

QSqlQuery CDaoDatabase::runSql(const QString& sql, const QList<COleVariant>& params) {
  requireOpen();
  QSqlQuery query(db_);
  query.setForwardOnly(true);
  if (params.isEmpty()) {
    if (!query.exec(sql)) hv6::dao::throwSqlError(query.lastError(), sql);
    return query;
  }
  if (!query.prepare(sql)) hv6::dao::throwSqlError(query.lastError(), sql);
  for (const COleVariant& param : params) query.addBindValue(param.toQVariant());
  if (!query.exec()) hv6::dao::throwSqlError(query.lastError(), sql);
  return query;
}

namespace {

bool schemaHas(const QSqlDatabase& db, const QString& types, const QString& name) {
  QSqlQuery query(db);
  query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN (%1) AND name = ? COLLATE NOCASE")
                    .arg(types));
  query.addBindValue(name);
  return query.exec() && query.next();
}

}  // namespace

bool CDaoDatabase::tableExists(const QString& table) const {
  return IsOpen() && schemaHas(db_, QStringLiteral("'table', 'view'"), table);
}

bool CDaoDatabase::isTable(const QString& table) const {
  return IsOpen() && schemaHas(db_, QStringLiteral("'table'"), table);
}

void CDaoDatabase::setBusyTimeout(int milliseconds) {
  busyTimeout_ = milliseconds;
  if (IsOpen()) runSql(QStringLiteral("PRAGMA busy_timeout = %1").arg(milliseconds));
}

QSqlDatabase& CDaoDatabase::connection() { return db_; }

const QHash<QString, QString>& CDaoDatabase::tableTypes(const QString& table, bool reload) {
  const QString key = table.toLower();
  auto found = declaredTypes_.find(key);
  if (found != declaredTypes_.end() && !reload) return *found;
  QHash<QString, QString> types;
  QSqlQuery query = runSql(QStringLiteral("PRAGMA table_info(%1)").arg(hv6::dao::quoteName(table)));
  while (query.next()) types.insert(query.value(1).toString().toLower(), query.value(2).toString());
  return *declaredTypes_.insert(key, std::move(types));
}

QString CDaoDatabase::declaredType(const QString& table, const QString& column) {
  if (table.isEmpty()) return QString();
  const QString key = column.toLower();
  const auto& cached = tableTypes(table, false);
  const auto found = cached.find(key);
  if (found != cached.end()) return *found;
  // The table may have gained the column since it was read.
  return tableTypes(table, true).value(key);
}

QString jetDeclaredType(short daoType, long size) {
  switch (daoType) {
    case dbBoolean: return QStringLiteral("BOOLEAN");
    case dbByte: return QStringLiteral("TINYINT");
    case dbInteger: return QStringLiteral("SMALLINT");
    case dbLong: return QStringLiteral("INTEGER");
    case dbCurrency: return QStringLiteral("CURRENCY");
    case dbSingle: return QStringLiteral("FLOAT");
    case dbDouble: return QStringLiteral("DOUBLE");
    case dbDate: return QStringLiteral("DATETIME");
    case dbLongBinary: return QStringLiteral("BLOB");
    case dbMemo: return QStringLiteral("LONGTEXT");
    default: return QStringLiteral("VARCHAR(%1)").arg(size > 0 ? size : 255);
  }
}

short daoTypeOfDeclared(const QString& declaredType, long* size) {
  return hv6::dao::daoTypeOf(hv6::dao::columnKindOf(declaredType, size));
}
