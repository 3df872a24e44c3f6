// A stand-in for the four tool libraries: each export appends a line with
// its name and arguments to the file HV6_TOOL_RECORD names. NewMakeData
// returns twenty entries named "made 1".."made 20" unless HV6_TOOL_NEWDATA
// is "null".
#include "tools/datatools_abi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void record(const char* line) {
  const char* path = std::getenv("HV6_TOOL_RECORD");
  if (!path) return;
  if (std::FILE* file = std::fopen(path, "a")) {
    std::fputs(line, file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

Hv6LauncherEntry made[HV6_LAUNCHER_COUNT];

}  // namespace

extern "C" {

const Hv6LauncherEntry* NewMakeData(const Hv6LauncherEntry* entries, int32_t count, int32_t mode) {
  char line[400];
  std::snprintf(line, sizeof line, "NewMakeData %d %d first=%s", int(count), int(mode),
                entries ? entries[0].name : "(null)");
  record(line);
  const char* choice = std::getenv("HV6_TOOL_NEWDATA");
  if (choice && std::strcmp(choice, "null") == 0) return nullptr;
  for (int i = 0; i < HV6_LAUNCHER_COUNT; ++i) {
    made[i] = Hv6LauncherEntry{};
    std::snprintf(made[i].name, sizeof made[i].name, "made %d", i + 1);
    made[i].incorporate = 1;
    made[i].commandId = 10001 + i;
    made[i].helpId = 1224 + i;
  }
  return made;
}

int32_t DataBackup(const char* a, const char* b, const char* c, const char* d) {
  char line[200];
  std::snprintf(line, sizeof line, "DataBackup [%s][%s][%s][%s]", a, b, c, d);
  record(line);
  return HV6_TOOL_DONE;
}

int32_t DataRestore(const char* a, const char* b, const char* c) {
  char line[200];
  std::snprintf(line, sizeof line, "DataRestore [%s][%s][%s]", a, b, c);
  record(line);
  return HV6_TOOL_DONE;
}

int32_t DataMaintenance(void* parentWindow, int32_t flags) {
  char line[200];
  std::snprintf(line, sizeof line, "DataMaintenance %s %d", parentWindow ? "view" : "null",
                int(flags));
  record(line);
  return HV6_TOOL_DONE;
}

}  // extern "C"
