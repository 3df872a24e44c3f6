#include "platform/dao/querydef.h"

#include "platform/dao/database.h"
#include "platform/dao/exception.h"
#include "platform/dao/jetsql.h"

#include <QSqlError>
#include <QSqlQuery>

struct CDaoQueryDef::Impl {
  QString jetSql;
  QString keyword;  // the statement's first word, upper case
  QSqlQuery query;
  QList<COleVariant> params;
  // Values not yet handed to the statement; the statement keeps the others
  // from run to run.
  QList<bool> unbound;
  bool open = false;
};

CDaoQueryDef::CDaoQueryDef(CDaoDatabase* db) : m_pDatabase(db), d(std::make_unique<Impl>()) {}

CDaoQueryDef::~CDaoQueryDef() = default;

void CDaoQueryDef::Create(const QString& name, const QString& sql) {
  Close();
  if (!name.isEmpty())
    throw CDaoException(kJetInvalidArgument,
                        QStringLiteral("Stored query definitions are not kept: %1").arg(name));
  if (!m_pDatabase || !m_pDatabase->IsOpen())
    throw CDaoException(kJetNotOpen, QStringLiteral("The database is not open"));
  const QList<hv6::dao::SqlToken> tokens = hv6::dao::translateJetTokens(sql);
  const QString statement = hv6::dao::joinTokens(tokens);
  QSqlQuery query(m_pDatabase->connection());
  query.setForwardOnly(true);
  if (!query.prepare(statement)) hv6::dao::throwSqlError(query.lastError(), statement);
  d->jetSql = sql;
  d->keyword = hv6::dao::leadingKeyword(tokens);
  d->query = std::move(query);
  d->params = QList<COleVariant>(hv6::dao::placeholderCount(tokens));
  d->unbound = QList<bool>(d->params.size(), true);
  d->open = true;
}

void CDaoQueryDef::Close() {
  *d = Impl();
  recordsAffected_ = 0;
}

bool CDaoQueryDef::IsOpen() const { return d->open; }

QString CDaoQueryDef::GetSQL() const { return d->jetSql; }

short CDaoQueryDef::GetParameterCount() const { return static_cast<short>(d->params.size()); }

void CDaoQueryDef::requireOpen() const {
  if (!d->open || !m_pDatabase || !m_pDatabase->IsOpen())
    throw CDaoException(kJetNotOpen, QStringLiteral("The query definition is not open"));
}

void CDaoQueryDef::SetParamValue(int index, const COleVariant& value) {
  requireOpen();
  if (index < 0 || index >= d->params.size())
    throw CDaoException(kJetNoSuchColumn,
                        QStringLiteral("Item not found in this collection: parameter %1").arg(index));
  if (d->unbound[index] || !(d->params[index] == value)) {
    d->params[index] = value;
    d->unbound[index] = true;
  }
}

COleVariant CDaoQueryDef::GetParamValue(int index) const {
  requireOpen();
  if (index < 0 || index >= d->params.size())
    throw CDaoException(kJetNoSuchColumn,
                        QStringLiteral("Item not found in this collection: parameter %1").arg(index));
  return d->params[index];
}

QSqlQuery& CDaoQueryDef::run() {
  requireOpen();
  QSqlQuery& query = d->query;
  query.finish();
  for (int i = 0; i < d->params.size(); ++i) {
    if (!d->unbound[i]) continue;
    query.bindValue(i, d->params[i].toQVariant());
    d->unbound[i] = false;
  }
  if (!query.exec()) hv6::dao::throwSqlError(query.lastError(), query.lastQuery());
  return query;
}

void CDaoQueryDef::Execute(int options) {
  Q_UNUSED(options);
  requireOpen();
  if (d->keyword == QLatin1String("SELECT"))
    throw CDaoException(kJetCannotExecuteSelect, QStringLiteral("Cannot execute a select query"));
  recordsAffected_ = 0;
  QSqlQuery& query = run();
  recordsAffected_ = query.numRowsAffected();
  query.finish();
  if (d->keyword == QLatin1String("CREATE") || d->keyword == QLatin1String("ALTER") ||
      d->keyword == QLatin1String("DROP"))
    m_pDatabase->forgetSchema();
}
