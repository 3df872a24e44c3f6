#pragma once
// Transactions of one database. DaoTransaction commits when asked and rolls
// back when it goes out of scope unfinished.
//
// The outer BeginTrans takes the write lock at once (BEGIN IMMEDIATE), so a
// busy database is waited for at the start rather than failing half way.
// Nested BeginTrans calls nest as in Jet: each is a savepoint that its own
// CommitTrans keeps and its own Rollback undoes; only the outer CommitTrans
// writes to the file. CommitTrans or Rollback without a transaction: 3034.
// A failed CommitTrans leaves the transaction open for Rollback. A rollback
// drops the cached column types, since it may undo schema changes.

class CDaoDatabase;

class CDaoWorkspace {
 public:
  explicit CDaoWorkspace(CDaoDatabase* db) : db_(db) {}
  void BeginTrans();
  void CommitTrans();
  void Rollback();
  bool InTransaction() const { return depth_ > 0; }
  int depth() const { return depth_; }
  // Whether SQLite still holds the transaction. After some failures (disk
  // full, I/O) SQLite rolls the whole transaction back by itself; later
  // statements would then write at once. When it is gone the workspace
  // forgets it and answers false. False without a transaction.
  bool TransactionHeld();
  // Rolls everything back without throwing (the database is closing).
  void abandon();

 private:
  CDaoDatabase* db_;
  int depth_ = 0;
};

class DaoTransaction {
 public:
  explicit DaoTransaction(CDaoDatabase& db);
  ~DaoTransaction();
  DaoTransaction(const DaoTransaction&) = delete;
  DaoTransaction& operator=(const DaoTransaction&) = delete;
  void commit();

 private:
  CDaoDatabase& db_;
  bool done_ = false;
};
