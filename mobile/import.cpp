#include "mobile/import.h"

#include "mobile/fields.h"
#include "mobile/fileerror.h"
#include "mobile/importlog.h"
#include "outside/errtext6/errmsg.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/file_io.h"
#include "platform/presenter.h"
#include "store/schema.h"

#include <QHash>

#include <array>
#include <memory>
#include <new>
#include <optional>

namespace hv6 {
namespace {

using mobile::kFieldCount;
using mobile::kMaterialField;

const QString kCannotAppend = QStringLiteral("DBに追加できない");
const QString kDiaryTable = QStringLiteral("WDiary");
constexpr long kMsgReadFailed = 2039;
constexpr long kMsgDiskFull = 2160;
constexpr long kMsgNoMemory = 2036;

void showDatabaseFailure(const CDaoException& e) {
  CErrMsg().Disp(e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgReadFailed, 1);
}

// Scode -> Code of the master tables, each read once per run, inside the
// run's transaction, so no other program changes them meanwhile. Nothing
// of the received text reaches the SQL.
class MasterCodes {
 public:
  explicit MasterCodes(CDaoDatabase& db) : db_(db) {}

  // The Code of the table's first row with this Scode; nullopt when there
  // is none or the table cannot be read (2039, shown once per table).
  std::optional<long> codeOf(const QString& table, long scode) {
    const Table& codes = tableOf(table);
    const auto found = codes.codes.constFind(scode);
    if (found == codes.codes.constEnd()) return std::nullopt;
    return *found;
  }

 private:
  struct Table {
    QHash<long, long> codes;
  };

  const Table& tableOf(const QString& name) {
    const auto found = tables_.constFind(name);
    if (found != tables_.constEnd()) return *found;
    Table table;
    try {
      CDaoRecordset rows(&db_);
      rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Code, Scode FROM %1 ORDER BY Code").arg(name),
                dbReadOnly);
      for (; !rows.IsEOF(); rows.MoveNext()) {
        long code = 0;
        long scode = 0;
        if (!rows.GetFieldValue(1).tryLong(scode) || table.codes.contains(scode)) continue;
        if (rows.GetFieldValue(0).tryLong(code)) table.codes.insert(scode, code);
      }
    } catch (const CDaoException&) {
      table.codes.clear();
      CErrMsg().Disp(kMsgReadFailed, 1);
    }
    return *tables_.insert(name, std::move(table));
  }

  CDaoDatabase& db_;
  QHash<QString, Table> tables_;
};

// One record line converted: values by field number (index 0 unused).
struct Record {
  std::array<COleVariant, kFieldCount + 1> values;
  QList<int> failed;
  int category = 0;
};

enum class Lookup { Unique, Duplicate, Failed };

// The columns one INSERT fills, fields 1..21 first, then the six material
// code columns, Quantity and the six texts.
QStringList insertColumns() {
  QStringList columns;
  for (int field = 1; field < kMaterialField; ++field) columns.append(mobile::fieldColumn(field, 0));
  for (int category = 0; category <= 5; ++category) columns.append(materialCodeColumn(category));
  for (int field = kMaterialField + 1; field <= kFieldCount; ++field)
    columns.append(mobile::fieldColumn(field, 0));
  return columns;
}

// The place of field k's value among insertColumns().
int insertIndex(int field, int category) {
  if (field < kMaterialField) return field - 1;
  if (field == kMaterialField) return kMaterialField - 1 + category;
  return field + 4;
}

class Run {
 public:
  Run(CDaoDatabase& diary, MobileImportLog& log, const std::function<void(int)>& progress)
      : diary_(diary), log_(log), progress_(progress), masters_(diary) {}

  MobileImportResult execute(const QList<QByteArray>& lines);

 private:
  bool canAppend();
  Record convert(const QByteArray& bytes, const QString& line, bool decoded);
  Lookup findDuplicate(const Record& record);
  void store(const Record& record);
  void report(int percent) {
    if (progress_) progress_(percent);
  }

