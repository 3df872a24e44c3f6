#pragma once
// Shared pieces of the database layer's tests: a fresh database file in a
// temporary environment, and the Jet error number a call throws.

#include "platform/dao/dao.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace hv6test {

// The Jet error number of the CDaoException that f throws, 0 when none.
template <typename F>
long jetErrorOf(F&& f) {
  try {
    f();
  } catch (const CDaoException& e) {
    return e.errorCode();
  }
  return 0;
}

class DaoTest : public ::testing::Test {
 protected:
  void SetUp() override { db.Create(dbPath()); }

  QString dbPath() const { return env.path(QStringLiteral("data.HV6")); }

  void reopen() {
    db.Close();
    db.Open(dbPath());
  }

  long countOf(const QString& sql, const QList<COleVariant>& params = {}) {
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, sql, params);
    return rs.GetRecordCount();
  }

  TestEnvironment env;
  CDaoDatabase db;
};

}  // namespace hv6test
