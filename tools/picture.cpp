#include "tools/picture.h"

#include "outside/picview6/eftdib.h"

namespace hv6 {

void PictureRecord::setDate(long yyyymmdd) {
  year = int(yyyymmdd / 10000);
  month = int(yyyymmdd % 10000 / 100);
  day = int(yyyymmdd % 100);
}

void PictureRecord::setStoredRate(long stored) {
  rateSet = stored >= 1;
  dispRate = rateSet ? stored : 100;
}

PictureRecord newPicture(long date, const QString& path) {
  PictureRecord record;
  record.setDate(date);
  record.path = path;
  for (int index = 0; index < CEftDib::kEffectCount; ++index)
    record.levels[std::size_t(index)] = CEftDib::GetEftInitLevel(index);
  record.dispRate = 100;
  record.rateSet = true;
  return record;
}

bool isPictureType(const QString& path) {
  QString name = path.toUpper();
  while (name.endsWith(QLatin1Char(' '))) name.chop(1);
  const QString last = name.right(4);
  return last == QLatin1String(".BMP") || last == QLatin1String(".JPG") ||
         last == QLatin1String("JPEG");
}

}  // namespace hv6
