#include "outside/picview6/exifdate.h"

#include <QDate>
#include <QFile>

#include <libexif/exif-data.h>

#include <memory>

namespace picview6 {
namespace {

struct ExifDataFree {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

QString entryText(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
  if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->data == nullptr)
    return QString();
  return QString::fromLatin1(reinterpret_cast<const char*>(entry->data),
                             int(qstrnlen(reinterpret_cast<const char*>(entry->data), entry->size)));
}

}  // namespace

std::optional<long> parseExifDate(const QString& text) {
  const QString day = text.trimmed().left(10);
  if (day.size() != 10 || day.at(4) != QLatin1Char(':') || day.at(7) != QLatin1Char(':'))
    return std::nullopt;
  bool y = false, m = false, d = false;
  const int year = day.left(4).toInt(&y);
  const int month = day.mid(5, 2).toInt(&m);
  const int dom = day.mid(8, 2).toInt(&d);
  if (!y || !m || !d || !QDate::isValid(year, month, dom) || year < 1) return std::nullopt;
  return long(year) * 10000 + month * 100 + dom;
}

std::optional<long> exifDateTaken(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  std::unique_ptr<ExifData, ExifDataFree> data(exif_data_new_from_file(name.constData()));
  if (!data) return std::nullopt;
  const std::pair<ExifIfd, ExifTag> places[] = {
      {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL},
      {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED},
      {EXIF_IFD_0, EXIF_TAG_DATE_TIME},
  };
  for (const auto& [ifd, tag] : places)
    if (const std::optional<long> date = parseExifDate(entryText(data.get(), ifd, tag))) return date;
  return std::nullopt;
}

}  // namespace picview6
