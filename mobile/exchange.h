#pragma once
// One run of the import command of the mobile work diary: the settings of
// "wxfetch.ini", a temporary file for the download, logon, download,
// import into WDiary, the request that deletes the fetched records on the
// server, and the summary. Without widgets: what a run shows besides its
// messages goes through MobileImportFeedback.

#include "mobile/import.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

class CDaoDatabase;

namespace hv6 {

// The progress window with its bar, the wait cursor and the summary. The
// window program binds it to the progress dialog; a run without a window
// writes the summary to standard output and shows nothing else.
class MobileImportFeedback {
 public:
  virtual ~MobileImportFeedback() = default;
  // Shows the progress at position 0; false when it cannot be shown.
  virtual bool open() = 0;
  // Moves the bar (0-100).
  virtual void setPos(int pos) = 0;
  // The wait cursor on or off.
  virtual void setWaiting(bool waiting) = 0;
  // Called about ten times a second while a request waits for the server.
  virtual void idle() {}
  // The summary of the run; outcome as in MobileImportReport.
  virtual void showSummary(const QString& text, int outcome) = 0;
  // Takes the progress away.
  virtual void close() = 0;
};

// A run without a window: no progress, the summary on standard output.
class StandardOutputFeedback final : public MobileImportFeedback {
 public:
  bool open() override { return true; }
  void setPos(int) override {}
  void setWaiting(bool) override {}
  void showSummary(const QString& text, int outcome) override;
  void close() override {}
};

// How a run ended.
struct MobileImportReport {
  // False when the start ended after its message (no temporary file name,
  // the diary's material names unreadable, no progress window, no memory):
  // nothing was sent and there is no outcome.
  bool ran = false;
  // 0: records imported and the server asked to delete them; 1: logon
  // failed (or no id or password); 2: nothing on the server, the download
  // failed, or the import did not finish; 3: the delete request failed.
  int outcome = -1;
  // Outcome 2: something failed (false: the server held no records).
  bool failed = false;
  // The counts of the import (zero when there was none).
  MobileImportResult counts;
  // Whether the delete request was sent and accepted.
  bool cleared = false;
  // The summary shown (empty when there was none).
  QString summary;
  QString logPath;
};

// The import as the run calls it (hv6::importMobileRecords unless a test
// replaces it).
using MobileRecordImporter = std::function<MobileImportResult(
    CDaoDatabase& diary, const QString& tempFile, const QString& logFile,
    const QStringList& materialNames, std::function<void(int)> progress)>;

class MobileDiaryImport {
 public:
  // diary: the open work-diary database.
  MobileDiaryImport(CDaoDatabase& diary, MobileImportFeedback& feedback);

  // The folder of "wxfetch.ini", the temporary file and the log: the user's
  // environment folder ("Velqor/HV6P" in the documents folder). Empty when
  // there is no documents folder.
  static QString exchangeFolder();
  // folder + "/" + "%04d%02d%02d.log" of the day.
  static QString logPathFor(const QString& folder, const QDate& day);

  // The day that names the log (today unless set).
  void setToday(const QDate& day) { today_ = day; }
  void setImporter(MobileRecordImporter importer) { importer_ = std::move(importer); }

  // The whole run. Messages go through the message presenter; the
  // temporary file is deleted at the end in every case.
  MobileImportReport run();

 private:
  CDaoDatabase& diary_;
  MobileImportFeedback& feedback_;
  QDate today_;
  MobileRecordImporter importer_;
};

// Makes the exchange object and runs it; "メモリが不足しています。" when it
// cannot be made.
MobileImportReport runMobileDiaryImport(CDaoDatabase& diary, MobileImportFeedback& feedback);

}  // namespace hv6
