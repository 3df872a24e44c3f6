#pragma once
// Transactions of one database. DaoTransaction commits when asked and rolls
// back when it goes out of scope unfinished.

class CDaoDatabase;

class CDaoWorkspace {
 public:
  explicit CDaoWorkspace(CDaoDatabase* db) : db_(db) {}
  void BeginTrans();
  void CommitTrans();
  void Rollback();
  bool InTransaction() const { return depth_ > 0; }

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
