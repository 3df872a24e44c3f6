#pragma once
// The report command of the sales host, without windows:
//   hv6-sales --report sales-daily|reservation-daily|shipping-schedule|
//             shipping-goods --from YYYYMMDD --to YYYYMMDD
//             (--pdf FILE | --csv FILE)
// It aggregates the slips of the date range (slip dates; the sales daily
// report over cash and credit slips, the reservation report over
// reservation slips, the shipping lists over every slip) as the windows do
// and writes the report as PDF or as CSV.
//
// Exit status: 0 when the file was written; 1 when nothing matches (the
// line "[835] <text>" on the error stream) or another numbered failure
// ("[number] <text>") or the file could not be written; 2 for wrong
// arguments (with the usage).

#include <QStringList>

class QTextStream;

namespace sl {
class CSelJetAccess;
}

namespace hv6::sales {

// True when the arguments ask for a report (they hold "--report").
bool isReportCommand(const QStringList& args);

// args: the program's arguments without the program itself. workFolder
// overrides the environment's work folder when not empty.
int runReportCommand(const QStringList& args, sl::CSelJetAccess& jet, QTextStream& err,
                     const QString& workFolder = {});

// The usage text.
QString reportCommandUsage();

}  // namespace hv6::sales
