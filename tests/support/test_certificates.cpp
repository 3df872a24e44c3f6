#include "tests/support/test_certificates.h"

#include <QDir>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace hv6test {
namespace {

struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertFree {
  void operator()(X509* cert) const { X509_free(cert); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Cert = std::unique_ptr<X509, CertFree>;

constexpr long kSecondsPerDay = 24 * 60 * 60;

bool addExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!extension) return false;
  const bool added = X509_add_ext(cert, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

// An unsigned certificate for key with common name cn, issued by issuer
// (by itself when issuer is null).
Cert makeCertificate(EVP_PKEY* key, const char* cn, X509* issuer, long serial, int notBeforeDays,
                     int notAfterDays) {
  Cert cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), notBeforeDays * kSecondsPerDay);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), notAfterDays * kSecondsPerDay);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char*>(cn),
                             -1, -1, 0);
  X509_set_issuer_name(cert.get(), issuer ? X509_get_subject_name(issuer) : name);
  return cert;
}

bool sign(X509* cert, EVP_PKEY* key) { return X509_sign(cert, key, EVP_sha256()) > 0; }

bool writeCertificate(const QString& path, X509* cert) {
  BIO* bio = BIO_new_file(QFile::encodeName(path).constData(), "w");
  if (!bio) return false;
  const bool ok = PEM_write_bio_X509(bio, cert) == 1;
  BIO_free(bio);
  return ok;
}

bool writeKey(const QString& path, EVP_PKEY* key) {
  BIO* bio = BIO_new_file(QFile::encodeName(path).constData(), "w");
  if (!bio) return false;
  const bool ok = PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
  BIO_free(bio);
  return ok;
}

Cert readCertificate(const QString& path) {
  BIO* bio = BIO_new_file(QFile::encodeName(path).constData(), "r");
  if (!bio) return nullptr;
  Cert cert(PEM_read_bio_X509(bio, nullptr, nullptr, nullptr));
  BIO_free(bio);
  return cert;
}

Key readKey(const QString& path) {
  BIO* bio = BIO_new_file(QFile::encodeName(path).constData(), "r");
  if (!bio) return nullptr;
  Key key(PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr));
  BIO_free(bio);
  return key;
}

}  // namespace

TestCertificates::TestCertificates(const QString& folder) : folder_(folder) {
  Key key(EVP_EC_gen("P-256"));
  if (!key) return;
  Cert cert = makeCertificate(key.get(), "hv6 test authority", nullptr, 1, -1, 30);
  if (!cert || !addExtension(cert.get(), cert.get(), NID_basic_constraints, "critical,CA:TRUE") ||
      !addExtension(cert.get(), cert.get(), NID_key_usage, "critical,keyCertSign,cRLSign") ||
      !sign(cert.get(), key.get()))
    return;
  const QString certFile = QDir(folder).filePath(QStringLiteral("ca.pem"));
  const QString keyFile = QDir(folder).filePath(QStringLiteral("ca-key.pem"));
  if (!writeCertificate(certFile, cert.get()) || !writeKey(keyFile, key.get())) return;
  caFile_ = certFile;
  caKeyFile_ = keyFile;
}

ServerCertificate TestCertificates::issue(const QString& baseName, const QStringList& names,
                                          int notBeforeDays, int notAfterDays) const {
  if (caFile_.isEmpty()) return {};
  Cert ca = readCertificate(caFile_);
  Key caKey = readKey(caKeyFile_);
  Key key(EVP_EC_gen("P-256"));
  if (!ca || !caKey || !key) return {};
  static long serial = 100;
  Cert cert = makeCertificate(key.get(), "hv6 test server", ca.get(), ++serial, notBeforeDays,
                              notAfterDays);
  const QByteArray altNames = names.join(QLatin1Char(',')).toUtf8();
  if (!cert || !addExtension(cert.get(), ca.get(), NID_subject_alt_name, altNames.constData()) ||
      !sign(cert.get(), caKey.get()))
    return {};
  ServerCertificate files{QDir(folder_).filePath(baseName + QStringLiteral(".pem")),
                          QDir(folder_).filePath(baseName + QStringLiteral("-key.pem"))};
  if (!writeCertificate(files.certFile, cert.get()) || !writeKey(files.keyFile, key.get()))
    return {};
  return files;
}

}  // namespace hv6test
