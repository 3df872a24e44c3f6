#include "outside/dataconv6/dataconv.h"

#include "outside/dataconv6/backup.h"
#include "outside/dataconv6/upgrade.h"
#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"

#include <QDate>
#include <QFile>

namespace {

using hv6::dataconv::UpgradePlan;

// Looks without writing: opened read-only, so a current file keeps even
// its modification time.
bool isCurrent(const QString& path) {
  CDaoDatabase db;
  db.Open(path, false, true);
  return hv6::dataconv::planUpgrade(db).empty();
}

// Plans again under the write lock, since another program may have changed
// the file since it was looked at. A failure rolls everything back; the
// copy is then removed, unless the rollback itself failed.
void upgrade(const QString& path) {
  CDaoDatabase db;
  db.Open(path);
  const QString copy = hv6::dataconv::backupPathFor(path, QDate::currentDate());
  hv6::dataconv::writeBackup(db, copy);
  CDaoWorkspace& work = *db.m_pWorkspace;
  work.BeginTrans();
  try {
    const UpgradePlan plan = hv6::dataconv::planUpgrade(db);
    if (plan.empty()) {
      work.Rollback();
      QFile::remove(copy);
      return;
    }
    hv6::dataconv::applyUpgrade(db, plan);
    work.CommitTrans();
  } catch (const CDaoException&) {
    work.Rollback();
    QFile::remove(copy);
    throw;
  }
}

}  // namespace

bool CV6XDataConv::ConvV6toV6X(const QString& diaryPath, QWidget* parent) {
  try {
    if (isCurrent(diaryPath)) return true;
    upgrade(diaryPath);
    return true;
  } catch (const CDaoException& e) {
    if (parent) CErrMsg().DispDaoErr(e.errorCode(), parent);
    return false;
  }
}
