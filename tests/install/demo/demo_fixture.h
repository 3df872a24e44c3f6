#pragma once
// Helpers of the demo tests: reading a generated demo back.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <set>

#include "platform/dao/dao.h"

namespace demotest {

// Every row of a table, one line of "|"-joined values; the demo folder in
// a text is replaced by "<folder>" so demos in two folders compare.
QStringList dumpTable(CDaoDatabase& db, const QString& table, const QString& folder);
// All tables of both databases of a demo folder, with their names.
QStringList dumpDemo(const QString& folder);

long scalar(CDaoDatabase& db, const QString& sql);
std::set<long> codes(CDaoDatabase& db, const QString& table,
                     const QString& column = QStringLiteral("Code"));

// The text of an RTF document decoded from code page 932; ok is false
// when it is not a well-formed RTF document.
QString rtfText(const QByteArray& rtf, bool* ok);

QByteArray readAll(const QString& path);

}  // namespace demotest
