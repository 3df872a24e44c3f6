#pragma once
// The messages of the exchange with the mobile diary service: the numbered
// strings, the texts of WinInet's error numbers and the summary of a run.

#include <QString>

#include <cstdint>

namespace hv6::mobile {

// Numbered strings of the exchange.
inline constexpr long kMsgTempFileName = 8001;  // the temporary file name could not be made
inline constexpr long kMsgOutOfMemory = 8004;
inline constexpr long kMsgCannotOpenUrl = 8006;
inline constexpr long kMsgUnknownError = 8009;
inline constexpr long kMsgCommunication = 8011;

// 8001 with the text of the Windows error code the call reported.
QString tempFileNameText(const QString& systemErrorText);
// 8006 with the configured server.
QString cannotOpenUrlText(const QString& server);
// 8011 with the text of the WinInet error number.
QString communicationText(std::uint32_t internetError);
QString outOfMemoryText();
QString unknownErrorText();

// The text of a WinInet error number (12001-12048); "予想外の通信エラーが発生
// しました。" for every other number, 12035 included.
QString internetErrorText(std::uint32_t internetError);

// Texts of the program's own.
QString memoryShortText();       // the exchange or its window could not be made
QString nothingOnServerText();   // the server holds no records
QString receiveErrorText();      // the download ended with a line other than the end mark

// The summary box of an outcome. Outcome 0 gives the stored count (when
// above 0) and the rejected and duplicate lines with the log (when any);
// outcome 2 gives its text only when something failed. Empty when there is
// nothing to show.
QString summaryText(int outcome, bool failed, long stored, long rejected, long duplicates,
                    const QString& logPath);

}  // namespace hv6::mobile
