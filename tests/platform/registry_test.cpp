#include "platform/registry.h"

#include "platform/reg_document.h"
#include "tests/platform/child.h"
#include "tests/support/test_env.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

using hv6::RegStatus;

const QString kKey = QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo");

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// N of a whole value "gen-N-xxx...", -1 for anything else.
qint64 generationOf(const QString& value, int padding) {
  const qsizetype dash = value.indexOf(u'-', 4);
  if (!value.startsWith(QStringLiteral("gen-")) || dash < 0) return -1;
  if (value.mid(dash + 1) != QString(padding, u'x')) return -1;
  bool ok = false;
  const qint64 generation = value.mid(4, dash - 4).toLongLong(&ok);
  return ok ? generation : -1;
}

// Every key ("key") and value ("key|name" -> kind and data) the document
// reads, keys and names without case.
QString described(const hv6::RegValue& value) {
  const QString kind = QString::number(int(value.kind)) + u':';
  switch (value.kind) {
    case hv6::RegValue::Kind::String: return kind + value.text;
    case hv6::RegValue::Kind::Dword: return kind + QString::number(value.dword);
    case hv6::RegValue::Kind::Binary: return kind + QString::fromLatin1(value.bytes.toHex());
    case hv6::RegValue::Kind::Other: break;
  }
  return kind;
}

void collect(const hv6::RegDocument& document, const QString& key, QMap<QString, QString>& out) {
  out.insert(key.toCaseFolded(), QStringLiteral("key"));
  for (const QString& name : document.valueNames(key))
    out.insert(key.toCaseFolded() + u'|' + name.toCaseFolded(), described(*document.value(key, name)));
  for (const QString& child : document.subKeys(key))
    collect(document, key.isEmpty() ? child : key + u'\\' + child, out);
}

QMap<QString, QString> contentOf(const hv6::RegDocument& document) {
  QMap<QString, QString> out;
  collect(document, QString(), out);
  return out;
}

class RegistryTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  hv6::RegistryStore store;  // HV6_REGISTRY of the environment
};

TEST_F(RegistryTest, ValuesOfEveryTypeSurviveTheFile) {
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  const QString text = QStringLiteral("C:\\Program Files\\\"作業日誌\"\nline 2");
  const QByteArray bytes("\x00\x01\xfe\xff", 4);
  ASSERT_EQ(store.writeString(kKey, QStringLiteral("DataPath"), text), RegStatus::Ok);
  ASSERT_EQ(store.writeString(kKey, QStringLiteral("Empty"), QString()), RegStatus::Ok);
  ASSERT_EQ(store.writeDword(kKey, QStringLiteral("Access"), 10), RegStatus::Ok);
  ASSERT_EQ(store.writeDword(kKey, QStringLiteral("Max"), 0xffffffffu), RegStatus::Ok);
  ASSERT_EQ(store.writeBinary(kKey, QStringLiteral("Blob"), bytes), RegStatus::Ok);
  ASSERT_EQ(store.writeBinary(kKey, QStringLiteral("NoBytes"), QByteArray()), RegStatus::Ok);
  ASSERT_EQ(store.writeString(kKey, QString(), QStringLiteral("default")), RegStatus::Ok);

  const hv6::RegistryStore other(env.registryFile());
  QString s;
  std::uint32_t d = 0;
  QByteArray b("x");
  EXPECT_EQ(other.readString(kKey, QStringLiteral("DataPath"), s), RegStatus::Ok);
  EXPECT_EQ(s, text);
  EXPECT_EQ(other.readString(kKey, QStringLiteral("Empty"), s), RegStatus::Ok);
  EXPECT_TRUE(s.isEmpty());
  EXPECT_EQ(other.readDword(kKey, QStringLiteral("Access"), d), RegStatus::Ok);
  EXPECT_EQ(d, 10u);
  EXPECT_EQ(other.readDword(kKey, QStringLiteral("Max"), d), RegStatus::Ok);
  EXPECT_EQ(d, 0xffffffffu);
  EXPECT_EQ(other.readBinary(kKey, QStringLiteral("Blob"), b), RegStatus::Ok);
  EXPECT_EQ(b, bytes);
  EXPECT_EQ(other.readBinary(kKey, QStringLiteral("NoBytes"), b), RegStatus::Ok);
  EXPECT_TRUE(b.isEmpty());
  EXPECT_EQ(other.readString(kKey, QString(), s), RegStatus::Ok);
  EXPECT_EQ(s, QStringLiteral("default"));

  const QByteArray file = readAll(env.registryFile());
  EXPECT_TRUE(file.startsWith("Windows Registry Editor Version 5.00\n"));
  EXPECT_TRUE(file.contains(
      "[HKEY_CURRENT_USER\\Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo]\n"));
  EXPECT_TRUE(file.contains("\"DataPath\"=\"C:\\\\Program Files\\\\\\\"" ));
  EXPECT_TRUE(file.contains("\"Access\"=dword:0000000a\n"));
  EXPECT_TRUE(file.contains("\"Blob\"=hex:00,01,fe,ff\n"));
  EXPECT_TRUE(file.contains("@=\"default\"\n"));
}

