#include "tools/backup/sha256.h"

#include <openssl/evp.h>

namespace hv6::backup {

struct Sha256::State {
  EVP_MD_CTX* context = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  state_->context = EVP_MD_CTX_new();
  EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr);
}

Sha256::~Sha256() { EVP_MD_CTX_free(state_->context); }

void Sha256::add(QByteArrayView data) {
  EVP_DigestUpdate(state_->context, data.data(), static_cast<size_t>(data.size()));
}

QByteArray Sha256::hexResult() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(state_->context, digest, &length);
  return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

QByteArray Sha256::hexOf(QByteArrayView data) {
  Sha256 hash;
  hash.add(data);
  return hash.hexResult();
}

}  // namespace hv6::backup
