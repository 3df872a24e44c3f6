#include "install/demo/sales.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "install/demo/random.h"
#include "install/demo/rows.h"
#include "platform/dao/database.h"

namespace hv6::demo {
namespace {

constexpr int kSale = 0;         // AppType of a sales slip
constexpr int kReservation = 1;  // AppType of a reservation slip
enum SlipKind : int { kCash = 1, kCredit = 2, kReserved = 3 };
constexpr int kTaxRateCode = 1;  // the reduced rate for food
constexpr double kTaxRate = 0.08;
constexpr double kCostShare = 0.55;  // cost price as a share of the unit price

struct Goods {
  const char* code;
  const char* name;
  const char* unit;
  int crop;
};
constexpr Goods kTomatoBoxGoods{"T01", "トマト 4kg箱", "箱", kTomato};
constexpr Goods kCucumberBoxGoods{"C01", "きゅうり 5kg箱", "箱", kCucumber};
constexpr Goods kTomatoPack{"T11", "トマト パック", "パック", kTomato};
constexpr Goods kCucumberBag{"C11", "きゅうり 3本袋", "袋", kCucumber};
constexpr Goods kBrownRice{"R01", "玄米 30kg", "袋", kRice};
constexpr Goods kPolishedRice{"R02", "精米 10kg", "袋", kRice};
constexpr Goods kPolishedRiceSmall{"R03", "精米 5kg", "袋", kRice};
constexpr Goods kSoybeans{"S01", "大豆 30kg", "袋", kSoybean};

struct Line {
  const Goods* goods;
  int field = -1;
  int buyer = -1;
  int grade = -1;
  int standard = -1;
  double suu = 0;
  double tanka = 0;
};

struct Slip {
  int appType = kSale;
  int kind = kCredit;
  QDate date;
  int customer = 0;
  QDate shipDate;
  std::vector<Line> lines;
};

struct Mix {
  int grade;
  int standard;
  int weight;  // percent of the boxes
};
constexpr std::array<Mix, 5> kMix{{
    {kShu, k2L, 10},
    {kShu, kL, 35},
    {kShu, kM, 20},
    {kYu, kL, 22},
    {kRyo, kS, 13},
}};
constexpr std::array<double, 3> kGradeFactor{1.0, 0.85, 0.65};
constexpr std::array<double, 4> kStandardFactor{1.05, 1.0, 0.95, 0.8};
// A box price by month (index 0 = January), high early and late.
constexpr std::array<double, 12> kTomatoPrice{0, 0, 0, 0, 0, 0, 2400, 1700, 1900, 2200, 2200, 0};
constexpr std::array<double, 12> kCucumberPrice{0, 0, 0, 0, 0, 2600, 2000, 1800, 2300, 0, 0, 0};

double roundTo(double value, double step) { return std::round(value / step) * step; }

long proceedOf(const Line& line) { return std::lround(line.suu * line.tanka); }
long taxOf(const Line& line) {
  return std::lround(static_cast<double>(proceedOf(line)) * kTaxRate);
}

QDate monthEnd(const QDate& date) { return QDate(date.year(), date.month(), date.daysInMonth()); }

class SalesBuilder {
 public:
  SalesBuilder(const Season& season, quint32 seed) : season_(season), random_(seed, 3) {}

  std::vector<Slip> build() {
    addHarvestShipments();
    addRoadsideStation();
    addPrivateRice();
    addCropShipments();
    addReservations();
    std::stable_sort(slips_.begin(), slips_.end(),
                     [](const Slip& a, const Slip& b) { return a.date < b.date; });
    return std::move(slips_);
  }

 private:
  double jitter(double price) { return roundTo(price * (0.92 + 0.16 * random_.unit()), 10.0); }

  // Boxes harvested per day and crop, from the work diary.
  std::map<QDate, std::map<int, double>> harvests() const {
    std::map<QDate, std::map<int, double>> days;
    for (const WorkEntry& entry : season_.work) {
      const bool boxes =
          entry.kind == kSupply && (entry.material == kTomatoBox || entry.material == kCucumberBox);
      if (boxes) days[entry.date][entry.crop] += entry.quantity;
    }
    return days;
  }