TEST_F(RegistryTest, KeysAndNamesIgnoreCaseAndKeepTheFirstSpelling) {
  ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor\\HV6")), RegStatus::Ok);
  ASSERT_EQ(store.writeString(QStringLiteral("Software\\Velqor\\HV6\\"),
                              QStringLiteral("CurrentKEY"), QStringLiteral("HV6")),
            RegStatus::Ok);
  ASSERT_EQ(store.writeString(QStringLiteral("SOFTWARE\\velqor\\hv6"),
                              QStringLiteral("currentkey"), QStringLiteral("farm2")),
            RegStatus::Ok);
  QString value;
  EXPECT_EQ(store.readString(QStringLiteral("\\software\\VELQOR\\Hv6\\"),
                             QStringLiteral("CURRENTKEY"), value),
            RegStatus::Ok);
  EXPECT_EQ(value, QStringLiteral("farm2"));
  EXPECT_EQ(store.valueNames(QStringLiteral("software\\velqor\\hv6")),
            QStringList{QStringLiteral("CurrentKEY")});
  ASSERT_EQ(store.createKey(QStringLiteral("software\\VELQOR\\hv6\\Farm2")), RegStatus::Ok);
  const QByteArray file = readAll(env.registryFile());
  EXPECT_TRUE(file.contains("\"CurrentKEY\"=\"farm2\""));
  EXPECT_TRUE(file.contains("[HKEY_CURRENT_USER\\Software\\Velqor\\HV6\\Farm2]"));
  EXPECT_FALSE(file.contains("currentkey"));
}

TEST_F(RegistryTest, ReadsTellMissingKeyMissingValueAndWrongType) {
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  ASSERT_EQ(store.writeString(kKey, QStringLiteral("Name"), QStringLiteral("x")), RegStatus::Ok);
  ASSERT_EQ(store.writeDword(kKey, QStringLiteral("Number"), 1), RegStatus::Ok);
  QString s;
  std::uint32_t d = 7;
  QByteArray b;
  hv6::RegType type{};
  EXPECT_EQ(store.readString(kKey + QStringLiteral("\\Missing"), QStringLiteral("Name"), s),
            RegStatus::NoKey);
  EXPECT_EQ(store.readString(kKey, QStringLiteral("Missing"), s), RegStatus::NoValue);
  EXPECT_EQ(store.readDword(kKey, QStringLiteral("Name"), d), RegStatus::WrongType);
  EXPECT_EQ(d, 7u);  // untouched on failure
  EXPECT_EQ(store.readString(kKey, QStringLiteral("Number"), s), RegStatus::WrongType);
  EXPECT_EQ(store.readBinary(kKey, QStringLiteral("Number"), b), RegStatus::WrongType);
  EXPECT_EQ(store.valueType(kKey, QStringLiteral("Number"), type), RegStatus::Ok);
  EXPECT_EQ(type, hv6::RegType::Dword);
  // Writing another type replaces the value.
  ASSERT_EQ(store.writeDword(kKey, QStringLiteral("Name"), 3), RegStatus::Ok);
  EXPECT_EQ(store.readDword(kKey, QStringLiteral("Name"), d), RegStatus::Ok);
  EXPECT_EQ(d, 3u);
}

