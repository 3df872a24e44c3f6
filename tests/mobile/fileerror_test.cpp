#include "mobile/fileerror.h"

#include "platform/file_io.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using hv6::fileio::FileCause;

TEST(FileError, EachCauseHasItsTextAndCode) {
  const QList<std::tuple<FileCause, const char*, int>> table{
      {FileCause::None, "ファイルがありません。", -15},
      {FileCause::Generic, "一般ファイルエラーです。", -15},
      {FileCause::FileNotFound, "ファイルが見つかりません。", -10},
      {FileCause::BadPath, "バス名の指定が誤りです。", -15},
      {FileCause::TooManyOpenFiles, "オープンファイルが多すぎます。", -15},
      {FileCause::AccessDenied, "書込み違反です。", -14},
      {FileCause::InvalidFile, "アクセス不可能なファイルです。", -13},
      {FileCause::RemoveCurrentDir, "カレントディレクトリを削除しようとしました。", -15},
      {FileCause::DirectoryFull, "ディレクトリにファイルが多すぎます。", -15},
      {FileCause::BadSeek, "ファイルの大きさを超えてシークしました。", -15},
      {FileCause::HardIo, "装置が使用可能ではありません。", -15},
      {FileCause::SharingViolation, "共有違反です。", -13},
      {FileCause::LockViolation, "ロック違反です。", -13},
      {FileCause::DiskFull, "ディスクの容量が不足しています。", -12},
      {FileCause::EndOfFile, "ファイルの終わりに達しています。", -15},
  };
  for (const auto& [cause, text, code] : table) {
    EXPECT_EQ(hv6::fileErrorCauseText(cause), QString::fromUtf8(text));
    EXPECT_EQ(hv6::fileErrorCode(cause), code) << text;
  }
  EXPECT_EQ(hv6::fileErrorCauseText(static_cast<FileCause>(99)),
            QStringLiteral("予想外のファイルエラーが発生しました。"));
}

TEST(FileError, TheMessageNamesTheFileAndTheCause) {
  hv6test::MessageRecorder messages;
  EXPECT_EQ(hv6::showFileError(QStringLiteral("/data/20240501.log"), FileCause::DiskFull), -12);
  ASSERT_EQ(messages.numbers(), QList<long>{8012});
  EXPECT_EQ(messages.messages().first().text,
            QStringLiteral("ファイル入出力でエラーが発生しました。\n\n　ファイル名：/data/20240501.log"
                           "\n　原因の詳細：ディスクの容量が不足しています。"));
}

TEST(FileError, AppendingTellsWhyItFailed) {
  hv6test::TestEnvironment env;
  QFile plain(env.path(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  QDir(env.root()).mkdir(QStringLiteral("folder"));

  using hv6::fileio::appendFile;
  EXPECT_EQ(appendFile(env.path(QStringLiteral("plain/x.log")), "a", 0644).cause, FileCause::BadPath)
      << "the parent is a file";
  EXPECT_EQ(appendFile(env.path(QStringLiteral("missing/x.log")), "a", 0644).cause,
            FileCause::BadPath);
  EXPECT_EQ(appendFile(env.path(QStringLiteral("folder")), "a", 0644).cause,
            FileCause::AccessDenied);

  const QString log = env.path(QStringLiteral("x.log"));
  ASSERT_TRUE(appendFile(log, "one\n", 0644).ok);
  const auto second = appendFile(log, "two\n", 0644);
  EXPECT_TRUE(second.ok);
  EXPECT_EQ(second.cause, FileCause::None);
  QFile written(log);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(written.readAll(), QByteArray("one\ntwo\n"));
}

}  // namespace
