#include "platform/syserror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

namespace {

const QString kUnexpected = QStringLiteral("予想外のWin32 APIエラーが発生しました。");

// Published texts that end without a period.
const std::set<unsigned long> kNoPeriod = {1254, 1904, 6118};

TEST(WindowsErrorText, GivesThePublishedTexts) {
  EXPECT_EQ(hv6::windowsErrorText(0), QStringLiteral("The operation completed successfully."));
  EXPECT_EQ(hv6::windowsErrorText(2), QStringLiteral("The system cannot find the file specified."));
  EXPECT_EQ(hv6::windowsErrorText(5), QStringLiteral("Access is denied."));
  EXPECT_EQ(hv6::windowsErrorText(112), QStringLiteral("There is not enough space on the disk."));
  EXPECT_EQ(hv6::windowsErrorText(1921),
            QStringLiteral("The name of the file cannot be resolved by the system."));
  EXPECT_EQ(hv6::windowsErrorText(6118),
            QStringLiteral("The list of servers for this workgroup is not currently available"));
}

TEST(WindowsErrorText, CodesOutsideTheTableGiveTheUnexpectedErrorText) {
  // 35, 1023 and 1930 are gaps in the numbering; 6119 follows the last code.
  for (unsigned long code : {35ul, 1023ul, 1930ul, 6117ul, 6119ul, 99999ul, 0xFFFFFFFFul}) {
    EXPECT_EQ(hv6::windowsErrorText(code), kUnexpected) << code;
  }
}

TEST(WindowsErrorText, TableRunsFromZeroTo6118InCodeOrder) {
  const auto table = hv6::windowsErrorTable();
  ASSERT_EQ(table.size(), 745u);
  EXPECT_EQ(table.front().code, 0u);
  EXPECT_EQ(table.back().code, 6118u);
  for (std::size_t i = 1; i < table.size(); ++i) {
    EXPECT_LT(table[i - 1].code, table[i].code) << "entry " << i;
  }
}

TEST(WindowsErrorText, EveryEntryIsFoundAndReadsAsOneEnglishSentence) {
  for (const auto& entry : hv6::windowsErrorTable()) {
    const QString text = hv6::windowsErrorText(entry.code);
    EXPECT_EQ(text, QString::fromLatin1(entry.text)) << entry.code;
    ASSERT_FALSE(text.isEmpty()) << entry.code;
    for (const QChar c : text) {
      EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7f) << entry.code;
    }
    EXPECT_EQ(text, text.simplified()) << entry.code;
    const bool period = text.endsWith(u'.') || text.endsWith(QStringLiteral(".)"));
    EXPECT_EQ(period, !kNoPeriod.contains(entry.code)) << entry.code << ": " << entry.text;
  }
}

TEST(WindowsErrorFromErrno, FileCreationFailuresGetTheirWindowsCodes) {
  const std::pair<int, unsigned long> cases[] = {
      {0, 0},         {ENOENT, 2},   {ENOTDIR, 3},   {ENAMETOOLONG, 206}, {EMFILE, 4},
      {ENFILE, 4},    {EACCES, 5},   {EPERM, 5},     {EROFS, 5},          {EISDIR, 5},
      {EBADF, 6},     {ENOMEM, 8},   {EXDEV, 17},    {ETXTBSY, 32},       {EEXIST, 80},
      {EINVAL, 87},   {EPIPE, 109},  {ENOSPC, 112},  {EDQUOT, 112},       {ENOTEMPTY, 145},
      {EBUSY, 170},   {EIO, 1117},   {ELOOP, 1921},
  };
  for (const auto& [error, code] : cases) {
    EXPECT_EQ(hv6::windowsErrorFromErrno(error), code) << error;
    // Every code the mapping gives has a text of its own.
    EXPECT_NE(hv6::windowsErrorText(code), kUnexpected) << error;
  }
}

TEST(WindowsErrorFromErrno, OtherErrorsReadAsUnexpected) {
  for (int error : {EDOM, ENOTTY, ECHILD, -1}) {
    EXPECT_EQ(hv6::windowsErrorFromErrno(error), hv6::kUnmappedErrno) << error;
  }
  EXPECT_EQ(hv6::windowsErrorText(hv6::kUnmappedErrno), kUnexpected);
}

}  // namespace
