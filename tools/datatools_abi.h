/*
 * The data tools' libraries as the program binds them at run time.
 *
 * Four MODULE libraries live in the program folder (the Environment value
 * InstallPath) and are loaded by file name, looked up by export name, called
 * once and unloaded right after the call:
 *
 *   file (as the program names it)  export            what it does
 *   "hrvinit6.dll"                  NewMakeData       new data
 *   "savedata6.DLL"                 DataBackup        backup
 *   "loaddata6.DLL"                 DataRestore       restore
 *   "fixdata6.DLL"                  DataMaintenance   maintenance
 *
 * Here a name "x.dll" stands for the module "libx.so" (platform/module.h).
 * The exports are plain C functions (no C++ name mangling); every library
 * implementation includes this header so that its definitions are checked
 * against the declarations below.
 *
 * What the caller guarantees during every call: Environment\BaseInfo Access
 * is 1, the other programs of the system were asked to close, and the
 * calling program has closed both of its databases. No data path is handed
 * over: a library reads DataPath, WeatherDataPath and the rest from the
 * settings (the registry root named by CurrentKEY) itself. A library that
 * shows windows runs them modally on the caller's thread, on the caller's
 * QApplication, and returns when they are closed.
 *
 * Texts are UTF-8, NUL-terminated; a null pointer counts as an empty text.
 */
#ifndef HV6_TOOLS_DATATOOLS_ABI_H
#define HV6_TOOLS_DATATOOLS_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define HV6_TOOL_EXPORT __attribute__((visibility("default")))
#else
#define HV6_TOOL_EXPORT
#endif

/* Library file names, as the program names them (see platform/module.h). */
#define HV6_LIB_NEWDATA "hrvinit6.dll"
#define HV6_LIB_BACKUP "savedata6.DLL"
#define HV6_LIB_RESTORE "loaddata6.DLL"
#define HV6_LIB_MAINTENANCE "fixdata6.DLL"
/* The enquiry program, started (not loaded) from the same folder. */
#define HV6_PROGRAM_HELPDESK "helpdesk.EXE"

/* Export names. */
#define HV6_EXPORT_NEWDATA "NewMakeData"
#define HV6_EXPORT_BACKUP "DataBackup"
#define HV6_EXPORT_RESTORE "DataRestore"
#define HV6_EXPORT_MAINTENANCE "DataMaintenance"

/* ------------------------------------------------------------------ */
/* Launcher entries: the twenty entries "MenuBar\Item1".."Item20" of the
 * calendar view, one array of HV6_LAUNCHER_COUNT entries of 784 bytes. */

#define HV6_LAUNCHER_COUNT 20
#define HV6_LAUNCHER_TEXT 256
#define HV6_LAUNCHER_ENTRY_SIZE 784

typedef struct Hv6LauncherEntry {
  char name[HV6_LAUNCHER_TEXT]; /* value Name: the program's name for the user */
  char icon[HV6_LAUNCHER_TEXT]; /* value Icon: the picture or program file of its button */
  char exe[HV6_LAUNCHER_TEXT];  /* value Exe: the command text that starts it */
  uint32_t incorporate;         /* value Incorporate: nonzero = installed, offered */
  uint32_t toolMenu;            /* value ToolMenu: 1 = listed in the Tools menu */
  int32_t commandId;            /* 10000 + entry number (1..20) */
  int32_t helpId;               /* 1223 + entry number */
} Hv6LauncherEntry;

#ifdef __cplusplus
static_assert(sizeof(Hv6LauncherEntry) == HV6_LAUNCHER_ENTRY_SIZE, "launcher entry layout");
#else
_Static_assert(sizeof(Hv6LauncherEntry) == HV6_LAUNCHER_ENTRY_SIZE, "launcher entry layout");
#endif