  CDaoDatabase& diary_;
  MobileImportLog& log_;
  const std::function<void(int)>& progress_;
  MasterCodes masters_;
  // The INSERT by the set of columns it fills (bit i: insertColumns()[i]).
  QHash<quint64, std::shared_ptr<CDaoQueryDef>> inserts_;
  // The duplicate query by material category (-1: no material).
  QHash<int, std::shared_ptr<CDaoQueryDef>> duplicateQueries_;
  MobileImportResult result_;
};

// A line whose bytes do not all decode is cut as bytes; a field with bytes
// that are no character fails.
Record Run::convert(const QByteArray& bytes, const QString& line, bool decoded) {
  Record record;
  QStringList texts;
  QList<bool> readable(kFieldCount, true);
  if (decoded) {
    texts = mobile::cutRecordFields(line);
  } else {
    const QList<QByteArray> pieces = mobile::cutRecordFields(QByteArrayView(bytes));
    for (int i = 0; i < kFieldCount; ++i) {
      bool valid = false;
      texts.append(cp932::decode(pieces[i], &valid));
      readable[i] = valid;
    }
  }
  for (int field = 1; field <= kFieldCount; ++field) {
    const QString& text = texts[field - 1];
    std::optional<COleVariant> value;
    if (!readable[field - 1]) {
      // A field of bytes that are no text fails; the category becomes
      // unknown when it is the material category.
      if (field == mobile::kMaterialKindField) record.category = -1;
    } else if (!mobile::isCodeField(field)) {
      value = mobile::convertField(field, text, record.category);
    } else if (mobile::isAbsent(text)) {
      value = COleVariant();
    } else {
      const QString table = mobile::masterTable(field, record.category);
      const auto scode = mobile::userNumberOf(text);
      if (!table.isEmpty() && scode) {
        if (const auto code = masters_.codeOf(table, *scode)) value = COleVariant(*code);
      }
    }
    if (value)
      record.values[field] = *value;
    else
      record.failed.append(field);
  }
  return record;
}

// Whether WDiary can be appended to, asked as the diary's recordset does.
bool Run::canAppend() {
  try {
    CDaoRecordset rows(&diary_);
    rows.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM WDiary"), dbAppendOnly);
    return rows.CanUpdate();
  } catch (const CDaoException&) {
    return false;
  }
}

// Without a day the duplicate query cannot run.
Lookup Run::findDuplicate(const Record& record) {
  if (record.values[1].isNull()) return Lookup::Failed;
  const bool material = !record.values[kMaterialField].isNull();
  const int variant = material ? record.category : -1;
  try {
    std::shared_ptr<CDaoQueryDef>& query = duplicateQueries_[variant];
    if (!query) {
      auto created = std::make_shared<CDaoQueryDef>(&diary_);
      created->Create(QString(), mobile::duplicateQuery(variant));
      query = created;
    }
    for (int field = 1; field <= 6; ++field) query->SetParamValue(field - 1, record.values[field]);
    if (material) {
      query->SetParamValue(6, COleVariant(static_cast<long>(record.category)));
      query->SetParamValue(7, record.values[kMaterialField]);
    }
    CDaoRecordset found(&diary_);
    found.Open(query.get(), dbOpenSnapshot, dbReadOnly);
    return found.IsEOF() ? Lookup::Unique : Lookup::Duplicate;
  } catch (const CDaoException&) {
    duplicateQueries_.remove(variant);
    return Lookup::Failed;
  }
}

// One INSERT of the columns that have a value: the row is stored whole or
// not at all. Rows mostly fill the same columns, so few statements are
// prepared.
void Run::store(const Record& record) {
  std::array<const COleVariant*, 64> values{};
  quint64 columns = 0;
  for (int field = 1; field <= kFieldCount; ++field) {
    if (record.values[field].isNull()) continue;
    const int index = insertIndex(field, record.category);
    columns |= quint64{1} << index;
    values[index] = &record.values[field];
  }
  std::shared_ptr<CDaoQueryDef>& insert = inserts_[columns];
  if (!insert) {
    const QStringList all = insertColumns();
    QStringList names;
    QStringList marks;
    for (int i = 0; i < all.size(); ++i) {
      if ((columns >> i & 1) == 0) continue;
      names.append(all[i]);
      marks.append(QStringLiteral("?"));
    }
    auto created = std::make_shared<CDaoQueryDef>(&diary_);
    created->Create(QString(), names.isEmpty()
                                   ? QStringLiteral("INSERT INTO WDiary DEFAULT VALUES")
                                   : QStringLiteral("INSERT INTO WDiary (%1) VALUES (%2)")
                                         .arg(names.join(QStringLiteral(", ")),
                                              marks.join(QStringLiteral(", "))));
    insert = created;
  }
  int param = 0;
  for (const COleVariant* value : values)
    if (value) insert->SetParamValue(param++, *value);
  insert->Execute(dbFailOnError);
}

MobileImportResult Run::execute(const QList<QByteArray>& lines) {
  const QString first = lines.isEmpty() ? QString() : cp932::decode(lines.first());
  bool counted = false;
  const long count = first.section(QLatin1Char(','), 0, 0).trimmed().toLong(&counted);
  const long n = counted ? count : 0;

  std::optional<bool> appendable;
  std::optional<DaoTransaction> transaction;
  bool stopped = false;
  for (long i = 0; i < n; ++i) {
    // A count above the lines sent: the missing lines are not there to store.
    if (i + 1 >= lines.size()) break;
    QByteArray bytes = lines[i + 1];
    if (bytes.endsWith('\r')) bytes.chop(1);
    bool decoded = false;
    const QString line = cp932::decode(bytes, &decoded);
    if (line.trimmed().isEmpty()) continue;
    if (!appendable) appendable = canAppend();
    if (!*appendable) {
      showMessage(kCannotAppend, kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
      stopped = true;
      break;
    }
    try {
      if (!transaction) {
        transaction.emplace(diary_);
        // Data folders made before the index existed get it here; without
        // it the check only runs slower, so a failure is no reason to stop.
        try {
          createMissingDiaryIndexes(diary_, kDiaryTable);
        } catch (const CDaoException&) {
        }
      }
      const Record record = convert(bytes, line, decoded);
      report(static_cast<int>(static_cast<long long>(i) * 80 / n + 10));
      if (!record.failed.isEmpty()) {
        log_.write(line, MobileImportLog::Mode::Rejected, record.failed, record.category);
        ++result_.rejected;
        continue;
      }
      const Lookup lookup = findDuplicate(record);
      if (lookup == Lookup::Failed) {
        log_.write(line, MobileImportLog::Mode::Rejected, {}, record.category);
        ++result_.rejected;
      } else if (lookup == Lookup::Duplicate) {
        log_.write(line, MobileImportLog::Mode::Duplicate, {}, record.category);
        ++result_.duplicates;
      } else {
        store(record);
        ++result_.stored;
      }
    } catch (const CDaoException& e) {
      showDatabaseFailure(e);
      // The transaction rolls back: nothing of this run stays stored.
      result_.stored = 0;
      return result_;
    }
  }
  duplicateQueries_.clear();
  inserts_.clear();
  if (transaction) {
    try {
      transaction->commit();
    } catch (const CDaoException& e) {
      showDatabaseFailure(e);
      result_.stored = 0;
      return result_;
    }
  }
  result_.success = !stopped && !log_.hasFailed();
  return result_;
}

}  // namespace

MobileImportResult importMobileRecords(CDaoDatabase& diary, const QString& tempFile,
                                       const QString& logFile, const QStringList& materialNames,
                                       std::function<void(int)> progress) {
  MobileImportResult result;
  const fileio::ReadResult file = fileio::readFile(tempFile);
  if (!file.ok || !file.stamp.exists) {
    showFileError(tempFile, file.ok ? fileio::FileCause::FileNotFound : file.cause);
  } else {
    try {
      MobileImportLog log(logFile, materialNames);
      Run run(diary, log, progress);
      result = run.execute(file.bytes.split('\n'));
    } catch (const std::bad_alloc&) {
      CErrMsg().Disp(kMsgNoMemory, 1);
      result = MobileImportResult();
    }
  }
  if (progress) progress(90);
  return result;
}

QStringList readMaterialNames(CDaoDatabase& diary) {
  CDaoRecordset row(&diary);
  row.Open(dbOpenSnapshot,
           QStringLiteral("SELECT Mte1Name, Mte2Name, Mte3Name, Mte4Name, Mte5Name FROM Information"),
           dbReadOnly);
  QStringList names;
  for (int i = 0; i < 5; ++i) names.append(row.IsEOF() ? QString() : row.GetFieldValue(i).toString());
  return names;
}

}  // namespace hv6