  // The day's boxes of a crop split by grade and standard; what rounding
  // leaves over goes to the largest line.
  void addGradedLines(Slip& slip, const Goods& goods, double boxes, double price) {
    const std::size_t first = slip.lines.size();
    double left = boxes;
    for (const Mix& mix : kMix) {
      const double share = static_cast<double>(mix.weight) / 100.0 * (0.7 + 0.6 * random_.unit());
      const double count = std::min(left, std::round(boxes * share));
      if (count < 1) continue;
      left -= count;
      const double tanka = jitter(price * kGradeFactor[static_cast<std::size_t>(mix.grade)] *
                                  kStandardFactor[static_cast<std::size_t>(mix.standard)]);
      const int buyer = random_.between(0, static_cast<int>(buyers().size()) - 1);
      slip.lines.push_back({&goods, -1, buyer, mix.grade, mix.standard, count, tanka});
    }
    if (slip.lines.size() == first) {
      slip.lines.push_back({&goods, -1, 0, kShu, kL, std::max(1.0, left), jitter(price)});
      return;
    }
    const auto largest =
        std::max_element(slip.lines.begin() + static_cast<std::ptrdiff_t>(first), slip.lines.end(),
                         [](const Line& a, const Line& b) { return a.suu < b.suu; });
    largest->suu += left;
  }

  void addHarvestShipments() {
    int day = 0;
    for (const auto& [date, lots] : harvests()) {
      Slip slip{kSale, kCredit, date, ++day % 4 == 0 ? kMarket : kJa, date, {}};
      for (const auto& [crop, boxes] : lots) {
        const bool tomato = crop == kTomato;
        const auto& prices = tomato ? kTomatoPrice : kCucumberPrice;
        addGradedLines(slip, tomato ? kTomatoBoxGoods : kCucumberBoxGoods, boxes,
                       prices[static_cast<std::size_t>(date.month() - 1)]);
      }
      slips_.push_back(std::move(slip));
    }
  }

  // Saturdays from July to September.
  void addRoadsideStation() {
    for (QDate date(season_.year, 7, 1); date.month() <= 9; date = date.addDays(1)) {
      if (date.dayOfWeek() != Qt::Saturday) continue;
      Slip slip{kSale, kCash, date, kRoadsideStation, date, {}};
      slip.lines.push_back({&kTomatoPack, -1, -1, -1, -1, double(random_.between(20, 40)), 350});
      if (date.month() <= 8 || date.day() <= 10)
        slip.lines.push_back({&kCucumberBag, -1, -1, -1, -1, double(random_.between(20, 50)), 150});
      slips_.push_back(std::move(slip));
    }
  }

  // Rice of the last crop sold to private customers and the farm stand in
  // every month.
  void addPrivateRice() {
    for (int month = 1; month <= 12; ++month) {
      for (int i = 0; i < 2; ++i) {
        const QDate date(season_.year, month, random_.between(3 + 13 * i, 14 + 13 * i));
        Slip slip{kSale, kCredit, date, kPrivate, date, {}};
        slip.lines.push_back({&kBrownRice, -1, -1, -1, -1, double(random_.between(1, 3)), 9800});
        if (random_.chance(0.6))
          slip.lines.push_back(
              {&kPolishedRice, -1, -1, -1, -1, double(random_.between(1, 4)), 4300});
        slips_.push_back(std::move(slip));
      }
      const QDate standDay(season_.year, month, random_.between(20, 27));
      Slip stand{kSale, kCash, standDay, kFarmStand, standDay, {}};
      stand.lines.push_back(
          {&kPolishedRiceSmall, -1, -1, -1, -1, double(random_.between(4, 10)), 2300});
      slips_.push_back(std::move(stand));
    }
  }

