#include "platform/inet/exception.h"

namespace {

std::string whatText(DWORD error, const QString& detail) {
  QString text = QStringLiteral("internet error %1").arg(error);
  if (!detail.isEmpty()) text += QStringLiteral(": ") + detail;
  return text.toStdString();
}

}  // namespace

CInternetException::CInternetException(DWORD error, DWORD_PTR context, QString detail)
    : std::runtime_error(whatText(error, detail)),
      m_dwError(error),
      m_dwContext(context),
      detail_(std::move(detail)) {}