TEST_F(RegistryTest, WritesToAMissingKeyFailAndCreateNothing) {
  EXPECT_EQ(store.writeDword(kKey, QStringLiteral("Access"), 0), RegStatus::NoKey);
  EXPECT_EQ(store.writeString(kKey, QStringLiteral("A"), QStringLiteral("x")), RegStatus::NoKey);
  EXPECT_EQ(store.deleteValue(kKey, QStringLiteral("A")), RegStatus::NoKey);
  EXPECT_EQ(QDir(env.root()).entryList(QDir::Files | QDir::Hidden), QStringList());

  ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor")), RegStatus::Ok);
  const QByteArray before = readAll(env.registryFile());
  EXPECT_EQ(store.writeDword(kKey, QStringLiteral("Access"), 0), RegStatus::NoKey);
  EXPECT_EQ(store.deleteValue(QStringLiteral("Software\\Velqor"), QStringLiteral("A")),
            RegStatus::NoValue);
  EXPECT_EQ(readAll(env.registryFile()), before);
  EXPECT_FALSE(store.keyExists(kKey));
}

TEST_F(RegistryTest, AGroupIsWrittenWholeOrNotAtAll) {
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  const QString other = QStringLiteral("Software\\Velqor\\HV6\\HV6\\Calendar");
  const QByteArray before = readAll(env.registryFile());
  // The second key is missing: the first value is not written either.
  EXPECT_EQ(store.writeValues({hv6::RegWrite::number(kKey, QStringLiteral("DaySort"), 1),
                               hv6::RegWrite::string(other, QStringLiteral("X"), QStringLiteral("y"))}),
            RegStatus::NoKey);
  EXPECT_EQ(readAll(env.registryFile()), before);

  ASSERT_EQ(store.createKey(other), RegStatus::Ok);
  ASSERT_EQ(store.writeValues({hv6::RegWrite::number(kKey, QStringLiteral("DaySort"), 1),
                               hv6::RegWrite::string(other, QStringLiteral("X"), QStringLiteral("y"))}),
            RegStatus::Ok);
  std::uint32_t daySort = 0;
  QString text;
  EXPECT_EQ(store.readDword(kKey, QStringLiteral("DaySort"), daySort), RegStatus::Ok);
  EXPECT_EQ(store.readString(other, QStringLiteral("X"), text), RegStatus::Ok);
  EXPECT_EQ(daySort, 1u);
  EXPECT_EQ(text, QStringLiteral("y"));
}

TEST_F(RegistryTest, AMissingFileHasNoKeys) {
  QString s;
  EXPECT_FALSE(QFile::exists(env.registryFile()));
  EXPECT_EQ(store.readString(kKey, QStringLiteral("DataPath"), s), RegStatus::NoKey);
  EXPECT_FALSE(store.keyExists(QStringLiteral("Software")));
  EXPECT_TRUE(store.subKeys(QString()).isEmpty());
}

TEST_F(RegistryTest, LinesItCannotParseSurviveARewrite) {
  const QByteArray original =
      "Windows Registry Editor Version 5.00\r\n"
      "; a comment\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
      "\"Name\"=\"not ours\"\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Velqor]\r\n"
      "garbage line without meaning\r\n"
      "\"Bad\"=dword:xyz\r\n"
      "\"Expand\"=hex(2):25,00,00,00\r\n"
      "\"Long\"=hex:01,02,\\\r\n"
      "  03,04\r\n"
      "\"Unclosed\"=\"text\r\n";
  writeAll(env.registryFile(), original);
  const QString key = QStringLiteral("Software\\Velqor");
  QByteArray bytes;
  QString s;
  EXPECT_EQ(store.readBinary(key, QStringLiteral("Long"), bytes), RegStatus::Ok);
  EXPECT_EQ(bytes, QByteArray("\x01\x02\x03\x04"));
  EXPECT_EQ(store.readString(key, QStringLiteral("Expand"), s), RegStatus::WrongType);
  EXPECT_EQ(store.readString(key, QStringLiteral("Bad"), s), RegStatus::NoValue);
  EXPECT_EQ(store.readString(QStringLiteral("Software\\Other"), QStringLiteral("Name"), s),
            RegStatus::NoKey);

  ASSERT_EQ(store.writeDword(key, QStringLiteral("New"), 1), RegStatus::Ok);
  QByteArray expected = original;
  expected.replace("\r\n", "\n");
  expected.replace("  03,04\n", "  03,04\n\"New\"=dword:00000001\n");
  EXPECT_EQ(readAll(env.registryFile()), expected);
}

