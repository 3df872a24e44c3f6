#include "install/demo/farm.h"

#include <array>

#include "install/demo/rows.h"
#include "platform/codec.h"
#include "platform/dao/database.h"

namespace hv6::demo {
namespace {

// Units; the Code and the number of a unit are index + 1.
enum UnitCode : int {
  kKg = 1,
  kGram,
  kLitre,
  kMillilitre,
  kAre,
  kBag,
  kStick,
  kSheet,
  kBox,
  kPiece,
  kRoll
};
constexpr std::array kUnits{"kg", "g", "L", "mL", "a", "袋", "本", "枚", "箱", "個", "巻"};

constexpr std::array<CropDef, 4> kCrops{{
    {"水稲", 4, 10},
    {"トマト", 3, 10},
    {"きゅうり", 4, 9},
    {"大豆", 5, 11},
}};

constexpr std::array<JobDef, 44> kJobs{{
    {kRice, "種子消毒", 4, 4, false},       {kRice, "播種", 4, 4, true},
    {kRice, "育苗管理", 4, 5, false},       {kRice, "耕起", 4, 4, false},
    {kRice, "代かき", 5, 5, false},         {kRice, "田植え", 5, 5, true},
    {kRice, "除草剤散布", 5, 6, false},     {kRice, "水管理", 5, 8, false},
    {kRice, "穂肥", 7, 7, false},           {kRice, "病害虫防除", 7, 8, false},
    {kRice, "収穫開始", 9, 9, true},        {kRice, "稲刈り", 9, 10, false},
    {kRice, "乾燥調製", 9, 10, false},      {kRice, "出荷調製", 1, 12, false},
    {kTomato, "播種", 3, 3, true},          {kTomato, "育苗管理", 3, 4, false},
    {kTomato, "施肥・畝立て", 4, 4, false}, {kTomato, "定植", 4, 5, true},
    {kTomato, "誘引・芽かき", 5, 9, false}, {kTomato, "病害虫防除", 5, 9, false},
    {kTomato, "追肥", 6, 8, false},         {kTomato, "収穫開始", 7, 7, true},
    {kTomato, "収穫", 7, 10, false},        {kTomato, "片付け", 10, 10, false},
    {kCucumber, "播種", 4, 4, true},        {kCucumber, "定植", 5, 5, true},
    {kCucumber, "誘引・整枝", 6, 8, false}, {kCucumber, "病害虫防除", 6, 8, false},
    {kCucumber, "追肥", 6, 8, false},       {kCucumber, "収穫開始", 6, 6, true},
    {kCucumber, "収穫", 6, 9, false},       {kCucumber, "片付け", 9, 9, false},
    {kSoybean, "耕起", 6, 6, false},        {kSoybean, "播種", 6, 6, true},
    {kSoybean, "中耕培土", 7, 7, false},    {kSoybean, "病害虫防除", 8, 8, false},
    {kSoybean, "収穫開始", 10, 10, true},   {kSoybean, "収穫", 10, 10, false},
    {kSoybean, "選別調製", 11, 12, false},  {kNoCrop, "機械整備", 1, 12, false},
    {kNoCrop, "草刈り", 6, 9, false},       {kNoCrop, "堆肥散布", 11, 11, false},
    {kNoCrop, "ハウス除雪", 1, 2, false},   {kNoCrop, "資材準備", 2, 3, false},
}};

constexpr std::array<FieldDef, 8> kFields{{
    {"前田1", kRice, 30.0},
    {"前田2", kRice, 25.0},
    {"川原田", kRice, 40.0},
    {"上野ハウス1", kTomato, 3.0},
    {"上野ハウス2", kTomato, 3.0},
    {"裏畑", kCucumber, 5.0},
    {"北畑1", kSoybean, 20.0},
    {"北畑2", kSoybean, 15.0},
}};

constexpr std::array kFarmers{"山田 太郎", "山田 花子", "山田 一郎", "佐藤 次郎"};

constexpr std::array<MachineDef, 7> kMachines{{
    {"トラクター", kNoCrop, 1, 12, 0.15},
    {"田植機", kRice, 5, 5, 0.10},
    {"コンバイン", kNoCrop, 9, 10, 0.30},
    {"動力噴霧機", kNoCrop, 5, 9, 0.0},
    {"管理機", kNoCrop, 4, 8, 0.0},
    {"乾燥機", kRice, 9, 10, 0.0},
    {"刈払機", kNoCrop, 6, 9, 0.0},
}};

constexpr std::array<MaterialDef, 8> kFertilizers{{
    {"苦土石灰", kNoCrop, kKg, "", ""},
    {"水稲一発肥料", kRice, kKg, "", ""},
    {"有機配合肥料", kTomato, kKg, "", ""},
    {"化成肥料8-8-8", kNoCrop, kKg, "", ""},
    {"液肥", kTomato, kLitre, "500倍", ""},
    {"穂肥用NK化成", kRice, kKg, "", ""},
    {"大豆用化成肥料", kSoybean, kKg, "", ""},
    {"牛ふん堆肥", kNoCrop, kKg, "", ""},
}};

constexpr std::array<MaterialDef, 8> kPesticides{{
    {"種子消毒剤", kRice, kMillilitre, "200倍", "ばか苗病"},
    {"水稲用除草剤（1キロ粒剤）", kRice, kKg, "原液", "ノビエ・一年生雑草"},
    {"いもち病防除粉剤", kRice, kKg, "原液", "穂いもち"},
    {"殺菌剤（水和剤）", kTomato, kGram, "1000倍", "葉かび病・灰色かび病"},
    {"殺虫剤（乳剤）", kNoCrop, kMillilitre, "2000倍", "アブラムシ類・コナジラミ類"},
    {"べと病防除剤", kCucumber, kGram, "1000倍", "べと病"},
    {"うどんこ病防除剤", kCucumber, kMillilitre, "3000倍", "うどんこ病"},
    {"大豆用殺虫剤", kSoybean, kMillilitre, "1000倍", "マメシンクイガ"},
}};

constexpr std::array<MaterialDef, 7> kSupplies{{
    {"育苗箱", kRice, kSheet, "", ""},
    {"マルチフィルム", kNoCrop, kRoll, "", ""},
    {"誘引ひも", kNoCrop, kRoll, "", ""},
    {"出荷箱（4kg）", kTomato, kBox, "", ""},
    {"出荷箱（5kg）", kCucumber, kBox, "", ""},
    {"米袋（30kg）", kRice, kBag, "", ""},
    {"育苗培土", kNoCrop, kBag, "", ""},
}};

constexpr std::array<MaterialDef, 4> kSeeds{{
    {"水稲種子 ひとめぼれ", kRice, kKg, "", ""},
    {"大玉トマト種子", kTomato, kBag, "", ""},
    {"きゅうり種子", kCucumber, kBag, "", ""},
    {"大豆種子 リュウホウ", kSoybean, kKg, "", ""},
}};

constexpr std::array<MaterialDef, 4> kFuels{{
    {"軽油", kNoCrop, kLitre, "", ""},
    {"ガソリン", kNoCrop, kLitre, "", ""},
    {"混合油", kNoCrop, kLitre, "", ""},
    {"灯油", kNoCrop, kLitre, "", ""},
}};

constexpr std::array<MaterialDef, 3> kOthers{{
    {"作業用手袋", kNoCrop, kPiece, "", ""},
    {"ブルーシート", kNoCrop, kSheet, "", ""},
    {"ハウス補修テープ", kNoCrop, kRoll, "", ""},
}};

constexpr std::array kCustomers{"JA北上川", "道の駅 さくら野", "北上中央青果", "直売所 ゆいの里",
                                "個人のお客様"};
constexpr std::array kBuyers{"丸山青果", "大和商店", "北星フーズ", "三共青果", "はなまき生協"};
constexpr std::array kGrades{"秀", "優", "良"};
constexpr std::array kStandards{"2L", "L", "M", "S"};

// Every index of farm.h names a row of its table.
static_assert(kJobs.size() == kSupplyPreparation + 1);
static_assert(kFields.size() == kKita2 + 1);
static_assert(kFarmers.size() == kJiro + 1);
static_assert(kMachines.size() == kBrushCutter + 1);
static_assert(kFertilizers.size() == kCompost + 1);
static_assert(kPesticides.size() == kSoyInsecticide + 1);
static_assert(kSupplies.size() == kNurserySoil + 1);
static_assert(kSeeds.size() == kSoySeed + 1);
static_assert(kFuels.size() == kKerosene + 1);
static_assert(kOthers.size() == kRepairTape + 1);
static_assert(kCustomers.size() == kPrivate + 1);
static_assert(kGrades.size() == kRyo + 1 && kStandards.size() == kS + 1);

QString utf8(const char* text) { return QString::fromUtf8(text); }

// The columns every master row has: key, number, names, mobile use.
Row masterRow(int index, const char* name) {
  const QString full = utf8(name);
  return {{"Code", COleVariant(codeOf(index))}, {"Scode", COleVariant(codeOf(index) * 10)},
          {"Name", COleVariant(full)},          {"IName", COleVariant(cp932::cutToBytes(full, 12))},
          {"IUse", COleVariant::boolean(true)}, {"Use", COleVariant(0)}};
}

Row withMonths(Row row, int crop, int startMonth, int endMonth) {
  row.push_back({"CropCode", codeOrNull(codeOf(crop))});
  row.push_back({"StartMonth", COleVariant(startMonth)});
  row.push_back({"EndMonth", COleVariant(endMonth)});
  return row;
}

template <class Names>
void writeNames(CDaoDatabase& db, const QString& table, const Names& names) {
  for (int i = 0; i < static_cast<int>(names.size()); ++i)
    insertRow(db, table, masterRow(i, names[static_cast<std::size_t>(i)]));
}

void writeUnits(CDaoDatabase& db) {
  for (int i = 0; i < static_cast<int>(kUnits.size()); ++i)
    insertRow(db, "UnitMst",
              {{"Code", COleVariant(codeOf(i))},
               {"SCode", COleVariant(codeOf(i))},
               {"Name", COleVariant(utf8(kUnits[static_cast<std::size_t>(i)]))},
               {"Use", COleVariant(0)}});
}

void writeCrops(CDaoDatabase& db) {
  for (int i = 0; i < static_cast<int>(kCrops.size()); ++i) {
    const CropDef& crop = kCrops[static_cast<std::size_t>(i)];
    Row row = masterRow(i, crop.name);
    row.push_back({"StartMonth", COleVariant(crop.startMonth)});
    row.push_back({"EndMonth", COleVariant(crop.endMonth)});
    insertRow(db, "CropMst", row);
  }
}

void writeJobs(CDaoDatabase& db) {
  for (int i = 0; i < static_cast<int>(kJobs.size()); ++i) {
    const JobDef& job = kJobs[static_cast<std::size_t>(i)];
    Row row = withMonths(masterRow(i, job.name), job.crop, job.startMonth, job.endMonth);
    row.push_back({"MileStone", COleVariant::boolean(job.milestone)});
    insertRow(db, "JobMst", row);
  }
}

void writeFields(CDaoDatabase& db) {
  for (int i = 0; i < static_cast<int>(kFields.size()); ++i) {
    const FieldDef& field = kFields[static_cast<std::size_t>(i)];
    Row row = masterRow(i, field.name);
    row.push_back({"CropCode", COleVariant(codeOf(field.crop))});
    row.push_back({"SakuArea", COleVariant(field.area)});
    row.push_back({"AreaUnit", COleVariant(static_cast<long>(kAre))});
    row.push_back({"SeqCode", COleVariant(codeOf(i))});
    insertRow(db, "FieldMst", row);
  }
}

void writeMachines(CDaoDatabase& db) {
  for (int i = 0; i < static_cast<int>(kMachines.size()); ++i) {
    const MachineDef& machine = kMachines[static_cast<std::size_t>(i)];
    insertRow(
        db, "MachineMst",
        withMonths(masterRow(i, machine.name), machine.crop, machine.startMonth, machine.endMonth));
  }
}

void writeMaterials(CDaoDatabase& db, int kind) {
  const QString table = materialTable(kind);
  const std::span<const MaterialDef> list = materials(kind);
  for (int i = 0; i < static_cast<int>(list.size()); ++i) {
    const MaterialDef& material = list[static_cast<std::size_t>(i)];
    Row row = masterRow(i, material.name);
    row.push_back({"CropCode", codeOrNull(codeOf(material.crop))});
    row.push_back({"Unit", COleVariant(static_cast<long>(material.unit))});
    if (kind != kFertilizer) {
      row.push_back({"Dilute", textOrNull(utf8(material.dilute))});
      row.push_back({"Vermin", textOrNull(utf8(material.vermin))});
    }
    insertRow(db, table, row);
  }
}

}  // namespace

std::span<const CropDef> crops() { return kCrops; }
std::span<const JobDef> jobs() { return kJobs; }
std::span<const FieldDef> fields() { return kFields; }
std::span<const MachineDef> machines() { return kMachines; }
std::span<const char* const> farmers() { return kFarmers; }
std::span<const char* const> customers() { return kCustomers; }
std::span<const char* const> buyers() { return kBuyers; }
std::span<const char* const> grades() { return kGrades; }
std::span<const char* const> standards() { return kStandards; }

std::span<const MaterialDef> materials(int kind) {
  switch (kind) {
    case kFertilizer:
      return kFertilizers;
    case kPesticide:
      return kPesticides;
    case kSupply:
      return kSupplies;
    case kSeed:
      return kSeeds;
    case kFuel:
      return kFuels;
    case kOther:
      return kOthers;
    default:
      return {};
  }
}

QString materialTable(int kind) {
  if (kind == kFertilizer) return QStringLiteral("FertilizerMst");
  return QStringLiteral("MaterialMst%1").arg(kind);
}

InformationTexts farmInformation() {
  InformationTexts texts;
  texts.company = QStringLiteral("山田農園");
  texts.president = QStringLiteral("山田 太郎");
  texts.telNo = QStringLiteral("0198-00-1234");
  texts.faxNo = QStringLiteral("0198-00-1235");
  texts.groupName = QStringLiteral("北上川流域 園芸生産部会");
  texts.materialNames = {QStringLiteral("農薬"), QStringLiteral("資材"), QStringLiteral("種苗"),
                         QStringLiteral("燃料"), QStringLiteral("その他")};
  texts.reserveItemNames = {QStringLiteral("備考"), QString(), QString()};
  return texts;
}

void writeMasters(CDaoDatabase& db) {
  writeUnits(db);
  writeCrops(db);
  writeJobs(db);
  writeFields(db);
  writeNames(db, QStringLiteral("FarmerMst"), kFarmers);
  writeMachines(db);
  for (int kind = kFertilizer; kind <= kOther; ++kind) writeMaterials(db, kind);
  writeNames(db, QStringLiteral("CustomerMst"), kCustomers);
  writeNames(db, QStringLiteral("BuyerMst"), kBuyers);
  writeNames(db, QStringLiteral("GradeMst"), kGrades);
  writeNames(db, QStringLiteral("StandardMst"), kStandards);
}

void writeFarmSettings(CDaoDatabase& db, long lastBackup) {
  db.Execute(QStringLiteral("UPDATE Information SET LastBackup = ?"), {COleVariant(lastBackup)});
  db.Execute(QStringLiteral(
      "UPDATE IWDryOption SET Work = 1, Field = 1, Farmer = 1, Machine = 1, WorkFactTime = 1, "
      "McnFactTime = 1, TotalArea = 1, Shizai = 1, Quantity = 1 WHERE Code = 1"));
}

}  // namespace hv6::demo
