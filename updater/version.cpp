#include "updater/version.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>

namespace hv6::updater {
namespace {

bool isNumber(const QString& part) {
  return !part.isEmpty() &&
         std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The parts when every one is a number; empty otherwise.
QStringList numericParts(const QString& version) {
  const QStringList parts = version.split(u'.');
  return std::all_of(parts.begin(), parts.end(), isNumber) ? parts : QStringList();
}

int sign(qsizetype value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// Two decimal numbers of any length: without leading zeros, the longer
// is the larger, and equal lengths compare digit by digit.
int compareNumbers(QString a, QString b) {
  while (a.size() > 1 && a.front() == u'0') a.remove(0, 1);
  while (b.size() > 1 && b.front() == u'0') b.remove(0, 1);
  if (a.size() != b.size()) return sign(a.size() - b.size());
  return sign(a.compare(b));
}

int compareBytes(const QString& a, const QString& b) {
  const QByteArray left = a.toUtf8();
  const QByteArray right = b.toUtf8();
  return sign(left.compare(right));  // unsigned bytes; a prefix is smaller
}

}  // namespace

int compareVersions(const QString& a, const QString& b) {
  const QStringList left = numericParts(a);
  const QStringList right = numericParts(b);
  if (left.isEmpty() || right.isEmpty()) return compareBytes(a, b);
  const qsizetype common = std::min(left.size(), right.size());
  for (qsizetype i = 0; i < common; ++i)
    if (const int order = compareNumbers(left.at(i), right.at(i)); order != 0) return order;
  return sign(left.size() - right.size());
}

}  // namespace hv6::updater
