#pragma once
// Certificates for a local HTTPS server, made afresh in a folder: a test
// certificate authority and server certificates it signed (for 127.0.0.1
// and localhost unless said otherwise). Point the HTTP layer at caFile()
// (hv6::inet::testing::setCaFile) to trust the authority.

#include <QString>
#include <QStringList>

namespace hv6test {

struct ServerCertificate {
  QString certFile;
  QString keyFile;
};

class TestCertificates {
 public:
  // Writes the authority's certificate and key into folder; empty caFile()
  // when that failed.
  explicit TestCertificates(const QString& folder);

  const QString& caFile() const { return caFile_; }

  // A server certificate signed by the authority, named by subject
  // alternative names ("IP:127.0.0.1", "DNS:localhost"), valid from
  // notBeforeDays to notAfterDays days from now. Empty files on failure.
  ServerCertificate issue(const QString& baseName,
                          const QStringList& names = {QStringLiteral("IP:127.0.0.1"),
                                                      QStringLiteral("DNS:localhost")},
                          int notBeforeDays = -1, int notAfterDays = 30) const;

 private:
  QString folder_;
  QString caFile_;
  QString caKeyFile_;
};

}  // namespace hv6test
