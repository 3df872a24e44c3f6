#pragma once
// What the calendar view needs of the program around it: the settings, the
// diary database and the place of the menu's check marks.

#include <QString>

class CDaoDatabase;

namespace hv6 {

class AppRegistry;

class CalendarHost {
 public:
  virtual ~CalendarHost() = default;
  virtual AppRegistry& registry() = 0;
  // The diary database as it is now (possibly closed); nullptr when none.
  virtual CDaoDatabase* diaryDatabase() = 0;
  // Re-opens it at the path of its setting; nullptr when it stays closed.
  virtual CDaoDatabase* reopenDiaryDatabase() = 0;
  // The item id of the current mode, read by the menu's check marks.
  virtual void setModeItemId(int id) = 0;
};

}  // namespace hv6
