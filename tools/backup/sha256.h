#pragma once
// SHA-256 of the data streamed through a backup or a restore, through
// OpenSSL's libcrypto (which uses the processor's SHA instructions where
// there are any: the hash must not be what limits a backup's speed).

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace hv6::backup {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void add(QByteArrayView data);
  // The digest as lower-case hex; the object is then spent.
  QByteArray hexResult();

  static QByteArray hexOf(QByteArrayView data);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace hv6::backup
