#pragma once
// The settings a test's sales host reads: CurrentKEY "HV6" and, under it,
// the diary database of the test's data folder as DataPath.

#include "platform/registry.h"

#include <QString>

#include <gtest/gtest.h>

namespace hv6test {

inline void pointHostAtData(const QString& registryFile, const QString& diaryPath) {
  hv6::RegistryStore registry(registryFile);
  const QString root = QStringLiteral("Software\\Velqor\\HV6");
  const QString baseInfo = root + QStringLiteral("\\HV6\\Environment\\BaseInfo");
  ASSERT_EQ(registry.createKey(baseInfo), hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(root, QStringLiteral("CurrentKEY"), QStringLiteral("HV6")),
            hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(baseInfo, QStringLiteral("DataPath"), diaryPath),
            hv6::RegStatus::Ok);
}

}  // namespace hv6test
