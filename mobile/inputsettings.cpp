#include "mobile/inputsettings.h"

#include "outside/errtext6/errmsg.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/presenter.h"

#include <QHash>

#include <new>

namespace hv6::mobile {
namespace {

constexpr long kMsgLoadFailed = 2017;
constexpr long kMsgNoMemory = 2036;
constexpr long kMsgUpdateFailed = 2041;
constexpr long kMsgDiskFull = 2160;

constexpr const char* kItemColumns[kItemCount] = {
    "Day",          "Work",         "Field",          "Farmer",
    "Machine",      "WorkFactTime", "RestFactTime",   "WorkStartEndTime",
    "RestStartEndTime", "McnFactTime", "MRestFactTime", "McnStartEndTime",
    "MRestStartEndTime", "TotalArea", "LightOil",      "Shizai",
    "Quantity",     "Dilute",       "Vermin",         "Scatter",
    "ReserveItem1", "ReserveItem2", "ReserveItem3",
};

constexpr const char16_t* kItemLabels[kFixedItemCount] = {
    u"日付",     u"作業",         u"ほ場",           u"作業者",
    u"機械",     u"労働正味時間", u"休憩正味時間",   u"労働開始・終了時間",
    u"休憩開始・終了時間", u"機械稼働正味時間", u"機械休止正味時間",
    u"機械稼働開始・終了時間", u"機械休止開始・終了時間", u"延作業面積",
    u"免税軽油消費量", u"資材", u"資材投下量", u"希釈倍率", u"対象病害虫",
    u"単位当り散布量",
};

// What each ledger reads besides Code, Scode, Name, IName and IUse.
struct LedgerKind {
  const char* table;
  const char16_t* name;  // null for the material ledgers (named by Information)
  bool crop;             // CropCode
  bool months;           // StartMonth, EndMonth
  bool area;             // SakuArea, AreaUnit
  bool unit;             // Unit
  bool texts;            // Dilute, Vermin, ReserveItem1-3
};

constexpr LedgerKind kLedgers[kLedgerCount] = {
    {"CropMst", u"品目台帳", false, true, false, false, false},
    {"JobMst", u"作業台帳", true, true, false, false, false},
    {"FieldMst", u"ほ場台帳", true, false, true, false, false},
    {"FarmerMst", u"作業者台帳", false, false, false, false, false},
    {"MachineMst", u"機械台帳", true, true, false, false, false},
    {"FertilizerMst", u"肥料台帳", true, false, false, true, false},
    {"MaterialMst1", nullptr, true, false, false, true, true},
    {"MaterialMst2", nullptr, true, false, false, true, true},
    {"MaterialMst3", nullptr, true, false, false, true, true},
    {"MaterialMst4", nullptr, true, false, false, true, true},
    {"MaterialMst5", nullptr, true, false, false, true, true},
};

const LedgerKind& kindOf(int ledger) { return kLedgers[ledger - 1]; }

QString textOf(const CDaoRecordset& rs, const QString& column) {
  const COleVariant value = rs.GetFieldValue(column);
  return value.isNull() ? QString() : value.toString();
}

long longOf(const CDaoRecordset& rs, const QString& column) {
  long value = 0;
  return rs.GetFieldValue(column).tryLong(value) ? value : 0;
}

// Code -> Scode of every crop; a lookup that cannot be read gives no
// crop numbers (each row then has 0).
QHash<long, long> cropNumbers(CDaoDatabase& db) {
  QHash<long, long> numbers;
  try {
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT Code, Scode FROM CropMst ORDER BY Code"));
    for (; !rs.IsEOF(); rs.MoveNext()) {
      const long code = longOf(rs, QStringLiteral("Code"));
      if (!numbers.contains(code)) numbers.insert(code, longOf(rs, QStringLiteral("Scode")));
    }
  } catch (const CDaoException&) {
    numbers.clear();
  }
  return numbers;
}

// SCode -> Name of every unit (the first row of a number); empty when
// the table cannot be read.
QHash<long, QString> unitNames(CDaoDatabase& db) {
  QHash<long, QString> names;
  try {
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT SCode, Name FROM UnitMst ORDER BY Code"));
    for (; !rs.IsEOF(); rs.MoveNext()) {
      const long scode = longOf(rs, QStringLiteral("SCode"));
      if (!names.contains(scode)) names.insert(scode, textOf(rs, QStringLiteral("Name")));
    }
  } catch (const CDaoException&) {
    names.clear();
  }
  return names;
}

QList<LedgerRow> loadRows(CDaoDatabase& db, int ledger, const QHash<long, long>& crops,
                          const QHash<long, QString>& units) {
  const LedgerKind& kind = kindOf(ledger);
  QList<LedgerRow> rows;
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM %1 WHERE Use=0 ORDER BY Scode ASC")
                              .arg(QString::fromLatin1(kind.table)));
  for (; !rs.IsEOF(); rs.MoveNext()) {
    LedgerRow row;
    row.code = longOf(rs, QStringLiteral("Code"));
    row.scode = longOf(rs, QStringLiteral("Scode"));
    row.name = textOf(rs, QStringLiteral("Name"));
    const COleVariant iname = rs.GetFieldValue(QStringLiteral("IName"));
    row.mobileName = mobileNameOf(iname.isNull() ? row.name : iname.toString());
    row.use = rs.GetFieldValue(QStringLiteral("IUse")).toBool();
    if (kind.crop) {
      long cropCode = 0;
      if (rs.GetFieldValue(QStringLiteral("CropCode")).tryLong(cropCode))
        row.cropNumber = crops.value(cropCode, 0);
    }
    if (kind.months) {
      row.startMonth = longOf(rs, QStringLiteral("StartMonth"));
      row.endMonth = longOf(rs, QStringLiteral("EndMonth"));
    }
    long unit = 0;
    if (kind.area) {
      double area = 0.0;
      if (rs.GetFieldValue(QStringLiteral("SakuArea")).tryDouble(area)) row.area = area;
      if (rs.GetFieldValue(QStringLiteral("AreaUnit")).tryLong(unit)) row.unitName = units.value(unit);
    }
    if (kind.unit && rs.GetFieldValue(QStringLiteral("Unit")).tryLong(unit))
      row.unitName = units.value(unit);
    if (kind.texts) {
      row.dilute = textOf(rs, QStringLiteral("Dilute"));
      row.vermin = textOf(rs, QStringLiteral("Vermin"));
      for (int i = 0; i < 3; ++i)
        row.reserve[static_cast<std::size_t>(i)] = textOf(rs, QStringLiteral("ReserveItem%1").arg(i + 1));
    }
    rows.append(row);
  }
  return rows;
}

bool anyUsed(const QList<LedgerRow>& rows) {
  for (const LedgerRow& row : rows)
    if (row.use) return true;
  return false;
}

bool anyMaterialRows(const InputSettings& settings) {
  for (int ledger = kFertilizerLedger; ledger <= kLedgerCount; ++ledger)
    if (!settings.rows(ledger).isEmpty()) return true;
  return false;
}

bool anyMaterialUsed(const InputSettings& settings) {
  for (int ledger = kFertilizerLedger; ledger <= kLedgerCount; ++ledger)
    if (anyUsed(settings.rows(ledger))) return true;
  return false;
}

void inform(const QString& text) {
  showMessage(text, kHrvCaption, MsgButtons::Ok, MsgIcon::Information);
}

bool askYes(const QString& text) {
  return showMessage(text, kHrvCaption, MsgButtons::YesNo, MsgIcon::Information) == MsgAnswer::Yes;
}

QByteArray encoded(const QString& text, int maxBytes) {
  return cp932::cut(cp932::encode(text), maxBytes);
}

QByteArray quoted(const QString& text) { return '"' + encoded(text, kTextBytes) + "\","; }

// A number, or an empty value for 0 (none, Null or not read).
QByteArray numberOrEmpty(long value) {
  return (value != 0 ? QByteArray::number(static_cast<qlonglong>(value)) : QByteArray()) + ',';
}

bool rowSendable(const LedgerRow& row) {
  for (const QString& text : {row.mobileName, row.unitName, row.dilute, row.vermin, row.reserve[0],
                              row.reserve[1], row.reserve[2]})
    if (!cp932::canEncode(text)) return false;
  return true;
}

}  // namespace

