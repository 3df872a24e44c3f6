#include "platform/inet/version.h"

#include <QByteArray>

namespace hv6::inet {
namespace {

// The known release boundaries, tested in this order: the whole version
// text below a bound gives 0, its first seven characters below a bound
// give 1.
struct Bound {
  bool wholeText;
  const char* bound;
  int result;
};

constexpr Bound kBounds[] = {
    {true, "5.00.3526.0800", 0},
    {false, "5.00.37", 1},
    {true, "5.00.3813.0800", 0},
    {false, "5.50.00", 1},
    {true, "5.50.4937.0800", 0},
    {false, "6.00.00", 1},
    {true, "6.00.2737.0800", 0},
    {false, "6.00.28", 1},
    {true, "6.00.2800.1400", 0},
};

}  // namespace

QString wininetVersionText() { return QStringLiteral("0.0.0.0"); }

int wininetVersionRule(const QString& version) {
  const QByteArray text = version.toLatin1();
  const qsizetype dot = text.indexOf('.');
  const QByteArray major = dot < 0 ? text : text.left(dot);
  bool ok = false;
  if (major.size() >= 2 && major.toInt(&ok) > 9 && ok) return 1;

  const QByteArray prefix = text.left(7);
  for (const Bound& b : kBounds) {
    const QByteArray& compared = b.wholeText ? text : prefix;
    if (compared < QByteArray(b.bound)) return b.result;
  }
  return 1;
}

bool useFullUrl() { return wininetVersionRule(wininetVersionText()) == 1; }

}  // namespace hv6::inet
