#pragma once
// Windows system error texts, held by the program itself in place of
// FormatMessage, and the Windows system error code a POSIX errno stands for,
// so a failed file operation is reported with the Windows wording the users'
// documentation describes.

#include <QString>

#include <span>

namespace hv6 {

// One published Windows system error message: its code and its English text.
struct WindowsErrorEntry {
  unsigned long code;
  const char* text;
};

// The table of texts, sorted by code without repeats: the codes of winerror.h
// from ERROR_SUCCESS (0) to ERROR_NO_BROWSER_SERVERS_FOUND (6118).
std::span<const WindowsErrorEntry> windowsErrorTable();

// The text of a Windows system error code; "予想外のWin32 APIエラーが発生しました。"
// for a code outside the table.
QString windowsErrorText(unsigned long code);

// What windowsErrorFromErrno() gives for an errno with no Windows code of its
// own: a code outside the table, so its text is the one for unexpected errors.
inline constexpr unsigned long kUnmappedErrno = 0xFFFFFFFFul;

// The Windows system error code a file operation would have reported for the
// POSIX error: ENOENT gives ERROR_FILE_NOT_FOUND (2), EACCES
// ERROR_ACCESS_DENIED (5), ENOSPC ERROR_DISK_FULL (112) and so on; 0 gives
// ERROR_SUCCESS.
unsigned long windowsErrorFromErrno(int error);

}  // namespace hv6
