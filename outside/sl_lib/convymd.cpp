#include "outside/sl_lib/convymd.h"

#include "outside/vqbase106/vqdate.h"

namespace sl {

long CConvYmd::GetNowDate() {
  long today = 0;
  CVqdate::GetDate(today);
  return today;
}

QString CConvYmd::ConvSpDate(long date, int style) {
  QString out;
  if (CVqdate::DateCheck(date) != 0) return {};
  const int failed = style == kDateEra ? CVqdate::WarekiForm(out, date, 0)
                                       : CVqdate::SeirekiForm(out, date, 0);
  return failed ? QString() : out;
}

int CConvYmd::ConvSeireki(const QString& text, int style, long& out) {
  if (style == kDateEra) {
    for (int form = 0; form <= 3; ++form)
      if (CVqdate::ToConvSeireki(out, text, form) == 0) return 0;
    return 1;
  }
  QString digits = text.trimmed();
  if (digits.size() == 10 && digits.at(4) == u'/' && digits.at(7) == u'/')
    digits = digits.left(4) + digits.mid(5, 2) + digits.mid(8, 2);
  if (digits.size() != 8) return 1;
  bool ok = false;
  const long date = digits.toLong(&ok);
  if (!ok || CVqdate::DateCheck(date) != 0) return 1;
  out = date;
  return 0;
}

int CConvYmd::ConvWareki(long date, long& out) { return CVqdate::ToConvWareki(out, date); }

int CConvYmd::ConvSeireki(long wareki, long& out) { return CVqdate::ToConvSeireki(out, wareki); }

}  // namespace sl
