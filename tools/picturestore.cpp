#include "tools/picturestore.h"

#include "outside/errtext6/errmsg.h"
#include "outside/vqbase106/vqdate.h"
#include "platform/dao/dao.h"
#include "store/dataset.h"

namespace hv6 {
namespace {

constexpr std::uint32_t kFirstMask = DS1_CODE;
constexpr std::uint32_t kSecondMask = 0x3FC;  // Path ... DispRate
const char* const kLevelColumns[] = {"Bright", "Contrast", "Sharp"};

long longOf(const DataSetValue& value) {
  const long* number = std::get_if<long>(&value);
  return number ? *number : 0;
}

QString textOf(const DataSetValue& value) {
  const QString* text = std::get_if<QString>(&value);
  return text ? *text : QString();
}

}  // namespace

std::optional<QList<PictureRecord>> readPictures(CDaoDatabase& db, long date) {
  const QString condition = date != 0 ? QStringLiteral("PhotoDate = ?") : QString();
  QList<COleVariant> params;
  if (date != 0) params << COleVariant(date);
  CDataSet set(&db, QStringLiteral("PictureLink"), kFirstMask, kSecondMask, condition, params);
  if (!set.IsLoaded()) return std::nullopt;
  QList<PictureRecord> records;
  records.reserve(set.GetCount());
  for (long row = 0; row < set.GetCount(); ++row) {
    PictureRecord record;
    record.code = longOf(set.GetValue(row, DS1_CODE));
    record.path = textOf(set.GetValue(row, 0, DS2_PATH));
    record.setDate(longOf(set.GetValue(row, 0, DS2_PHOTODATE)));
    record.title = textOf(set.GetValue(row, 0, DS2_TITLE));
    record.memo = textOf(set.GetValue(row, 0, DS2_MEMO));
    record.levels = {longOf(set.GetValue(row, 0, DS2_BRIGHT)),
                     longOf(set.GetValue(row, 0, DS2_CONTRAST)),
                     longOf(set.GetValue(row, 0, DS2_SHARP))};
    record.setStoredRate(longOf(set.GetValue(row, 0, DS2_DISPRATE)));
    records.append(record);
  }
  return records;
}

bool SavePicture(CDaoDatabase& db, bool insert, PictureRecord& record) {
  try {
    CDaoRecordset set(&db);
    if (insert) {
      set.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM PictureLink"), dbAppendOnly);
      set.AddNew();
    } else {
      set.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Picturelink WHERE Code = ?"),
               {COleVariant(record.code)});
      set.MoveFirst();
      set.Edit();
    }
    set.SetFieldValue(QStringLiteral("Path"), COleVariant(record.path));
    const long date = record.date();
    if (CVqdate::DateCheck(date) != 0) {
      set.CancelUpdate();
      CErrMsg().Disp(PhotoMsg::kBadDate, 1);
      return false;
    }
    set.SetFieldValue(QStringLiteral("PhotoDate"), COleVariant(date));
    set.SetFieldValue(QStringLiteral("Title"), COleVariant(record.title));
    set.SetFieldValue(QStringLiteral("Memo"), COleVariant(record.memo));
    for (std::size_t index = 0; index < 3; ++index)
      set.SetFieldValue(QString::fromLatin1(kLevelColumns[index]), COleVariant(record.levels[index]));
    if (record.rateSet)
      set.SetFieldValue(QStringLiteral("DispRate"), COleVariant(record.dispRate));
    else
      set.SetFieldValueNull(QStringLiteral("DispRate"));
    set.Update();
    if (insert) {
      set.SetBookmark(set.GetLastModifiedBookmark());
      record.code = set.GetFieldValue(QStringLiteral("Code")).toLong();
    }
    return true;
  } catch (const CDaoException&) {
    CErrMsg().Disp(PhotoMsg::kSaveFailed, 0);
    return false;
  }
}

bool DeletePicture(CDaoDatabase& db, long code) {
  try {
    CDaoRecordset set(&db);
    set.Open(dbOpenDynaset, QStringLiteral("SELECT * FROM Picturelink WHERE Code = ?"),
             {COleVariant(code)});
    set.MoveFirst();
    set.Delete();
    return true;
  } catch (const CDaoException&) {
    CErrMsg().Disp(PhotoMsg::kDeleteFailed, 0);
    return false;
  }
}

}  // namespace hv6
