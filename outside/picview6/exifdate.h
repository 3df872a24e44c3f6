#pragma once
// The date a picture was taken, as the camera wrote it in the picture's EXIF
// data (DateTimeOriginal, else DateTimeDigitized, else DateTime).

#include <QString>

#include <optional>

namespace picview6 {

// The date taken as yyyymmdd; none when the file has no EXIF data, no date,
// or a date that is no day of the calendar.
std::optional<long> exifDateTaken(const QString& path);

// The date part of an EXIF date text "YYYY:MM:DD HH:MM:SS" as yyyymmdd.
std::optional<long> parseExifDate(const QString& text);

}  // namespace picview6
