#pragma once
// The base-information sheet (CBaseInfo): the data information page, the
// password page, the communication page and the page "その他". Its OK runs
// the pages' checks, writes the base settings as one group, the
// Information row and the communication settings, converts data of the
// previous edition and closes.

#include "shell/baseinfo.h"
#include "weather/dialupentries.h"

#include <QDialog>

#include <functional>

class CAndso;
class CCheckV5App;
class CCompo;
class CDaoDatabase;
class CInform;
class CWeathEnv;
class QCheckBox;
class QTabWidget;

// The page "その他" (dialog 133): whether ledgers list by the chosen date.
class CAndso final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kIdDaySort = 1021;

  explicit CAndso(QWidget* parent = nullptr);
  void setDaySort(std::uint32_t daySort);
  std::uint32_t daySort() const;

 private:
  QCheckBox* daySort_;
};

class CBaseInfo final : public QDialog {
  Q_OBJECT

 public:
  // What the sheet works with; the weather database is re-opened at the
  // path of its setting before each use.
  struct Services {
    hv6::AppRegistry& registry;
    CCheckV5App& check;
    hv6::DialUpEntriesFactory dialUp;  // the communication page's entry list
    std::function<CDaoDatabase*()> weatherDatabase;
  };

  // mode 1 from the base-information command, 0 from the first-start dialog.
  CBaseInfo(Services services, int mode, const QString& caption, QWidget* parent = nullptr);
  ~CBaseInfo() override;

  // Reads the base settings and loads the pages; false after message 2504
  // (the sheet must not open).
  bool load();
  // load() and exec(); Rejected when the sheet could not open.
  int run();

  // OK: the pages' checks, the writes in order; stays open on failure.
  void accept() override;

  // The diary database path chosen on the data page.
  QString diaryPath() const;

  QTabWidget* tabs() const { return tabs_; }
  CInform* informPage() const { return inform_; }
  CCompo* compoPage() const { return compo_; }
  CWeathEnv* weathEnvPage() const { return weathEnv_; }
  CAndso* andsoPage() const { return andso_; }

 private:
  bool checkPages();
  bool writeSettings();

  Services services_;
  hv6::BaseInfoValues values_;
  QTabWidget* tabs_;
  CInform* inform_;
  CCompo* compo_;
  CWeathEnv* weathEnv_;
  CAndso* andso_;
};
