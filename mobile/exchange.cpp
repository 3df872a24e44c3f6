#include "mobile/exchange.h"

#include "mobile/exchangetexts.h"
#include "mobile/serverexchange.h"
#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"
#include "platform/presenter.h"
#include "platform/syserror.h"
#include "platform/tempfile.h"
#include "shell/envcopy.h"
#include "weather/commsettings.h"

#include <QFile>

#include <cstdio>
#include <new>

namespace hv6 {
namespace {

const QString kTempPrefix = QStringLiteral("IWD");
constexpr long kMsgReadFailed = 2039;

// Positions of the progress bar between the steps.
constexpr int kAfterLogon = 5;
constexpr int kImportStart = 10;
constexpr int kDone = 100;

// The temporary file goes when the run ends, however it ends.
class TempFileGuard {
 public:
  explicit TempFileGuard(QString path) : path_(std::move(path)) {}
  ~TempFileGuard() {
    if (!path_.isEmpty()) QFile::remove(path_);
  }
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;

 private:
  QString path_;
};

class WaitCursor {
 public:
  explicit WaitCursor(MobileImportFeedback& feedback) : feedback_(feedback) {
    feedback_.setWaiting(true);
  }
  ~WaitCursor() { feedback_.setWaiting(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  MobileImportFeedback& feedback_;
};

void showNumbered(long number, const QString& text) {
  MessageRequest request;
  request.number = number;
  request.text = text;
  request.caption = kHrvCaption;
  request.icon = MsgIcon::Warning;
  messagePresenter().present(request);
}

}  // namespace

void StandardOutputFeedback::showSummary(const QString& text, int) {
  QByteArray bytes = text.toUtf8();
  if (!bytes.endsWith('\n')) bytes += '\n';
  std::fputs(bytes.constData(), stdout);
  std::fflush(stdout);
}

MobileDiaryImport::MobileDiaryImport(CDaoDatabase& diary, MobileImportFeedback& feedback)
    : diary_(diary), feedback_(feedback), today_(QDate::currentDate()), importer_(importMobileRecords) {}

QString MobileDiaryImport::exchangeFolder() { return userEnvironmentFolder(); }

QString MobileDiaryImport::logPathFor(const QString& folder, const QDate& day) {
  return folder + u'/' + QString::asprintf("%04d%02d%02d.log", day.year(), day.month(), day.day());
}

MobileImportReport MobileDiaryImport::run() {
  MobileImportReport report;
  // Start.
  const QString folder = exchangeFolder();
  // Without a documents folder there is no settings file (empty path).
  mobile::ServerExchange server(mobile::readServerSettings(wxfetchIniPath()),
                                [this] { feedback_.idle(); });
  const TempFileResult temp = createTempFile(folder, kTempPrefix);
  if (!temp.ok()) {
    showNumbered(mobile::kMsgTempFileName,
                 mobile::tempFileNameText(windowsErrorText(windowsErrorFromErrno(temp.error))));
    return report;
  }
  const TempFileGuard removeTemp(temp.path);
  report.logPath = logPathFor(folder, today_);
  QStringList materialNames;
  try {
    materialNames = readMaterialNames(diary_);
  } catch (const CDaoException&) {
    CErrMsg().Disp(kMsgReadFailed, 1);
    return report;
  }
  if (!feedback_.open()) {
    showMessage(mobile::memoryShortText(), kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
    return report;
  }
  report.ran = true;
  feedback_.setPos(0);

  if (!server.logon()) {
    report.outcome = 1;
  } else {
    feedback_.setPos(kAfterLogon);
    bool imported = false;
    {
      const WaitCursor wait(feedback_);
      const long count = server.download(temp.path);
      if (count > 0) {
        feedback_.setPos(kImportStart);
        report.counts = importer_(diary_, temp.path, report.logPath, materialNames,
                                  [this](int pos) { feedback_.setPos(pos); });
        imported = report.counts.success;
      }
      report.failed = count < 0 || (count > 0 && !imported);
    }
    // The records are deleted on the server only when every one of them is
    // stored or logged; otherwise they stay for the next run.
    if (!imported) {
      report.outcome = 2;
    } else if (server.clear()) {
      report.cleared = true;
      feedback_.setPos(kDone);
      report.outcome = 0;
    } else {
      report.outcome = 3;
    }
  }

  report.summary = mobile::summaryText(report.outcome, report.failed, report.counts.stored,
                                       report.counts.rejected, report.counts.duplicates,
                                       report.logPath);
  if (!report.summary.isEmpty()) feedback_.showSummary(report.summary, report.outcome);
  feedback_.close();
  return report;
}

MobileImportReport runMobileDiaryImport(CDaoDatabase& diary, MobileImportFeedback& feedback) {
  try {
    MobileDiaryImport exchange(diary, feedback);
    return exchange.run();
  } catch (const std::bad_alloc&) {
    showMessage(mobile::memoryShortText(), kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
    return MobileImportReport();
  }
}

}  // namespace hv6
