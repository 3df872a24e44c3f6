#pragma once
// New data: a new, empty data folder with both databases, the farm's name
// in its Information row, and the settings pointed at it; or, converting,
// the diary database of an older edition brought into the new folder.

#include "platform/registry.h"

#include <QString>

class QWidget;

namespace hv6 {

inline const QString kDefaultDataFolderName = QStringLiteral("Harvoデータ");

struct NewDataRequest {
  QString place;       // the folder in which the data folder is made
  QString folderName;  // the data folder's own name
  QString farmName;    // Information Company
  QString olderDiary;  // converting: the older edition's diary database; else empty
};

struct NewDataOutcome {
  bool ok = false;
  QString folder;  // the data folder made
  QString error;   // why nothing was made
};

// Where a new data folder goes unless the user says otherwise: the
// documents folder.
QString defaultNewDataPlace();

// Makes the folder and points DataPath and WeatherDataPath (and the field
// map) at it. Refuses a folder that holds data already. On failure nothing
// it made is left behind and the settings are as they were. A conversion
// failure is shown with parent as the owner of the message.
NewDataOutcome makeNewData(RegistryStore& store, const NewDataRequest& request,
                           QWidget* parent = nullptr);

}  // namespace hv6
