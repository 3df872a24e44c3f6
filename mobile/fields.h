#pragma once
// The record lines of the mobile diary service: 29 fields, 1-23 plain and
// 24-29 quoted, and the conversion of each field's text to the value of its
// WDiary column. Code fields (2-6, 22) only get their user number here; the
// import maps it to the master's Code.

#include "platform/dao/variant.h"

#include <QString>
#include <QStringList>
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>

#include <optional>

namespace hv6::mobile {

inline constexpr int kFieldCount = 29;
inline constexpr int kMaterialKindField = 21;
inline constexpr int kMaterialField = 22;
// Text columns hold at most this many characters (Text(255)).
inline constexpr int kTextLimit = 255;

// The 29 field texts of a record line, fields 1..29 at indexes 0..28. A
// plain field ends at the next ","; a quoted one is the text between its
// opening '"' and the next "\","; after each field the rest of the line
// loses its leading blanks. Fields after the end of the line are empty.
QStringList cutRecordFields(QStringView line);
// The same on the received bytes (the marks are ASCII, never the second
// byte of a double-byte character), for lines that do not decode whole.
QList<QByteArray> cutRecordFields(QByteArrayView line);

// The label the log gives field k (1..29): "日付", "品目", ...
QString fieldLabel(int field);
// The WDiary column of field k; for field 22 the column of material
// category `category` (empty for a category without one).
QString fieldColumn(int field, int category);
// The master table whose Scode field k holds: CropMst .. MachineMst for
// 2-6, FertilizerMst or MaterialMst1..5 for 22 by category; empty
// otherwise (and for a category without a table).
QString masterTable(int field, int category);
bool isCodeField(int field);

// A text that gives no value (the column stays Null) and never fails.
bool isAbsent(QStringView text);

// Conversions of one field's text; nullopt when the text does not convert.
// A master's user number: a whole number of Jet's Long range, nothing else.
std::optional<long> userNumberOf(QStringView text);
// A duration as hhmm: "h:m" (hours and minutes read as numbers, minutes
// below 60), decimal hours ("2.5" gives 230, "2.25" 215) or whole hours
// ("3" gives 300).
std::optional<long> durationOf(QStringView text);
// A time of day as hhmm: "h:m" with hours below 24 and minutes below 60.
std::optional<long> timeOfDayOf(QStringView text);
// A decimal number times 10 as a whole number (half to even), for area and
// light oil.
std::optional<long> tenthsOf(QStringView text);
// A finite decimal number in the range of the Currency column.
std::optional<double> quantityOf(QStringView text);
// Field 21: 6..11 gives the material category 0..5.
std::optional<int> materialCategoryOf(QStringView text);
// A day, by the platform's conversion of a date text.
std::optional<QDateTime> dateOf(QStringView text);
// A text field: at most kTextLimit characters.
std::optional<QString> textOf(QStringView text);

// The query that finds a row of WDiary with the same day, crop, job,
// field, worker and machine (an absent code matches Null: "IS ?" with Null
// is "IS NULL", with a number "= number") and the same material category
// and material. Placeholders: the day, the codes of fields 2-6 and, when
// the line has a material (materialCategory 0..5), the category and the
// material's code; without a material (-1) Kind and FrzCode must be Null.
QString duplicateQuery(int materialCategory);

// The value of a field that is not a code field; Null for an absent text.
// nullopt when it does not convert. For field 21 category gets the line's
// material category (-1 when the field fails).
std::optional<COleVariant> convertField(int field, QStringView text, int& category);

}  // namespace hv6::mobile
