#include "calendar/titles.h"

#include <iterator>

namespace hv6 {
namespace {

struct TitleString {
  int id;
  const char16_t* text;
};

// The slip texts of the crop, customer and buyer modes stay open: the
// figure's suffix closes them.
constexpr TitleString kTitleStrings[] = {
    {2000, u"[農程管理-予定表表示]"},
    {2001, u"[農程管理-実施表表示]"},
    {2002, u"[農程管理-予定・実施の比較]"},
    {2003, u"[農程管理-予定・作業日誌の比較]"},
    {2004, u"[農程管理-実施・作業日誌の比較]"},
    {2005, u"[農程管理-予定・実施の栽培管理の指針]"},
    {2006, u"[作業日誌-品目表示]"},
    {2007, u"[作業日誌-作業表示]"},
    {2008, u"[作業日誌-作業者表示]"},
    {2009, u"[作業日誌-機械表示]"},
    {2010, u"[作業日誌-資材表示]"},
    {2011, u"[作業日誌-ほ場表示]"},
    {2012, u"[作業日誌-延作業面積表示]"},
    {2013, u"[作業日誌-栽培管理の指針]"},
    {2014, u"[出荷伝票-品目"},
    {2015, u"[出荷伝票-仕向先"},
    {2016, u"[出荷伝票-買参人"},
    {2017, u"[出荷伝票-等級・規格表示]"},
    {2018, u"[出荷伝票-請求日表示]"},
    {2019, u"[出荷伝票-発送日表示]"},
    {2023, u"[営農日記]"},
    {2024, u"Harvo V6 Plus"},
};

constexpr const char16_t* kLineSuffixes[] = {u"-金額表示]", u"-数量表示]", u"-単価表示]"};
constexpr const char16_t* kCustomerSuffixes[] = {u"-差引合計表示]", u"-数量合計表示]",
                                                 u"-平均単価表示]"};

int descriptionId(const CalendarViewState& state) {
  switch (state.category) {
    case CalendarCategory::Plan:
      return kIdsPlanFirst + state.planMode;
    case CalendarCategory::Diary:
      return kIdsDiaryFirst + state.diaryMode;
    case CalendarCategory::Slips:
      return kIdsSlipFirst + state.slipMode;
    case CalendarCategory::FarmDiary:
      break;
  }
  return kIdsFarmDiary;
}

}  // namespace

QString titleString(int id) {
  for (const TitleString& entry : kTitleStrings)
    if (entry.id == id) return QString::fromUtf16(entry.text);
  return QString();
}

QString figureSuffix(int slipMode, int figure) {
  if (slipMode < 0 || slipMode > 2 || figure < 0 || figure >= int(std::size(kLineSuffixes)))
    return QString();
  const bool customer = kIdsSlipFirst + slipMode == kIdsSlipCustomer;
  return QString::fromUtf16(customer ? kCustomerSuffixes[figure] : kLineSuffixes[figure]);
}

QString windowTitle(const CalendarViewState& state) {
  QString title = titleString(kIdsTitleBase) + u' ' + titleString(descriptionId(state));
  if (state.category == CalendarCategory::Slips)
    title += figureSuffix(state.slipMode, state.slipFigure);
  return title;
}

}  // namespace hv6