QString itemColumn(int item) {
  return item >= 0 && item < kItemCount ? QString::fromLatin1(kItemColumns[item]) : QString();
}

QString itemLabel(int item) {
  return item >= 0 && item < kFixedItemCount ? QString::fromUtf16(kItemLabels[item]) : QString();
}

QString ledgerTable(int ledger) {
  return ledger >= 1 && ledger <= kLedgerCount ? QString::fromLatin1(kindOf(ledger).table)
                                               : QString();
}

QString ledgerName(const InputSettings& settings, int ledger) {
  if (ledger < 1 || ledger > kLedgerCount) return QString();
  if (ledger >= kFirstMaterialLedger)
    return settings.materialNames[static_cast<std::size_t>(ledger - kFirstMaterialLedger)];
  return QString::fromUtf16(kindOf(ledger).name);
}

QString mobileNameOf(const QString& name) { return cp932::cutToBytes(name, kMobileNameBytes); }

InputSettings loadInputSettings(CDaoDatabase& diary) {
  InputSettings settings;
  {
    CDaoRecordset info(&diary);
    info.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"));
    if (!info.IsEOF()) {
      for (int i = 0; i < 3; ++i)
        settings.reserveCaptions[static_cast<std::size_t>(i)] =
            textOf(info, QStringLiteral("ReserveItem%1Name").arg(i + 1));
      for (int i = 0; i < 5; ++i)
        settings.materialNames[static_cast<std::size_t>(i)] =
            textOf(info, QStringLiteral("Mte%1Name").arg(i + 1));
    }
  }
  {
    CDaoRecordset options(&diary);
    options.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM IWDryOption"));
    if (!options.IsEOF()) {
      for (int item = 0; item < kItemCount; ++item)
        settings.setFlag(item, longOf(options, itemColumn(item)) != 0);
    }
  }
  const QHash<long, long> crops = cropNumbers(diary);
  const QHash<long, QString> units = unitNames(diary);
  for (int ledger = 1; ledger <= kLedgerCount; ++ledger)
    settings.rows(ledger) = loadRows(diary, ledger, crops, units);
  return settings;
}

