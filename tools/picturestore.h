#pragma once
// The PictureLink rows of the work-diary database: reading the pictures of a
// day or of all days, saving one (a new row or an update by code) and
// deleting one. The picture files themselves are never touched.

#include "tools/picture.h"

#include <QList>

#include <optional>

class CDaoDatabase;

namespace hv6 {

// Message numbers of the photo album.
namespace PhotoMsg {
constexpr long kSaveFailed = 2902;
constexpr long kDeleteFailed = 2903;
constexpr long kNoneOnDay = 2909;
constexpr long kNoneAtAll = 2910;
constexpr long kDeleteNotice = 2913;
constexpr long kNotAPicture = 2914;
constexpr long kBadDate = 2915;
}  // namespace PhotoMsg

// The rows of a day (date yyyymmdd), or of every day when date is 0, in the
// table's order; none after a failed read (message 2039 shown).
std::optional<QList<PictureRecord>> readPictures(CDaoDatabase& db, long date);

// Saves a picture: a new row (insert; the record then carries its code) or
// the row of its code. A date that is no day of the calendar keeps the row
// unsaved and shows 2915; a database error shows 2902. False on either.
bool SavePicture(CDaoDatabase& db, bool insert, PictureRecord& record);

// Deletes the row of a code; 2903 and false on a database error (also when
// no row has that code).
bool DeletePicture(CDaoDatabase& db, long code);

}  // namespace hv6
