#pragma once
// Putting fields into the fixed-size rows of the work files and taking them
// out: numbers little-endian as the machine keeps them, texts in code page
// 932 cut to their field (never half a double-byte character) and padded
// with zeros.

#include "platform/codec.h"

#include <QByteArray>
#include <QString>

#include <cstring>

namespace hv6::sales::rowbytes {

template <typename T>
void put(QByteArray& row, int offset, T value) {
  std::memcpy(row.data() + offset, &value, sizeof(T));
}

template <typename T>
T get(const QByteArray& row, int offset) {
  T value{};
  std::memcpy(&value, row.constData() + offset, sizeof(T));
  return value;
}

// Stores at most size - 1 bytes of the text.
inline void putText(QByteArray& row, int offset, int size, const QString& text) {
  const QByteArray bytes = hv6::cp932::cut(hv6::cp932::encode(text), size - 1);
  std::memset(row.data() + offset, 0, static_cast<std::size_t>(size));
  std::memcpy(row.data() + offset, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString getText(const QByteArray& row, int offset, int size) {
  const char* start = row.constData() + offset;
  int length = 0;
  while (length < size && start[length] != 0) ++length;
  return hv6::cp932::decode(QByteArray(start, length));
}

}  // namespace hv6::sales::rowbytes