bool loadInputSettings(CDaoDatabase& diary, InputSettings& settings) {
  try {
    settings = loadInputSettings(diary);
    return true;
  } catch (const CDaoException& e) {
    CErrMsg().Disp(e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgLoadFailed, 1);
  } catch (const std::bad_alloc&) {
    CErrMsg().Disp(kMsgNoMemory, 1);
  }
  return false;
}

QList<ItemLine> itemLines(const InputSettings& settings) {
  QList<ItemLine> lines;
  for (int item = 0; item < kItemCount; ++item) {
    QString label = itemLabel(item);
    if (item >= kFixedItemCount) {
      label = settings.reserveCaptions[static_cast<std::size_t>(item - kFixedItemCount)];
      if (label.isEmpty()) continue;
    }
    lines.append({item, label, settings.flag(item), true});
  }
  auto off = [&lines](int item) {
    for (ItemLine& line : lines)
      if (line.item == item) line.checked = line.enabled = false;
  };
  lines[kItemDay].checked = true;
  lines[kItemDay].enabled = false;
  for (int item = kItemWork; item <= kItemMachine; ++item)
    if (settings.rows(item + 1).isEmpty()) off(item);
  if (!anyMaterialRows(settings)) {
    off(kItemShizai);
    off(kItemDilute);
    off(kItemScatter);
  }
  return lines;
}