TEST_F(RegistryTest, KeyTreeAndValueDeletion) {
  ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Calendar")), RegStatus::Ok);
  ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor\\HV6\\Farm2")), RegStatus::Ok);
  ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment")),
            RegStatus::Ok);
  EXPECT_TRUE(store.keyExists(QStringLiteral("Software\\Velqor\\HV6")));
  EXPECT_EQ(store.subKeys(QStringLiteral("Software\\Velqor\\HV6")),
            (QStringList{QStringLiteral("HV6"), QStringLiteral("Farm2")}));
  EXPECT_EQ(store.subKeys(QStringLiteral("Software\\Velqor\\HV6\\HV6")),
            (QStringList{QStringLiteral("Calendar"), QStringLiteral("Environment")}));

  const QString key = QStringLiteral("Software\\Velqor\\HV6\\HV6\\Calendar");
  ASSERT_EQ(store.writeDword(key, QStringLiteral("Date"), 20240801), RegStatus::Ok);
  ASSERT_EQ(store.writeDword(key, QStringLiteral("View"), 1), RegStatus::Ok);
  EXPECT_EQ(store.deleteValue(key, QStringLiteral("date")), RegStatus::Ok);
  EXPECT_EQ(store.deleteValue(key, QStringLiteral("Date")), RegStatus::NoValue);
  EXPECT_EQ(store.valueNames(key), QStringList{QStringLiteral("View")});
}

TEST_F(RegistryTest, AFileReplacedWithTheSameSizeAndTimeIsReadAgain) {
  const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
  const auto place = [&](const QByteArray& value) {
    const QString temp = env.path(QStringLiteral("next.reg"));
    writeAll(temp, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\K]\n\"V\"=\"" +
                       value + "\"\n");
    QFile file(temp);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    QFile::remove(env.registryFile());
    ASSERT_TRUE(QFile::rename(temp, env.registryFile()));
  };
  QString value;
  place("first");
  ASSERT_EQ(store.readString(QStringLiteral("K"), QStringLiteral("V"), value), RegStatus::Ok);
  EXPECT_EQ(value, QStringLiteral("first"));
  place("other");
  ASSERT_EQ(store.readString(QStringLiteral("K"), QStringLiteral("V"), value), RegStatus::Ok);
  EXPECT_EQ(value, QStringLiteral("other"));
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNoUpdate) {
  const int count = 150;
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  const QString file = env.registryFile();
  const QString countText = QString::number(count);
  hv6test::Child a({QStringLiteral("write"), file, kKey, QStringLiteral("A"), countText});
  hv6test::Child b({QStringLiteral("write"), file, kKey, QStringLiteral("B"), countText});
  ASSERT_EQ(a.finish(), 0);
  ASSERT_EQ(b.finish(), 0);
  EXPECT_EQ(store.valueNames(kKey).size(), 2 * count);
  for (const QString& prefix : {QStringLiteral("A"), QStringLiteral("B")}) {
    for (int i = 0; i < count; ++i) {
      const QString name = prefix + QString::number(i);
      QString value;
      ASSERT_EQ(store.readString(kKey, name, value), RegStatus::Ok) << qPrintable(name);
      EXPECT_EQ(value, QStringLiteral("value of ") + name);
    }
  }
}

TEST_F(RegistryTest, AWriterKilledMidwayLeavesAWholeFile) {
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  ASSERT_EQ(store.writeString(kKey, QStringLiteral("Other"), QStringLiteral("kept")),
            RegStatus::Ok);
  // Large values make it likely that the kill lands inside a write.
  const int padding = 200000;
  for (int round = 0; round < 5; ++round) {
    const QString name = QStringLiteral("Big") + QString::number(round);
    hv6test::Child writer({QStringLiteral("hammer"), env.registryFile(), kKey, name,
                           QString::number(padding)});
    ASSERT_EQ(writer.readLine(), QByteArray("ready"));
    QString value;
    for (qint64 generation = 0; generation < 3 + round;) {
      ASSERT_TRUE(writer.running());
      ASSERT_EQ(store.readString(kKey, name, value), RegStatus::Ok);
      generation = generationOf(value, padding);
    }
    writer.kill();
    ASSERT_EQ(store.readString(kKey, name, value), RegStatus::Ok);
    EXPECT_GT(generationOf(value, padding), 0) << qPrintable(value.left(40));
    ASSERT_EQ(store.readString(kKey, QStringLiteral("Other"), value), RegStatus::Ok);
    EXPECT_EQ(value, QStringLiteral("kept"));
  }
  // The kernel released the dead writers' lock; the next writer clears
  // what they left half written.
  writeAll(env.path(QStringLiteral(".registry.reg.a1B2c3")), "half a file");
  EXPECT_EQ(store.writeDword(kKey, QStringLiteral("After"), 1), RegStatus::Ok);
  EXPECT_EQ(QDir(env.root()).entryList({QStringLiteral(".registry.reg.*")}, QDir::Files | QDir::Hidden),
            QStringList());
}