  void addCropShipments() {
    const QDate riceDay(season_.year, 10, 12);
    Slip rice{kSale, kCredit, riceDay, kJa, riceDay, {}};
    for (int field : {kMaeda1, kMaeda2, kKawarada}) {
      const double bags = std::round(fields()[static_cast<std::size_t>(field)].area * 1.6);
      rice.lines.push_back({&kBrownRice, field, -1, -1, -1, bags, jitter(7200)});
    }
    slips_.push_back(std::move(rice));
    const QDate soyDay(season_.year, 11, 25);
    Slip soy{kSale, kCredit, soyDay, kJa, soyDay, {}};
    soy.lines.push_back(
        {&kSoybeans, kKita1, -1, kYu, -1, double(random_.between(5, 7)), jitter(6500)});
    soy.lines.push_back(
        {&kSoybeans, kKita2, -1, kRyo, -1, double(random_.between(3, 5)), jitter(5200)});
    slips_.push_back(std::move(soy));
  }

  void addReservation(const QDate& date, int customer, const QDate& ship, const Goods& goods,
                      double count, double tanka) {
    Slip slip{kReservation, kReserved, date, customer, ship, {}};
    slip.lines.push_back({&goods, -1, -1, -1, -1, count, tanka});
    slips_.push_back(std::move(slip));
  }

  void addReservations() {
    const int year = season_.year;
    for (int i = 0; i < 6; ++i) {
      const QDate date = QDate(year, 8, 5).addDays(i * 7 + random_.between(0, 4));
      const QDate ship(year, 10, random_.between(10, 20));
      const bool brown = random_.chance(0.5);
      addReservation(date, i % 3 == 0 ? kFarmStand : kPrivate, ship,
                     brown ? kBrownRice : kPolishedRice, double(random_.between(1, 3)),
                     brown ? 10500 : 4600);
    }
    addReservation(QDate(year, 6, random_.between(10, 20)), kRoadsideStation, QDate(year, 7, 27),
                   kTomatoBoxGoods, 20, 2000);
    addReservation(QDate(year, 6, random_.between(21, 28)), kRoadsideStation, QDate(year, 7, 27),
                   kCucumberBoxGoods, 10, 1800);
  }