/* ------------------------------------------------------------------ */
/* hrvinit6: new data.
 *
 * entries: the caller's current HV6_LAUNCHER_COUNT entries (read only).
 * count:   HV6_LAUNCHER_COUNT.
 * mode:    HV6_NEWDATA_COMMAND from the menu command "新規作成",
 *          HV6_NEWDATA_FIRSTSTART from "新規に作成する。" of the first-start
 *          dialog, HV6_NEWDATA_CONVERT from "HarvoV3、V5/V5プラスからコンバー
 *          トする。" (the diary of an older edition, chosen by the user, is
 *          converted into the new data folder).
 *
 * Shows its own dialog. When a new data folder was made (both databases
 * created, DataPath and WeatherDataPath pointing at it) it returns
 * HV6_LAUNCHER_COUNT entries for the caller to take over; the storage
 * belongs to the library and stays valid until the library is unloaded, so
 * the caller copies it first. Null when nothing was made (cancelled or
 * failed; a failure was already shown). */
#define HV6_NEWDATA_COMMAND 0
#define HV6_NEWDATA_FIRSTSTART 1
#define HV6_NEWDATA_CONVERT 2

typedef const Hv6LauncherEntry* (*Hv6NewMakeDataFn)(const Hv6LauncherEntry* entries, int32_t count,
                                                     int32_t mode);
HV6_TOOL_EXPORT const Hv6LauncherEntry* NewMakeData(const Hv6LauncherEntry* entries,
                                                    int32_t count, int32_t mode);

/* ------------------------------------------------------------------ */
/* Results of DataBackup, DataRestore and DataMaintenance. The calendar
 * program ignores them; the command-line forms (hv6 --backup FILE,
 * hv6 --restore FILE) turn them into the exit status (0 on success). */
#define HV6_TOOL_DONE 0       /* the work was done */
#define HV6_TOOL_CANCELLED -1 /* the user cancelled; nothing was changed */
/* Any positive result: the number of the message that was shown for the
 * failure (errtext6); nothing was changed and no partial file is left. */

/* savedata6: backup.
 *
 * backupFile: the backup file to write. The program's menu command passes
 *             an empty text: the library shows its dialog, where the user
 *             chooses the file (default "HV6バックアップ_yyyymmdd.hv6bak" in
 *             the documents folder) and sees progress. A non-empty text
 *             means "hv6 --backup FILE": no window at all, the file is
 *             written as named, messages go to standard error as
 *             "[number] text".
 * reserved2, reserved3, reserved4: empty texts, kept for the caller's
 *             argument list; a library ignores them.
 * Returns HV6_TOOL_DONE, HV6_TOOL_CANCELLED or a message number. */
typedef int32_t (*Hv6DataBackupFn)(const char* backupFile, const char* reserved2,
                                   const char* reserved3, const char* reserved4);
HV6_TOOL_EXPORT int32_t DataBackup(const char* backupFile, const char* reserved2,
                                   const char* reserved3, const char* reserved4);

/* loaddata6: restore.
 *
 * backupFile: the backup file to restore. Empty from the menu command: the
 *             library's dialog lets the user pick the file and shows what it
 *             holds. Non-empty means "hv6 --restore FILE": no window,
 *             messages to standard error as "[number] text".
 * reserved2, reserved3: empty texts; a library ignores them.
 * Returns HV6_TOOL_DONE, HV6_TOOL_CANCELLED or a message number. */
typedef int32_t (*Hv6DataRestoreFn)(const char* backupFile, const char* reserved2,
                                    const char* reserved3);
HV6_TOOL_EXPORT int32_t DataRestore(const char* backupFile, const char* reserved2,
                                    const char* reserved3);

/* fixdata6: maintenance.
 *
 * parentWindow: the calling program's calendar view (a QWidget*), the
 *               parent of the library's dialog; may be null.
 * flags:        0.
 * Returns HV6_TOOL_DONE, HV6_TOOL_CANCELLED or a message number. */
typedef int32_t (*Hv6DataMaintenanceFn)(void* parentWindow, int32_t flags);
HV6_TOOL_EXPORT int32_t DataMaintenance(void* parentWindow, int32_t flags);

#ifdef __cplusplus
}
#endif

#endif /* HV6_TOOLS_DATATOOLS_ABI_H */
