#include "platform/dao/workspace.h"

#include "platform/dao/database.h"
#include "platform/dao/exception.h"

namespace {

QString savepointName(int level) { return QStringLiteral("hv6_level_%1").arg(level); }

void requireTransaction(int depth) {
  if (depth > 0) return;
  throw CDaoException(kJetNoTransaction,
                      QStringLiteral("Commit or rollback without a transaction"));
}

}  // namespace

void CDaoWorkspace::BeginTrans() {
  if (depth_ == 0)
    db_->runSql(db_->isReadOnly() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
  else
    db_->runSql(QStringLiteral("SAVEPOINT ") + savepointName(depth_));
  ++depth_;
}

void CDaoWorkspace::CommitTrans() {
  requireTransaction(depth_);
  if (depth_ == 1)
    db_->runSql(QStringLiteral("COMMIT"));
  else
    db_->runSql(QStringLiteral("RELEASE ") + savepointName(depth_ - 1));
  --depth_;
}

void CDaoWorkspace::Rollback() {
  requireTransaction(depth_);
  --depth_;
  // An undone schema change must not leave its column types cached.
  db_->forgetSchema();
  if (depth_ > 0) {
    const QString name = savepointName(depth_);
    db_->runSql(QStringLiteral("ROLLBACK TO ") + name);
    db_->runSql(QStringLiteral("RELEASE ") + name);
    return;
  }
  try {
    db_->runSql(QStringLiteral("ROLLBACK"));
  } catch (const CDaoException& e) {
    // SQLite has already rolled back after some failures (disk full, I/O).
    if (!e.description().contains(QLatin1String("no transaction is active"))) throw;
  }
}

// BEGIN fails inside a transaction and starts one outside; the one it
// starts is undone at once.
bool CDaoWorkspace::TransactionHeld() {
  if (depth_ == 0) return false;
  try {
    db_->runSql(QStringLiteral("BEGIN"));
  } catch (const CDaoException& e) {
    if (e.description().contains(QLatin1String("within a transaction"))) return true;
    throw;
  }
  depth_ = 0;
  db_->runSql(QStringLiteral("ROLLBACK"));
  return false;
}

void CDaoWorkspace::abandon() {
  if (depth_ == 0) return;
  depth_ = 0;
  db_->forgetSchema();
  try {
    db_->runSql(QStringLiteral("ROLLBACK"));
  } catch (const CDaoException&) {
    // Nothing left to undo.
  }
}

DaoTransaction::DaoTransaction(CDaoDatabase& db) : db_(db) { db_.m_pWorkspace->BeginTrans(); }

DaoTransaction::~DaoTransaction() {
  if (done_) return;
  try {
    db_.m_pWorkspace->Rollback();
  } catch (const CDaoException&) {
    // A destructor must not throw; the database keeps what SQLite kept.
  }
}

void DaoTransaction::commit() {
  if (done_) return;
  db_.m_pWorkspace->CommitTrans();
  done_ = true;
}
