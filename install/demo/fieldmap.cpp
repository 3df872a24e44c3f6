#include <QDir>
#include <QSaveFile>
#include <array>

#include "install/demo/farmdiary.h"
#include "platform/codec.h"

namespace hv6::demo {
namespace {

// Where each field lies on the plan (x, y, width, height), in field order.
constexpr std::array<std::array<int, 4>, 8> kPlan{{
    {20, 20, 180, 130},
    {20, 160, 160, 110},
    {210, 20, 220, 170},
    {460, 30, 70, 40},
    {460, 80, 70, 40},
    {460, 140, 110, 60},
    {20, 300, 250, 150},
    {290, 300, 210, 130},
}};

QString fieldSection(int index) {
  const FieldDef& field = fields()[static_cast<std::size_t>(index)];
  const auto& r = kPlan[static_cast<std::size_t>(index)];
  return QStringLiteral(
             "[Field%1]\r\nCode=%2\r\nName=%3\r\nCrop=%4\r\nArea=%5\r\nRect=%6,%7,%8,%9\r\n")
      .arg(index + 1)
      .arg(codeOf(index))
      .arg(QString::fromUtf8(field.name),
           QString::fromUtf8(crops()[static_cast<std::size_t>(field.crop)].name))
      .arg(field.area, 0, 'f', 1)
      .arg(r[0])
      .arg(r[1])
      .arg(r[2])
      .arg(r[3]);
}

}  // namespace

void writeFieldMap(const QString& folder) {
  QString text =
      QStringLiteral(
          "[FieldMap]\r\nTitle=山田農園 ほ場図\r\nWidth=640\r\nHeight=480\r\nCount=%1\r\n")
          .arg(fields().size());
  for (int i = 0; i < static_cast<int>(fields().size()); ++i) text += fieldSection(i);
  const QByteArray bytes = cp932::encode(text);
  const QString path = QDir(folder).filePath(kFieldMapFileName);
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return;
  throw DemoError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

}  // namespace hv6::demo
