#pragma once
// Small pictures the tests write themselves: JPEGs with an EXIF block
// (date taken, orientation), truncated files, files that are no picture.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace picview6test {

// Left half red, right half blue.
QImage halves(int width, int height);

// The JPEG bytes of image with an EXIF block holding the date taken
// ("YYYY:MM:DD HH:MM:SS", none when empty) and the orientation (none when 0).
QByteArray jpegWithExif(const QImage& image, const QString& dateTaken, int orientation);

bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace picview6test
