#include "install/demo/farmdiary.h"

#include <gtest/gtest.h>

#include "tests/install/demo/demo_fixture.h"

namespace {

TEST(FarmDiaryRtfTest, EscapesRtfCharactersAndWritesCodePage932Bytes) {
  // ソ is 83 5C in code page 932: its second byte is a backslash.
  const QByteArray rtf =
      hv6::demo::farmDiaryRtf({QStringLiteral("ソース {a} \\ b"), QStringLiteral("晴れ")});
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg932"));
  EXPECT_TRUE(rtf.contains("\\'83\\'5c"));
  EXPECT_TRUE(rtf.contains("\\{a\\} \\\\ b\\par"));
  bool ok = false;
  EXPECT_EQ(demotest::rtfText(rtf, &ok), QStringLiteral("ソース {a} \\ b\n晴れ\n"));
  EXPECT_TRUE(ok);
}

}  // namespace
