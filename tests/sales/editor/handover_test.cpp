// The cultivation-history hand-over of the sales slip window: the file
// "excelall.tmp" and the command line of VRireki; and the farm-work masters
// the window reads from the database the settings name.
#include "tests/sales/editor/editor_fixture.h"

#include "platform/codec.h"
#include "platform/registry.h"
#include "sales/slsale/farmmasters.h"

#include <QDir>
#include <QFile>

namespace editortest {
namespace {

class HandOverTest : public EditorTest {
 protected:
  QString program;
  QStringList arguments;
  int starts = 0;

  std::unique_ptr<SlipEditor> handingEditor(bool starts_ok) {
    auto e = editor();
    e->hooks().handOverFolder = environment.path(QStringLiteral("documents/Velqor/HV6P"));
    e->hooks().startProgram = [this, starts_ok](const QString& p, const QStringList& a) {
      program = p;
      arguments = a;
      ++starts;
      return starts_ok;
    };
    return e;
  }

  QByteArray handOverFile() {
    QFile file(environment.path(QStringLiteral("documents/Velqor/HV6P/excelall.tmp")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }
};

TEST_F(HandOverTest, TheFileAndTheCommandLineOfTheCurrentLine) {
  auto e = handingEditor(true);
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("123")));
  e->setSlipDate(20250612);
  ASSERT_TRUE(e->setClient(kMarket));
  typeLine(*e, 0, QStringLiteral("T1"), 1, 11, 21);
  typeLine(*e, 1, QStringLiteral("C1"), 2, 12, 22);
  typeLine(*e, 2, QStringLiteral("T1"), 3, 13, 0);
  ASSERT_EQ(e->model().setKind(4, kLineSale), 0);  // after a blank line: not counted
  e->setCurrent(1);
  ASSERT_TRUE(e->handOver());
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(hv6::cp932::decode(handOverFile()),
            QStringLiteral("123\r\n2\r\n12\r\n22\r\n盛岡市場\r\n20250612\r\n3\r\n"
                           "11\r\n21\r\n12\r\n22\r\n13\r\n0\r\n"));
  EXPECT_EQ(program, QStringLiteral("VRireki"));
  EXPECT_EQ(arguments, QStringList({"U", "2", "12", "22", "20250612", "123", "盛岡市場"}));
}

TEST_F(HandOverTest, AProgramThatDoesNotStartIsReported) {
  auto e = handingEditor(false);
  ASSERT_TRUE(e->enterSlipNumber(QStringLiteral("5")));
  typeLine(*e, 0, QStringLiteral("T1"), 1, 3, 4);
  EXPECT_FALSE(e->handOver());
  ASSERT_EQ(recorder.messages().size(), 1);
  EXPECT_EQ(recorder.messages().first().text, QStringLiteral("栽培履歴出力の起動に失敗しました。"));
  // The file was written for the program all the same; no client: empty name.
  EXPECT_EQ(hv6::cp932::decode(handOverFile()),
            QStringLiteral("5\r\n1\r\n3\r\n4\r\n\r\n20250603\r\n1\r\n3\r\n4\r\n"));
  EXPECT_EQ(arguments.last(), QString());
}

TEST_F(EditorTest, FarmMastersComeFromTheDatabaseTheSettingsName) {
  hv6::RegistryStore registry;
  FarmMasters masters;
  EXPECT_EQ(loadFarmMasters(registry, masters).error, 221);
  const QString base = QStringLiteral("Software\\Velqor\\HV6");
  ASSERT_EQ(registry.createKey(base + QStringLiteral("\\Farm2\\Environment\\BaseInfo")),
            hv6::RegStatus::Ok);
  ASSERT_EQ(registry.writeString(base, QStringLiteral("CurrentKEY"), QStringLiteral("Farm2")),
            hv6::RegStatus::Ok);
  EXPECT_EQ(loadFarmMasters(registry, masters).error, 221);  // no DataPath yet
  ASSERT_EQ(registry.writeString(base + QStringLiteral("\\Farm2\\Environment\\BaseInfo"),
                                 QStringLiteral("DataPath"), data.diaryPath()),
            hv6::RegStatus::Ok);
  const long melon = data.addMaster(QStringLiteral("CropMst"), 0, QStringLiteral("メロン"));
  data.addMaster(QStringLiteral("CropMst"), 3, QStringLiteral("なす"), 1);  // not in use
  const long north = data.addMaster(QStringLiteral("FieldMst"), 1, QStringLiteral("北畑"));
  const long grade = data.addMaster(QStringLiteral("GradeMst"), 1, QStringLiteral("秀"));
  const long size = data.addMaster(QStringLiteral("StandardMst"), 1, QStringLiteral("L"));
  ASSERT_EQ(loadFarmMasters(registry, masters).error, 0);
  ASSERT_EQ(masters.crops.size(), 3);  // Scode order, only the rows in use
  EXPECT_EQ(masters.crops[0], (FarmEntry{static_cast<std::int32_t>(melon), "メロン"}));
  EXPECT_EQ(masters.crops[1].name, QStringLiteral("トマト"));
  EXPECT_EQ(masters.crops[2].code, cucumber);
  EXPECT_EQ(masters.fields, QList<FarmEntry>{(FarmEntry{static_cast<std::int32_t>(north), "北畑"})});
  EXPECT_EQ(masters.nameOf(FarmMaster::Grade, static_cast<std::int32_t>(grade)), QStringLiteral("秀"));
  EXPECT_EQ(masters.nameOf(FarmMaster::Standard, static_cast<std::int32_t>(size)), QStringLiteral("L"));
  EXPECT_EQ(fetchFarmName(data.diaryPath(), FarmMaster::Crop, static_cast<std::int32_t>(tomato)),
            QStringLiteral("トマト"));
  EXPECT_EQ(fetchFarmName(data.diaryPath(), FarmMaster::Field, 9999), QString());

  EXPECT_EQ(loadFarmMastersFrom(environment.path(QStringLiteral("none.HV6")), masters).error, -1);
}

}  // namespace
}  // namespace editortest
