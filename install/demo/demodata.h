#pragma once
// The demo data: one believable season of a small family farm in 岩手県
// (rice, tomatoes, cucumbers, soybeans), written into a data folder as the
// two databases "作業日誌データ.HV6" and "気象データ.HV6", the farm diary's
// yyyymmdd.rtf pages, the field map "ほ場図.fmp" and the photographs in
// the subfolder "photos" (PictureLink.Path holds their absolute paths, so
// generate the demo where it is to stay).
//
// The same seed and year always give the same data; only year 0 reads the
// clock (the current year). Everything is built in a staging folder inside
// the target folder and moved into place at the end, the diary database
// last, so a failed run leaves nothing behind.

#include <QString>
#include <QtGlobal>

namespace hv6::demo {

struct DemoOptions {
  quint32 seed = 6;
  int year = 0;  // 0: the current year
};

// The years the generator accepts (those the calendar can show), besides 0.
inline constexpr int kFirstDemoYear = 1980;
inline constexpr int kLastDemoYear = 2050;

// Writes the demo into folder (created when missing). Refuses a folder that
// already holds either database or any file the demo would write. On
// failure returns false with the reason in error and leaves the folder as
// it was.
bool generateDemoData(const QString& folder, const DemoOptions& options, QString* error = nullptr);

}  // namespace hv6::demo