TEST_F(RegistryTest, ADanglingContinuationSwallowsNoLaterLine) {
  const QString key = QStringLiteral("Software\\Velqor");
  const QByteArray head =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Velqor]\n";
  // The file ends in a hex line whose '\' promises a line that never comes.
  writeAll(env.registryFile(), head + "\"Colors\"=hex:01,02\\\n");
  ASSERT_EQ(store.writeDword(key, QStringLiteral("Access"), 1), RegStatus::Ok);
  QByteArray bytes;
  std::uint32_t number = 0;
  EXPECT_EQ(store.readBinary(key, QStringLiteral("Colors"), bytes), RegStatus::Ok);
  EXPECT_EQ(bytes, QByteArray("\x01\x02"));
  EXPECT_EQ(store.readDword(key, QStringLiteral("Access"), number), RegStatus::Ok);
  EXPECT_EQ(number, 1u);

  // Lines someone else wrote after such a line keep their own meaning.
  writeAll(env.registryFile(), head + "\"Colors\"=hex:01,02\\\n\"Next\"=dword:00000002\n"
                                      "\"Long\"=hex:03,\\\n  04\\\n"
                                      "[HKEY_CURRENT_USER\\Software\\Velqor\\Sub]\n");
  EXPECT_EQ(store.readBinary(key, QStringLiteral("Colors"), bytes), RegStatus::Ok);
  EXPECT_EQ(bytes, QByteArray("\x01\x02"));
  EXPECT_EQ(store.readDword(key, QStringLiteral("Next"), number), RegStatus::Ok);
  EXPECT_EQ(number, 2u);
  EXPECT_EQ(store.readBinary(key, QStringLiteral("Long"), bytes), RegStatus::Ok);
  EXPECT_EQ(bytes, QByteArray("\x03\x04"));
  EXPECT_TRUE(store.keyExists(key + QStringLiteral("\\Sub")));
}

TEST_F(RegistryTest, AValueThatWouldNotReadBackIsRefused) {
  ASSERT_EQ(store.createKey(kKey), RegStatus::Ok);
  ASSERT_EQ(store.writeString(kKey, QStringLiteral("Name"), QStringLiteral("kept")), RegStatus::Ok);
  const QByteArray before = readAll(env.registryFile());
  // Half of a surrogate pair has no UTF-8 form.
  const QString broken = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
  EXPECT_EQ(store.writeString(kKey, QStringLiteral("Name"), broken), RegStatus::IoError);
  EXPECT_EQ(store.writeString(kKey, broken, QStringLiteral("x")), RegStatus::IoError);
  EXPECT_EQ(readAll(env.registryFile()), before);
}

