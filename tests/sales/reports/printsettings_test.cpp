// The printer settings of each report in the settings below the registry
// root: kept per report, read back, and refused without a root.
#include "platform/registry.h"
#include "sales/reports/printsettings.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

using hv6::sales::ReportPrintSettings;

TEST(PrintSettings, AreKeptPerReportUnderTheRoot) {
  hv6test::TestEnvironment env;
  hv6::RegistryStore store(env.registryFile());
  ReportPrintSettings settings;
  settings.printerName = QStringLiteral("事務所のプリンタ");
  settings.copies = 2;
  // No root yet: nothing is written.
  EXPECT_FALSE(hv6::sales::savePrintSettings(store, QStringLiteral("E20"), settings));

  const QString base = QStringLiteral("Software\\Velqor\\HV6");
  ASSERT_EQ(store.createKey(base + QStringLiteral("\\Farm2\\Environment")), hv6::RegStatus::Ok);
  ASSERT_EQ(store.writeString(base, QStringLiteral("CurrentKEY"), QStringLiteral("Farm2")),
            hv6::RegStatus::Ok);
  ASSERT_TRUE(hv6::sales::savePrintSettings(store, QStringLiteral("E20"), settings));
  ReportPrintSettings other;
  other.printerName = QStringLiteral("PDF");
  ASSERT_TRUE(hv6::sales::savePrintSettings(store, QStringLiteral("E50B"), other));

  ReportPrintSettings read;
  ASSERT_TRUE(hv6::sales::loadPrintSettings(store, QStringLiteral("E20"), read));
  EXPECT_EQ(read.printerName, QStringLiteral("事務所のプリンタ"));
  EXPECT_EQ(read.copies, 2);
  ASSERT_TRUE(hv6::sales::loadPrintSettings(store, QStringLiteral("E50B"), read));
  EXPECT_EQ(read.printerName, QStringLiteral("PDF"));
  EXPECT_EQ(read.copies, 1);
  EXPECT_FALSE(hv6::sales::loadPrintSettings(store, QStringLiteral("E40"), read));
  QString stored;
  ASSERT_EQ(store.readString(base + QStringLiteral("\\Farm2\\Environment"), QStringLiteral("PrintE20"),
                             stored),
            hv6::RegStatus::Ok);
  EXPECT_EQ(stored, QStringLiteral("事務所のプリンタ\t2"));
}

}  // namespace
