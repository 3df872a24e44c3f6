#pragma once
// The per-user copy of the environment files and the machine-wide copy of
// the demo data, made when the frame is created.
//
// The per-user folder holds "wxfetch.ini" with the connection password, so
// it and its files are private to the user (0700/0600). The demo folder is
// shared by every user of the machine: anyone may open the demo databases
// writable, so "demodata" is a sticky folder everyone may write (01777,
// like /tmp) and its files are 0666. A copied file takes the permission
// class of its folder (the folder's mode without the execute bits).
//
// Every copy is atomic: the file is built under a temporary name and renamed
// into place, so a failed copy never leaves half a file. A copy never writes
// through a symbolic link.

#include <QString>
#include <QStringList>

namespace hv6 {

class AppRegistry;

// Documents (special folder 5) + "/Velqor/HV6P".
QString userEnvironmentFolder();
// Documents of all users (special folder 46) + "/Velqor/HV6P".
QString demoBaseFolder();
// demoBaseFolder() + "/demodata".
QString demoDataFolder();

// Copies when the target is missing or overwrite is set; an existing target
// without overwrite counts as success. False when the source is missing or
// the copy failed.
bool plainCopy(const QString& source, const QString& target, bool overwrite);

// Copies when overwrite is set, when the source's VER (section
// FILE_INFORMATION, up to 20 characters) is greater as text than the
// target's ("1.9" > "1.10"), or when the source has no VER and the target is
// missing; otherwise success without copying. False when the source is
// missing or the copy failed.
bool versionedCopy(const QString& source, const QString& target, bool overwrite);

// The frame's environment step: reads OverWriteEnv and OverWriteDemo of
// Environment (missing counts as 0) and writes both back as 0, copies the
// environment files into the per-user folder, creates its "pform" folder and
// copies the demo data into demoDataFolder(). Failures are not reported.
void copyEnvironment(const QString& programFolder, AppRegistry& registry);

// The environment files of the program folder, in copy order.
QStringList environmentFileNames();

// The per-user part of copyEnvironment: true when every file was copied or
// already in place and "pform" exists.
bool copyUserEnvironment(const QString& programFolder, bool overwrite);

// The demo part: every "*.RTF", "*.BRN", "*.FED", "*.FMP", "*.HV6", "*.BMP"
// file (letter case ignored) of programFolder + "/demodata" into
// demoDataFolder() by the plain rule. True when every file was copied or
// already in place.
bool copyDemoData(const QString& programFolder, bool overwrite);

// Creates demoBaseFolder() and demoDataFolder() with their modes when
// missing; true when both are folders.
bool prepareDemoFolder();

// Gives every file directly in demoDataFolder() the folder's permission
// class, as a copy into it gets: for demo data generated there in place.
// True when every file took it.
bool shareDemoFiles();

}  // namespace hv6