  const Season& season_;
  DemoRandom random_;
  std::vector<Slip> slips_;
};

QString slipNumber(int number) {
  return QString::number(number).rightJustified(13, QLatin1Char(' '));
}

struct Totals {
  long proceed = 0;
  long tax = 0;
  double suu = 0;
};

Totals totalsOf(const Slip& slip) {
  Totals totals;
  for (const Line& line : slip.lines) {
    totals.proceed += proceedOf(line);
    totals.tax += taxOf(line);
    totals.suu += line.suu;
  }
  return totals;
}

// Sales on credit are claimed at the month's end, cash sales on the day.
QDate claimDateOf(const Slip& slip) {
  return slip.kind == kCash ? slip.date : monthEnd(slip.shipDate);
}

void writeHeader(CDaoDatabase& db, const Slip& slip, long code, const QString& number) {
  const Totals totals = totalsOf(slip);
  const double average =
      totals.suu > 0 ? roundTo(static_cast<double>(totals.proceed) / totals.suu, 0.01) : 0.0;
  insertRow(db, "Slip",
            {{"Code", COleVariant(code)},
             {"SlipNo", COleVariant(number)},
             {"SlipDate", COleVariant(dateNumber(slip.date))},
             {"AppType", COleVariant(slip.appType)},
             {"SlipKind", COleVariant(slip.kind)},
             {"TaxRateCode", COleVariant(kTaxRateCode)},
             {"LineCount", COleVariant(static_cast<int>(slip.lines.size()))},
             {"CustomerCode", COleVariant(codeOf(slip.customer))},
             {"ShipDate", COleVariant(dateNumber(slip.shipDate))},
             {"ClaimDate", COleVariant(dateNumber(claimDateOf(slip)))},
             {"TagColor", COleVariant(0)},
             {"AdPlan", COleVariant(0)},
             {"TaxOutAmount", COleVariant(static_cast<double>(totals.proceed))},
             {"TaxInAmount", COleVariant(0.0)},
             {"NoTaxAmount", COleVariant(0.0)},
             {"TaxTotal", COleVariant(static_cast<double>(totals.tax))},
             {"InTax", COleVariant(0.0)},
             {"AdjustTax", COleVariant(0.0)},
             {"TotalAmount", COleVariant(static_cast<double>(totals.proceed + totals.tax))},
             {"Sasihiki", COleVariant(totals.proceed + totals.tax)},
             {"Suu_Kei", COleVariant(totals.suu)},
             {"Unit_Ave", COleVariant(average)}});
}

void writeLine(CDaoDatabase& db, const Slip& slip, long code, const QString& number,
               const Line& line, int lineNo) {
  insertRow(db, "SlipDetails",
            {{"SlipCode", COleVariant(code)},
             {"AppType", COleVariant(slip.appType)},
             {"SlipNo", COleVariant(number)},
             {"SlipDate", COleVariant(dateNumber(slip.date))},
             {"SlipKind", COleVariant(slip.kind)},
             {"CustomerCode", COleVariant(codeOf(slip.customer))},
             {"LineNo", COleVariant(lineNo)},
             {"LineKind", COleVariant(1)},
             {"GoodsCode", COleVariant(QString::fromUtf8(line.goods->code))},
             {"GoodsName", COleVariant(QString::fromUtf8(line.goods->name))},
             {"Irisu", COleVariant(1.0)},
             {"Hakosu", COleVariant(line.suu)},
             {"Suu", COleVariant(line.suu)},
             {"UnitName", COleVariant(QString::fromUtf8(line.goods->unit))},
             {"Tanka", COleVariant(line.tanka)},
             {"GenTanka", COleVariant(roundTo(line.tanka * kCostShare, 1.0))},
             {"Proceed", COleVariant(proceedOf(line))},
             {"Tax", COleVariant(taxOf(line))},
             {"TaxRateCode", COleVariant(kTaxRateCode)},
             {"TaxClass", COleVariant(0)},
             {"SimpleTaxClass", COleVariant(0)},
             {"CropCode", COleVariant(codeOf(line.goods->crop))},
             {"FieldCode", codeOrNull(codeOf(line.field))},
             {"GradeCode", codeOrNull(codeOf(line.grade))},
             {"StandardCode", codeOrNull(codeOf(line.standard))},
             {"BuyerCode", codeOrNull(codeOf(line.buyer))}});
}

// The goods of the slips as the sales host's goods master: standard price,
// cost price, and the reduced rate (code 1) for food.
struct GoodsPrice {
  const Goods* goods;
  double standardPrice;
};
const std::array<GoodsPrice, 8> kGoodsPrices{{{&kTomatoBoxGoods, 2400},
                                              {&kCucumberBoxGoods, 1900},
                                              {&kTomatoPack, 350},
                                              {&kCucumberBag, 150},
                                              {&kBrownRice, 7200},
                                              {&kPolishedRice, 4600},
                                              {&kPolishedRiceSmall, 2400},
                                              {&kSoybeans, 6500}}};

// Per client (in CustomerIndex order): tax timing (1 per line, 2 per slip,
// 3 at the close), billing close day (31 = month end), address.
struct ClientSettings {
  int taxTiming;
  int closeDay;
  const char* postCode;
  const char* address;
  const char* tel;
};
constexpr std::array<ClientSettings, 5> kClientSettings{{
    {2, 31, "024-0000", "岩手県北上市本通り1-1", "0197-00-1000"},
    {1, 20, "024-0001", "岩手県北上市桜野2-3", "0197-00-2000"},
    {2, 31, "024-0002", "岩手県北上市中央市場町5", "0197-00-3000"},
    {1, 31, "024-0003", "岩手県北上市結野1-8", "0197-00-4000"},
    {1, 31, "", "", ""},
}};

void writeSalesMasters(CDaoDatabase& db, const std::array<int, 2>& lastNumbers, long lastDate) {
  long code = 0;
  for (const GoodsPrice& price : kGoodsPrices) {
    insertRow(db, "SalesGoods",
              {{"Code", COleVariant(++code)},
               {"GoodsCode", COleVariant(QString::fromUtf8(price.goods->code))},
               {"Name", COleVariant(QString::fromUtf8(price.goods->name))},
               {"Unit", COleVariant(QString::fromUtf8(price.goods->unit))},
               {"Irisu", COleVariant(1.0)},
               {"StandardPrice", COleVariant(price.standardPrice)},
               {"Price1", COleVariant(price.standardPrice)},
               {"CostPrice", COleVariant(roundTo(price.standardPrice * kCostShare, 1.0))},
               {"MinimumPrice", COleVariant(0.0)},
               {"TaxClass", COleVariant(0)},
               {"TaxRateCode", COleVariant(kTaxRateCode)}});
  }
  insertRow(db, "SalesPerson", {{"Code", COleVariant(1L)}, {"Name", COleVariant("山田 太郎")}});
  insertRow(db, "SalesPerson", {{"Code", COleVariant(2L)}, {"Name", COleVariant("山田 花子")}});
  insertRow(db, "SalesCompany",
            {{"Code", COleVariant(1L)},
             {"Name", COleVariant("山田農園")},
             {"PostCode", COleVariant("024-0100")},
             {"Address1", COleVariant("岩手県北上市和賀町1-2-3")},
             {"Tel", COleVariant("0198-00-1234")},
             {"Fax", COleVariant("0198-00-1235")},
             {"InvoiceNo", COleVariant("T1234567890123")},
             {"AmountRounding", COleVariant(3)},
             {"TaxRate0", COleVariant(1000L)},
             {"TaxRate1", COleVariant(800L)},
             {"Reduced1", COleVariant(1)},
             {"DefaultTaxRateCode", COleVariant(kTaxRateCode)}});
  insertRow(db, "SalesEnvironment",
            {{"Code", COleVariant(1L)},
             {"LastNoSales", COleVariant(slipNumber(lastNumbers[kSale]))},
             {"LastNoReservation", COleVariant(slipNumber(lastNumbers[kReservation]))},
             {"LastSlipDate", COleVariant(lastDate)},
             {"Workstation", COleVariant(1L)}});
  for (int i = 0; i < static_cast<int>(kClientSettings.size()); ++i) {
    const ClientSettings& client = kClientSettings[static_cast<std::size_t>(i)];
    db.Execute(QStringLiteral("UPDATE CustomerMst SET TaxTiming = ?, TaxRounding = 1, CloseDay = ?, "
                              "PostCode = ?, Address1 = ?, Tel = ? WHERE Code = ?"),
               {COleVariant(client.taxTiming), COleVariant(client.closeDay),
                COleVariant(client.postCode), COleVariant(client.address), COleVariant(client.tel),
                COleVariant(codeOf(i))});
  }
  // The clients' figures as saving the slips one by one would have left them.
  db.Execute(QStringLiteral(
      "UPDATE CustomerMst SET "
      "SalesTotal = COALESCE((SELECT SUM(TotalAmount) FROM Slip WHERE Slip.CustomerCode = "
      "CustomerMst.Code AND AppType = 0), 0), "
      "Balance = COALESCE((SELECT SUM(TotalAmount) FROM Slip WHERE Slip.CustomerCode = "
      "CustomerMst.Code AND AppType = 0 AND SlipKind = 2), 0), "
      "SalesSlipCount = (SELECT COUNT(*) FROM Slip WHERE Slip.CustomerCode = CustomerMst.Code), "
      "LastSlipDate = COALESCE((SELECT MAX(SlipDate) FROM Slip WHERE Slip.CustomerCode = "
      "CustomerMst.Code), 0)"));
}

}  // namespace

void writeSales(CDaoDatabase& db, const Season& season, quint32 seed) {
  std::array<int, 2> numbers{0, 0};
  long code = 0;
  long lastDate = 0;
  for (const Slip& slip : SalesBuilder(season, seed).build()) {
    const QString number = slipNumber(++numbers[static_cast<std::size_t>(slip.appType)]);
    writeHeader(db, slip, ++code, number);
    for (std::size_t i = 0; i < slip.lines.size(); ++i)
      writeLine(db, slip, code, number, slip.lines[i], static_cast<int>(i) + 1);
    lastDate = std::max(lastDate, dateNumber(slip.date));
  }
  writeSalesMasters(db, numbers, lastDate);
}

}  // namespace hv6::demo