void takeItemLines(InputSettings& settings, const QList<ItemLine>& lines) {
  settings.flags.fill(false);
  for (const ItemLine& line : lines)
    if (line.item >= 0 && line.item < kItemCount)
      settings.setFlag(line.item, line.enabled && line.checked);
  // The date is always entered: its line is checked and disabled only so
  // that nobody switches it off, and the phone forms must keep asking it.
  settings.setFlag(kItemDay, true);
}

bool ledgerSent(const InputSettings& settings, int ledger) {
  if (ledger == 1) return true;
  if (ledger >= 2 && ledger <= 5) return settings.flag(ledger - 1);
  if (ledger >= kFertilizerLedger && ledger <= kLedgerCount) return settings.flag(kItemShizai);
  return false;
}

QList<int> ledgersOffered(const InputSettings& settings) {
  QList<int> list;
  for (int ledger = 1; ledger <= kLedgerCount; ++ledger) {
    if (!ledgerSent(settings, ledger)) continue;
    if (ledger >= kFertilizerLedger && settings.rows(ledger).isEmpty()) continue;
    list.append(ledger);
  }
  return list;
}

bool validateInputSettings(InputSettings& settings) {
  if (settings.flag(kItemRestStartEndTime) && !settings.flag(kItemWorkFactTime) &&
      !settings.flag(kItemWorkStartEndTime)) {
    inform(QStringLiteral("休憩開始・終了時間を使用する場合は労働正味時間または労働開始・終了時間の入力が必要になります。"));
    return false;
  }
  if (settings.flag(kItemMRestStartEndTime) && !settings.flag(kItemMcnFactTime) &&
      !settings.flag(kItemMcnStartEndTime)) {
    inform(QStringLiteral("機械休止開始・終了時間を使用する場合は機械稼働正味時間または機械稼働開始・終了時間の入力が必要になります。"));
    return false;
  }
  if (!anyUsed(settings.rows(1))) {
    inform(QStringLiteral("品目台帳は必ず１つ以上データを選んでください。"));
    return false;
  }
  for (int item = kItemWork; item <= kItemMachine; ++item) {
    if (!settings.flag(item) || anyUsed(settings.rows(item + 1))) continue;
    const QString question =
        QStringLiteral("%1では使用するデータが選択されていません。\n%2自体を使用しない設定に変更してもよろしいですか？")
            .arg(ledgerName(settings, item + 1), itemLabel(item));
    if (!askYes(question)) return false;
    settings.setFlag(item, false);
  }
  if (settings.flag(kItemShizai) && !anyMaterialUsed(settings)) {
    QStringList names;
    if (!settings.rows(kFertilizerLedger).isEmpty()) names.append(ledgerName(settings, kFertilizerLedger));
    for (const QString& name : settings.materialNames)
      if (!name.isEmpty()) names.append(name);
    const QString question = names.join(QStringLiteral("、")) +
                             QStringLiteral("では使用するデータが選択されていません。\n") +
                             QStringLiteral("資材自体を使用しない設定に変更してもよろしいですか？");
    if (!askYes(question)) return false;
    settings.setFlag(kItemShizai, false);
  }
  if (!settings.flag(kItemShizai)) {
    const char16_t* text = nullptr;
    if (settings.flag(kItemQuantity))
      text = u"資材投下量を使用する場合は必ず資材の入力が必要になります。";
    else if (settings.flag(kItemDilute))
      text = u"希釈倍率を使用する場合は必ず資材の入力が必要になります。";
    else if (settings.flag(kItemScatter))
      text = u"単位当り散布量を使用する場合は必ず資材の入力が必要になります。";
    if (text) {
      inform(QString::fromUtf16(text));
      return false;
    }
  }
  return true;
}

QStringList unsendableRows(const InputSettings& settings) {
  QStringList lines;
  for (int ledger = 1; ledger <= kLedgerCount; ++ledger) {
    if (!ledgerSent(settings, ledger)) continue;
    for (const LedgerRow& row : settings.rows(ledger))
      if (row.use && !rowSendable(row))
        lines.append(QStringLiteral("%1：%2 %3").arg(ledgerName(settings, ledger)).arg(row.scode).arg(row.mobileName));
  }
  return lines;
}

