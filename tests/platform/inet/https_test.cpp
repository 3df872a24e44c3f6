#include "platform/inet/inet.h"
#include "platform/inet/testing.h"
#include "tests/support/local_http_server.h"
#include "tests/support/test_certificates.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using hv6test::LocalHttpServer;
using hv6test::ServerCertificate;
using hv6test::TestCertificates;

class Https : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_FALSE(certificates.caFile().isEmpty());
    qunsetenv("https_proxy");
    qunsetenv("HTTPS_PROXY");
    qunsetenv("all_proxy");
    qunsetenv("ALL_PROXY");
  }
  void TearDown() override { hv6::inet::testing::setCaFile(QString()); }

  // Starts an HTTPS server with the certificate and returns the first line
  // of /iHV/LogonHV.asp, or the WinInet error.
  std::pair<QByteArray, DWORD> logon(const ServerCertificate& certificate, bool viaUrl) {
    EXPECT_FALSE(certificate.certFile.isEmpty());
    LocalHttpServer server(certificate.certFile, certificate.keyFile);
    server.get("/iHV/LogonHV.asp", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("1\r\n", "text/plain");
    });
    EXPECT_TRUE(server.start());
    CInternetSession session(QStringLiteral("HV6"));
    try {
      std::unique_ptr<CHttpFile> file;
      if (viaUrl) {
        file = session.OpenURL(server.baseUrl() + QStringLiteral("/iHV/LogonHV.asp?UID=a&PWD=b"));
      } else {
        auto connection = session.GetHttpConnection(server.host(), INTERNET_FLAG_SECURE,
                                                    static_cast<INTERNET_PORT>(server.port()));
        file =
            connection->OpenRequest(HTTP_VERB_GET, QStringLiteral("iHV/LogonHV.asp?UID=a&PWD=b"));
        file->SendRequest();
      }
      QByteArray line;
      file->ReadString(line);
      return {line, 0};
    } catch (const CInternetException& e) {
      return {QByteArray(), e.m_dwError};
    }
  }

  QTemporaryDir dir;
  TestCertificates certificates{dir.path()};
};

TEST_F(Https, CertificateOfATrustedAuthorityIsAccepted) {
  hv6::inet::testing::setCaFile(certificates.caFile());
  const ServerCertificate good = certificates.issue(QStringLiteral("good"));
  for (bool viaUrl : {false, true}) {
    const auto [line, error] = logon(good, viaUrl);
    EXPECT_EQ(error, 0u) << viaUrl;
    EXPECT_EQ(line, "1") << viaUrl;
  }
}

TEST_F(Https, CertificateProblemsHaveTheirOwnNumbers) {
  // The test authority is not in the system's store.
  EXPECT_EQ(logon(certificates.issue(QStringLiteral("unknown")), false).second,
            ERROR_INTERNET_INVALID_CA);

  hv6::inet::testing::setCaFile(certificates.caFile());
  EXPECT_EQ(logon(certificates.issue(QStringLiteral("expired"), {QStringLiteral("IP:127.0.0.1")},
                                     -30, -1),
                  true)
                .second,
            ERROR_INTERNET_SEC_CERT_DATE_INVALID);
  EXPECT_EQ(
      logon(certificates.issue(QStringLiteral("future"), {QStringLiteral("IP:127.0.0.1")}, 10, 30),
            true)
          .second,
      ERROR_INTERNET_SEC_CERT_DATE_INVALID);
  EXPECT_EQ(
      logon(certificates.issue(QStringLiteral("other"), {QStringLiteral("DNS:other.example")}),
            false)
          .second,
      ERROR_INTERNET_SEC_CERT_CN_INVALID);
}

}  // namespace
