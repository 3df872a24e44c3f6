#include "store/upgrade.h"

#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"
#include "platform/presenter.h"
#include "store/schema.h"

namespace hv6 {

namespace {

constexpr long kMsgReadFailed = 2039;
constexpr short kFirstUpgradeOrdinal = 20;
const QString kOptionTable = QStringLiteral("IWDryOption");

bool hasActiveCrop(CDaoDatabase& db) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM CropMst WHERE Use=0"));
  return !rs.IsEOF();
}

CDaoFieldInfo yesNoField(const QString& name, int number) {
  CDaoFieldInfo info;
  info.m_strName = name;
  info.m_nType = dbBoolean;
  info.m_lSize = 1;
  info.m_lAttributes = dbFixedField;
  info.m_nOrdinalPosition = static_cast<short>(kFirstUpgradeOrdinal + number);
  info.m_bRequired = false;
  info.m_bAllowZeroLength = false;
  info.m_lCollatingOrder = dbSortJapanese;
  info.m_strSourceTable = kOptionTable;
  info.m_strSourceField = name;
  info.m_strDefaultValue = QStringLiteral("False");
  return info;
}

// How many of the upgrade columns the table lacks.
int missingColumnCount(CDaoDatabase& db) {
  CDaoTableDef def(&db);
  def.Open(kOptionTable);
  int missing = 0;
  for (const QString& name : iwDryUpgradeColumns()) {
    CDaoFieldInfo existing;
    if (!def.GetFieldInfo(name, existing)) ++missing;
  }
  return missing;
}

// Creates the missing upgrade columns; the number created.
int addMissingColumns(CDaoDatabase& db) {
  CDaoTableDef def(&db);
  def.Open(kOptionTable);
  const QStringList names = iwDryUpgradeColumns();
  int created = 0;
  for (int i = 0; i < names.size(); ++i) {
    CDaoFieldInfo existing;
    if (def.GetFieldInfo(names[i], existing)) continue;
    def.CreateField(yesNoField(names[i], i));
    ++created;
  }
  return created;
}

}  // namespace

bool upgradeTo60501(CDaoDatabase& diary) {
  try {
    if (!hasActiveCrop(diary)) {
      showMessage(kNoActiveCropText, kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
      return false;
    }
    if (missingColumnCount(diary) == 0) return true;
    // The columns and the version change together or not at all: a version
    // left behind the columns would never be written by a later run. The
    // columns are looked up again under the write lock.
    DaoTransaction transaction(diary);
    if (addMissingColumns(diary) > 0)
      diary.Execute(
          QStringLiteral("UPDATE Information SET Dataversion = '%1'").arg(kDataVersion60501),
          dbFailOnError);
    transaction.commit();
    return true;
  } catch (const CDaoException&) {
    CErrMsg().Disp(kMsgReadFailed, 1);
    return false;
  }
}

}  // namespace hv6