QString confirmationText(const InputSettings& settings) {
  QString text;
  const QStringList rows = unsendableRows(settings);
  if (!rows.isEmpty()) {
    text = QStringLiteral("次のデータには転送できない文字が含まれています。これらの文字は「?」として転送されます。\n");
    for (const QString& row : rows) text += QStringLiteral("　") + row + u'\n';
    text += u'\n';
  }
  return text + QStringLiteral("サーバにモバイル作業日誌入力の設定を転送します。\n転送を開始してもよろしいですか？");
}

bool saveInputSettings(CDaoDatabase& diary, const InputSettings& settings) {
  try {
    DaoTransaction transaction(diary);
    QStringList assignments{QStringLiteral("Crop = 1")};
    QList<COleVariant> flags;
    for (int item = 0; item < kItemCount; ++item) {
      assignments.append(itemColumn(item) + QStringLiteral(" = ?"));
      flags.append(COleVariant(settings.flag(item) ? 1 : 0));
    }
    diary.Execute(QStringLiteral("UPDATE IWDryOption SET %1 WHERE Code = 1")
                      .arg(assignments.join(QStringLiteral(", "))),
                  flags, dbFailOnError);
    for (int ledger = 1; ledger <= kLedgerCount; ++ledger) {
      const QString sql =
          QStringLiteral("UPDATE %1 SET IName = ?, IUse = ? WHERE Scode = ?").arg(ledgerTable(ledger));
      for (const LedgerRow& row : settings.rows(ledger))
        diary.Execute(sql,
                      {COleVariant(row.mobileName), COleVariant::boolean(row.use),
                       COleVariant(row.scode)},
                      dbFailOnError);
    }
    transaction.commit();
    return true;
  } catch (const CDaoException& e) {
    CErrMsg().Disp(e.errorCode() == kJetDiskFull ? kMsgDiskFull : kMsgUpdateFailed, 1);
  } catch (const std::bad_alloc&) {
    CErrMsg().Disp(kMsgNoMemory, 1);
  }
  return false;
}

QByteArray uploadBody(const InputSettings& settings, const QString& userId,
                      const QString& password) {
  QByteArray body = cp932::encode(userId) + ',' + cp932::encode(password) + ',';
  body += QByteArray::number(kItemCount + 1) + ',';
  body += "1,";  // the crop is always asked for
  for (int item = 0; item < kItemCount; ++item) body += settings.flag(item) ? "1," : "0,";
  for (const QString& caption : settings.reserveCaptions) body += quoted(caption);
  body += QByteArray::number(kLedgerCount) + ',';
  for (int ledger = 1; ledger <= kLedgerCount; ++ledger) {
    const bool sent = ledgerSent(settings, ledger);
    QList<const LedgerRow*> used;
    if (sent)
      for (const LedgerRow& row : settings.rows(ledger))
        if (row.use) used.append(&row);
    body += QByteArray::number(ledger) + ',' + encoded(ledgerName(settings, ledger), kLedgerNameBytes) +
            ',' + QByteArray::number(used.size()) + ',';
    for (const LedgerRow* row : used) {
      body += QByteArray::number(static_cast<qlonglong>(row->scode)) + ',' +
              encoded(row->mobileName, kMobileNameBytes) + ',';
      body += numberOrEmpty(row->cropNumber);
      body += numberOrEmpty(row->startMonth);
      body += numberOrEmpty(row->endMonth);
      body += QString::asprintf("%.2f,", row->area).toLatin1();
      for (const QString& text : {row->unitName, row->dilute, row->vermin, row->reserve[0],
                                  row->reserve[1], row->reserve[2]})
        body += quoted(text);
    }
  }
  return body;
}

}  // namespace hv6::mobile
