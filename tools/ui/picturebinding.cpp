#include "tools/ui/picturebinding.h"

#include "outside/picview6/ui/viewerwindow.h"

namespace hv6 {

void fillViewer(CPictureWindow& window, const PictureRecord& record) {
  window.SetTitle(record.title);
  window.SetMemo(record.memo);
  window.SetDate(record.year, record.month, record.day);
  for (int index = 0; index < 3; ++index) window.SetEftLevel(index, record.levels[std::size_t(index)]);
  window.SetDispRate(record.dispRate, record.rateSet ? 1 : 0);
  window.SetPicturePath(record.path);
}

void fillEditWindow(CViewerEdit& window, const PictureRecord& record) {
  window.EnableDelete(0);
  window.SetDate(record.year, record.month, record.day);
  window.SetTitle(record.title);
  window.SetMemo(record.memo);
  for (int index = 0; index < 3; ++index)
    window.SetEftLevel(index, record.levels[std::size_t(index)], 0);
  window.SetDispRate(100, 1, 0);
  window.SetOrgPicturePath(record.path);
  window.SetPicturePath(record.path);
}

PictureRecord valuesOf(const CPictureWindow& window) {
  PictureRecord record;
  window.GetDate(record.year, record.month, record.day);
  record.path = window.GetPicturePath();
  record.title = window.GetTitle();
  record.memo = window.GetMemo();
  for (int index = 0; index < 3; ++index) record.levels[std::size_t(index)] = window.GetEftLevel(index);
  record.rateSet = window.GetDispRate(record.dispRate) != 0;
  return record;
}

}  // namespace hv6
