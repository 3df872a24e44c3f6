#pragma once
// The farm diary of the demo: one rich-text file yyyymmdd.rtf for some
// thirty days of the year, a few lines on the weather and the day's work,
// written as a Japanese Windows word processor writes them (code page 932
// text in \'hh escapes).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "install/demo/season.h"

namespace hv6::demo {

// The RTF document of one diary page, one paragraph per line.
QByteArray farmDiaryRtf(const QStringList& lines);

// The file name of the diary page of a day.
QString farmDiaryFileName(const QDate& date);

// Writes the pages into folder; returns their file names. Throws DemoError.
QStringList writeFarmDiary(const Season& season, quint32 seed, const QString& folder);

// The field map "ほ場図.fmp" of the demo: the farm's fields as rectangles
// on a plan, an INI-style text in code page 932. Throws DemoError.
inline const QString kFieldMapFileName = QStringLiteral("ほ場図.fmp");
void writeFieldMap(const QString& folder);

}  // namespace hv6::demo
