#pragma once
// The communication settings page (dialog 152 "通信設定") of the
// base-information sheet: the maker's online service, weather
// communication with its start date, LAN or dial-up with the phone-book
// entry and the hang-up choice, and the mobile work diary's id and
// password.
//
// The sheet loads the page before showing it, runs checkStartDate() on OK
// and then save(). A page that was never shown writes back only the two
// service flags, and of those only what the load could read.

#include "weather/commsettings.h"
#include "weather/dialupentries.h"

#include <QWidget>

#include <optional>

class CDaoDatabase;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

class CWeathEnv : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 152;
  enum ControlId {
    kIdWeather = 1008,
    kIdLan = 1010,
    kIdDialUp = 1011,
    kIdEntries = 1012,
    kIdStartDate = 1017,
    kIdHangUp = 1028,
    kIdKeepLine = 1029,
    kIdAskHangUp = 1030,
    kIdDisconnectLabel = 1031,
    kIdStartDateLabel = 1034,
    kIdStartDateHint = 1035,
    kIdUserIdLabel = 1036,
    kIdPasswordLabel = 1038,
    kIdUserId = 1040,
    kIdPassword = 1041,
    kIdOnlineService = 1064,
    kIdMobileDiary = 1065,
  };
  static constexpr int kTextLimit = 50;

  // dialUp makes the entry source when the page is first shown.
  CWeathEnv(hv6::AppRegistry& registry, hv6::DialUpEntriesFactory dialUp,
            QWidget* parent = nullptr);

  // Reads the INI file, the registry and the start date; a missing or
  // closed weather database keeps today as the start date.
  void load(CDaoDatabase* weatherDatabase);
  bool isInitialised() const { return initialised_; }
  // Puts the values into the controls, applies the enable rules and fills
  // the entry list; done when the page is first shown.
  void initialise();
  // The sheet's OK: false (after 2638) when the start date of a shown page
  // is not a valid "YYYY/MM/DD" date.
  bool checkStartDate();
  // Writes what the page holds; see the header comment.
  void save(CDaoDatabase* weatherDatabase);

  const hv6::CommSettings& settings() const { return settings_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  QWidget* buildWeatherGroup();
  QWidget* buildConnectionGroup();
  QWidget* buildMobileGroup();
  QLabel* addLabel(int id, const QString& text, QWidget* buddy = nullptr);
  QLineEdit* addEdit(int id);
  QRadioButton* addRadio(int id, const QString& text, QButtonGroup* group, int value);
  QCheckBox* addCheck(int id, const QString& text);

  void showSettings();
  void takeSettings();
  void fillEntries(hv6::DialUpEntries* source);
  std::optional<QString> selectedEntry() const;
  void applyEnables();
  void enableAll(const QList<QWidget*>& widgets, bool enabled);

  hv6::AppRegistry& registry_;
  hv6::DialUpEntriesFactory dialUp_;
  hv6::CommSettings settings_;
  bool initialised_ = false;

  QCheckBox* onlineService_ = nullptr;
  QCheckBox* weather_ = nullptr;
  QLineEdit* startDate_ = nullptr;
  QButtonGroup* connectGroup_ = nullptr;
  QRadioButton* lan_ = nullptr;
  QComboBox* entries_ = nullptr;
  QButtonGroup* disconnectGroup_ = nullptr;
  QCheckBox* mobileDiary_ = nullptr;
  QLineEdit* userId_ = nullptr;
  QLineEdit* password_ = nullptr;
  QList<QWidget*> commonControls_;
  QList<QWidget*> dialUpControls_;
  QList<QWidget*> startDateControls_;
};
