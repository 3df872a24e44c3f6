#include "outside/vqbase106/vqmath.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString real(double value, int decimals, int round, int comma = 0) {
  QString out = QStringLiteral("failed");
  CVqmath::MathtoChar(value, out, comma, decimals, round);
  return out;
}

TEST(CVqmath, WholeNumbers) {
  QString out;
  EXPECT_EQ(CVqmath::MathtoChar(-1234567L, out, 0), 0);
  EXPECT_EQ(out, QStringLiteral("-1234567"));
  EXPECT_EQ(CVqmath::MathtoChar(-1234567L, out, 1), 0);
  EXPECT_EQ(out, QStringLiteral("-1,234,567"));
}

TEST(CVqmath, RoundingModes) {
  using M = CVqmath;
  EXPECT_EQ(real(2.675, 2, M::kRoundHalfUp), QStringLiteral("2.68"));  // binary 2.67499...
  EXPECT_EQ(real(1.005, 2, M::kRoundHalfUp), QStringLiteral("1.01"));
  EXPECT_EQ(real(9.995, 2, M::kRoundHalfUp), QStringLiteral("10.00"));
  EXPECT_EQ(real(-2.5, 0, M::kRoundHalfUp), QStringLiteral("-3"));
  EXPECT_EQ(real(1.999, 2, M::kTruncate), QStringLiteral("1.99"));
  EXPECT_EQ(real(-1.999, 2, M::kTruncate), QStringLiteral("-1.99"));
  EXPECT_EQ(real(0.1 + 0.2, 2, M::kTruncate), QStringLiteral("0.30"));
  EXPECT_EQ(real(-1.001, 2, M::kRoundUp), QStringLiteral("-1.01"));
  EXPECT_EQ(real(0.0000001, 3, M::kRoundHalfUp), QStringLiteral("0.000"));
}

TEST(CVqmath, SignsAndSeparators) {
  EXPECT_EQ(real(-0.001, 2, CVqmath::kRoundHalfUp), QStringLiteral("0.00"));
  EXPECT_EQ(real(-0.005, 2, CVqmath::kRoundHalfUp), QStringLiteral("-0.01"));
  EXPECT_EQ(real(1234567.891, 2, CVqmath::kRoundHalfUp, 1), QStringLiteral("1,234,567.89"));
  EXPECT_EQ(real(-999999.995, 2, CVqmath::kRoundHalfUp, 1), QStringLiteral("-1,000,000.00"));
}

TEST(CVqmath, FailuresLeaveTheTextAlone) {
  EXPECT_EQ(real(std::numeric_limits<double>::quiet_NaN(), 2, 0), QStringLiteral("failed"));
  EXPECT_EQ(real(-std::numeric_limits<double>::infinity(), 2, 0), QStringLiteral("failed"));
  EXPECT_EQ(real(1e15, 2, 0), QStringLiteral("failed"));
  EXPECT_EQ(real(999999999999999.0, 0, 0), QStringLiteral("999999999999999"));
  EXPECT_EQ(real(1.5, -1, 0), QStringLiteral("failed"));
  EXPECT_EQ(real(1.5, 10, 0), QStringLiteral("failed"));
  EXPECT_EQ(real(1.5, 2, 3), QStringLiteral("failed"));
}

}  // namespace
