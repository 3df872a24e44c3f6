#include "tests/outside/picview6/testpictures.h"

#include <QBuffer>
#include <QFile>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>

namespace picview6test {
namespace {

ExifEntry* newEntry(ExifData* data, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = exif_entry_new();
  exif_content_add_entry(data->ifd[ifd], entry);
  exif_entry_initialize(entry, tag);
  exif_entry_unref(entry);
  return entry;
}

}  // namespace

QImage halves(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, x < width / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
  return image;
}

QByteArray jpegWithExif(const QImage& image, const QString& dateTaken, int orientation) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 95);
  ExifData* data = exif_data_new();
  exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
  if (orientation != 0) {
    ExifEntry* entry = newEntry(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, ExifShort(orientation));
  }
  if (!dateTaken.isEmpty()) {
    ExifEntry* entry = newEntry(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    const QByteArray text = dateTaken.toLatin1();
    std::memset(entry->data, 0, entry->size);
    std::memcpy(entry->data, text.constData(), std::min<std::size_t>(std::size_t(text.size()), entry->size - 1));
  }
  unsigned char* block = nullptr;
  unsigned int size = 0;
  exif_data_save_data(data, &block, &size);
  exif_data_unref(data);
  // An APP1 segment right after the start-of-image marker.
  QByteArray segment("\xff\xe1", 2);
  const unsigned length = size + 2;
  segment.append(char(length >> 8)).append(char(length & 0xff));
  segment.append(reinterpret_cast<const char*>(block), int(size));
  std::free(block);
  return jpeg.left(2) + segment + jpeg.mid(2);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace picview6test
