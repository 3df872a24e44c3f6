#include "mobile/importlog.h"

#include "mobile/fields.h"
#include "mobile/fileerror.h"
#include "platform/codec.h"
#include "platform/file_io.h"

namespace hv6 {
namespace {

constexpr int kLogFileMode = 0644;

const QString kMissingMaster = QStringLiteral("「%1コード：%2」は現在のデータベースに存在しません。\n");
const QString kMissingLedger =
    QStringLiteral("指定された資材区分の台帳が現在のデータベースに存在しません。\n");
const QString kDuplicate = QStringLiteral(
    "既にHarvo V6 Plusの作業日誌入力に日付、品目、作業、ほ場、作業者、機械、資材区分、資材が"
    "同じデータが登録されています。\n");

// Field 21 carries the category as 6..11; the log shows it as 1..6.
QString kindPiece(const QString& piece) {
  if (mobile::isAbsent(piece)) return piece;
  bool ok = false;
  const long number = piece.trimmed().toLong(&ok);
  return ok ? QString::number(number - 5) : piece;
}

}  // namespace

MobileImportLog::MobileImportLog(QString path, QStringList materialNames)
    : path_(std::move(path)), materialNames_(std::move(materialNames)) {}

QString MobileImportLog::materialName(int category) const {
  if (category == 0) return QStringLiteral("資材");
  if (category >= 1 && category <= 5) return materialNames_.value(category - 1);
  return {};
}

QString MobileImportLog::entryText(const QString& line, Mode mode, const QList<int>& failedFields,
                                   int category) const {
  const QStringList pieces = line.split(QLatin1Char(','));
  QString text = QStringLiteral("\n");
  for (int field = 1; field <= mobile::kFieldCount; ++field) {
    QString piece = pieces.value(field - 1);
    if (field == mobile::kMaterialKindField) piece = kindPiece(piece);
    text += mobile::fieldLabel(field) + QLatin1Char('=') + piece + QStringLiteral(", ");
  }
  text += QLatin1Char('\n');
  if (mode == Mode::Duplicate) return text + kDuplicate;
  for (int field : failedFields) {
    QString name;
    if (field >= 2 && field <= 6) name = mobile::fieldLabel(field);
    if (field == mobile::kMaterialField) name = materialName(category);
    text += name.isEmpty() ? kMissingLedger : kMissingMaster.arg(name, pieces.value(field - 1));
  }
  return text;
}

bool MobileImportLog::write(const QString& line, Mode mode, const QList<int>& failedFields,
                            int category) {
  const fileio::WriteResult result = fileio::appendFile(
      path_, cp932::encode(entryText(line, mode, failedFields, category)), kLogFileMode);
  if (result.ok) return true;
  if (!failed_) showFileError(path_, result.cause);
  failed_ = true;
  return false;
}

}  // namespace hv6
