// A module with its own copy of the database layer, as the tool libraries
// carry one: it opens a database several times and keeps the connections
// open until asked to close them.
#include "platform/dao/database.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<CDaoDatabase>> gDatabases;
QByteArray gNames;

}  // namespace

// The connection names, separated by blanks.
extern "C" __attribute__((visibility("default"))) const char* hv6_test_open(const char* path,
                                                                            int count) {
  QStringList names;
  for (int i = 0; i < count; ++i) {
    gDatabases.push_back(std::make_unique<CDaoDatabase>());
    gDatabases.back()->Open(QString::fromUtf8(path));
    names << gDatabases.back()->connectionName();
  }
  gNames = names.join(u' ').toUtf8();
  return gNames.constData();
}

extern "C" __attribute__((visibility("default"))) void hv6_test_close() { gDatabases.clear(); }