// Files made of lines a person or another program may leave, among them
// continuations that end nowhere: a change (a value written or deleted, a
// key created) does what it says, and every other key and value reads from
// the written text as before.
TEST_F(RegistryTest, AChangeToAnyFileKeepsEverythingElse) {
  const QList<QByteArray> pieces = {
      "[HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER\\A\\B]", "[HKEY_CURRENT_USER\\a]",
      "[HKEY_LOCAL_MACHINE\\X]", "[-HKEY_CURRENT_USER\\A]", "[HKEY_CURRENT_USER]",
      "\"S\"=\"text\"", "\"s\"=\"ends in \\\\\"", "@=\"default\"", "\"D\"=dword:0000000a",
      "\"H\"=hex:01,02", "\"H\"=hex:01,02,\\", "  03,04", "  05,\\", "\"C\"=hex:0a\\",
      "\"E\"=hex(2):41,00,\\", "\"Colors\"=hex:01,02\\", "garbage", "", "; comment",
      "\"Bad\"=dword:zz", "\"Q\"=\"unclosed", "\t\"T\"=\"tab\"", "ab", "\\"};
  const QStringList keys = {QStringLiteral("A"), QStringLiteral("A\\B"), QStringLiteral("a\\C"),
                            QString()};
  const QStringList names = {QStringLiteral("S"), QStringLiteral("h"), QStringLiteral("C"),
                             QStringLiteral("Colors"), QStringLiteral("New"), QString()};
  QRandomGenerator random(20240801);
  for (int round = 0; round < 3000; ++round) {
    QByteArray file = random.bounded(2) ? "Windows Registry Editor Version 5.00\n" : "";
    const int lineCount = 1 + random.bounded(12);
    for (int i = 0; i < lineCount; ++i)
      file += pieces.at(random.bounded(int(pieces.size()))) + (random.bounded(4) ? "\n" : "\r\n");
    if (random.bounded(3) == 0) file.chop(file.endsWith("\r\n") ? 2 : 1);
    SCOPED_TRACE(file.constData());

    hv6::RegDocument document = hv6::RegDocument::parse(file);
    QMap<QString, QString> expected = contentOf(document);
    const QString key = keys.at(random.bounded(int(keys.size())));
    const QString name = names.at(random.bounded(int(names.size())));
    const QString entry = key.toCaseFolded() + u'|' + name.toCaseFolded();
    switch (random.bounded(3)) {
      case 0:
        if (document.removeValue(key, name) == RegStatus::Ok) expected.remove(entry);
        break;
      case 1:
        ASSERT_TRUE(document.createKey(key + QStringLiteral("\\X")));
        ASSERT_TRUE(document.keyExists(key + QStringLiteral("\\X")));
        break;
      default: {
        hv6::RegValue value = hv6::RegValue::string(QStringLiteral("v\\"));
        if (random.bounded(2) == 0) {
          QByteArray bytes(random.bounded(60), '\0');
          for (char& byte : bytes) byte = char(random.bounded(256));
          value = hv6::RegValue::binary(bytes);
        }
        ASSERT_TRUE(document.createKey(key));
        ASSERT_EQ(document.setValue(key, name, value), RegStatus::Ok);
        expected.insert(entry, described(value));
      }
    }
    // Keys only come, values change as told.
    const QMap<QString, QString> changed = contentOf(document);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
      ASSERT_EQ(changed.value(it.key()), it.value()) << qPrintable(it.key());
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
      ASSERT_TRUE(!it.key().contains(u'|') || expected.contains(it.key())) << qPrintable(it.key());

    const hv6::RegDocument reread = hv6::RegDocument::parse(document.toBytes());
    ASSERT_EQ(contentOf(reread), changed) << "written:\n" << document.toBytes().constData();
    EXPECT_TRUE(reread.readsAs(document));
  }
}

TEST_F(RegistryTest, WritersThroughALinkAndThroughTheFileLoseNoUpdate) {
  const int count = 150;
  const QString real = env.path(QStringLiteral("settings.reg"));
  ASSERT_EQ(hv6::RegistryStore(real).createKey(kKey), RegStatus::Ok);
  ASSERT_TRUE(QFile::link(QStringLiteral("settings.reg"), env.registryFile()));
  const QString countText = QString::number(count);
  hv6test::Child a({QStringLiteral("write"), env.registryFile(), kKey, QStringLiteral("A"), countText});
  hv6test::Child b({QStringLiteral("write"), real, kKey, QStringLiteral("B"), countText});
  EXPECT_EQ(a.finish(), 0);
  EXPECT_EQ(b.finish(), 0);
  EXPECT_TRUE(QFileInfo(env.registryFile()).isSymLink());
  EXPECT_EQ(store.valueNames(kKey).size(), 2 * count);

  // A link to a link: both stay links, the file at the end is written.
  ASSERT_TRUE(QFile::link(QStringLiteral("registry.reg"), env.path(QStringLiteral("outer.reg"))));
  hv6::RegistryStore outer(env.path(QStringLiteral("outer.reg")));
  ASSERT_EQ(outer.writeDword(kKey, QStringLiteral("Through"), 2), RegStatus::Ok);
  EXPECT_TRUE(QFileInfo(env.registryFile()).isSymLink());
  EXPECT_TRUE(QFileInfo(env.path(QStringLiteral("outer.reg"))).isSymLink());
  std::uint32_t number = 0;
  EXPECT_EQ(hv6::RegistryStore(real).readDword(kKey, QStringLiteral("Through"), number), RegStatus::Ok);
  EXPECT_EQ(number, 2u);
}

}  // namespace
