#include "platform/module.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

using AddFunction = int(int, int);

TEST(Module, AMissingModuleFailsWithItsName) {
  hv6::Module module;
  EXPECT_FALSE(module.load(QCoreApplication::applicationDirPath(), QStringLiteral("savedata6.dll")));
  EXPECT_FALSE(module.isLoaded());
  EXPECT_TRUE(module.errorText().contains(QStringLiteral("savedata6"))) << qPrintable(module.errorText());
  EXPECT_EQ(module.resolve("anything"), nullptr);
}

TEST(Module, ARealModuleResolvesItsExport) {
  for (const QString& name : {QStringLiteral("hv6_test_module"), QStringLiteral("hv6_test_module.dll")}) {
    hv6::Module module;
    ASSERT_TRUE(module.load(QCoreApplication::applicationDirPath(), name)) << qPrintable(module.errorText());
    AddFunction* add = module.function<AddFunction>("hv6_test_add");
    ASSERT_NE(add, nullptr) << qPrintable(module.errorText());
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(module.resolve("hv6_no_such_export"), nullptr);
    EXPECT_TRUE(module.errorText().contains(QStringLiteral("hv6_no_such_export")));
  }
}

}  // namespace

namespace {

// A Windows name stands for the module file of this platform; a folder
// with or without the file gives the file or nothing.
TEST(Module, LocateFindsTheFileAWindowsNameStandsFor) {
  const QString folder = QCoreApplication::applicationDirPath();
  const QString found = hv6::Module::locate(folder, QStringLiteral("HV6_TEST_MODULE.dll").toLower());
  EXPECT_TRUE(found.endsWith(QStringLiteral("/hv6_test_module.so"))) << qPrintable(found);
  EXPECT_EQ(hv6::Module::locate(folder, QStringLiteral("hv6_test_module.DLL")), found);
  EXPECT_TRUE(hv6::Module::locate(folder, QStringLiteral("savedata6.DLL")).isEmpty());
  EXPECT_TRUE(hv6::Module::locate(folder, QString()).isEmpty());
}

}  // namespace
