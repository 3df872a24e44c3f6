#pragma once
// The demo farm: a family farm in 岩手県 with rice, tomatoes in two houses,
// cucumbers and soybeans, four workers and their machines and materials.
// Master rows get the Code index + 1 in each (new, empty) table; Scode is
// ten times that, so code and number differ as they do in real data
// (UnitMst excepted: rows refer to a unit by its number, so there both are
// the same).

#include <QString>
#include <span>

#include "store/schema.h"

class CDaoDatabase;

namespace hv6::demo {

enum CropIndex : int { kNoCrop = -1, kRice, kTomato, kCucumber, kSoybean };

enum JobIndex : int {
  kRiceSeedTreatment,
  kRiceSowing,
  kRiceNursery,
  kRicePlowing,
  kRicePuddling,
  kRicePlanting,
  kRiceWeeding,
  kRiceWater,
  kRiceTopDressing,
  kRicePestControl,
  kRiceHarvestStart,
  kRiceHarvest,
  kRiceDrying,
  kRiceShipping,
  kTomatoSowing,
  kTomatoNursery,
  kTomatoBeds,
  kTomatoPlanting,
  kTomatoTraining,
  kTomatoPestControl,
  kTomatoTopDressing,
  kTomatoHarvestStart,
  kTomatoHarvest,
  kTomatoClearing,
  kCucumberSowing,
  kCucumberPlanting,
  kCucumberTraining,
  kCucumberPestControl,
  kCucumberTopDressing,
  kCucumberHarvestStart,
  kCucumberHarvest,
  kCucumberClearing,
  kSoyPlowing,
  kSoySowing,
  kSoyRidging,
  kSoyPestControl,
  kSoyHarvestStart,
  kSoyHarvest,
  kSoySorting,
  kMachineCare,
  kMowing,
  kCompostSpreading,
  kSnowClearing,
  kSupplyPreparation,
};

enum FieldIndex : int { kMaeda1, kMaeda2, kKawarada, kHouse1, kHouse2, kUrabatake, kKita1, kKita2 };
enum FarmerIndex : int { kTaro, kHanako, kIchiro, kJiro };
enum MachineIndex : int {
  kNoMachine = -1,
  kTractor,
  kTransplanter,
  kCombine,
  kSprayer,
  kCultivator,
  kDryer,
  kBrushCutter
};

// Material categories: 0 fertilizers (FertilizerMst), 1-5 MaterialMst1-5.
enum MaterialKind : int {
  kNoMaterial = -1,
  kFertilizer,
  kPesticide,
  kSupply,
  kSeed,
  kFuel,
  kOther
};
enum FertilizerIndex : int {
  kLime,
  kRiceBasal,
  kOrganic,
  kCompound,
  kLiquid,
  kRicePanicle,
  kSoyFertilizer,
  kCompost
};
enum PesticideIndex : int {
  kSeedDisinfectant,
  kHerbicide,
  kBlastFungicide,
  kTomatoFungicide,
  kInsecticide,
  kDownyMildew,
  kPowderyMildew,
  kSoyInsecticide
};
enum SupplyIndex : int {
  kNurseryBox,
  kMulch,
  kTwine,
  kTomatoBox,
  kCucumberBox,
  kRiceBag,
  kNurserySoil
};
enum SeedIndex : int { kRiceSeed, kTomatoSeed, kCucumberSeed, kSoySeed };
enum FuelIndex : int { kDiesel, kGasoline, kMixedOil, kKerosene };
enum OtherIndex : int { kGloves, kTarp, kRepairTape };

enum CustomerIndex : int { kJa, kRoadsideStation, kMarket, kFarmStand, kPrivate };
enum GradeIndex : int { kShu, kYu, kRyo };
enum StandardIndex : int { k2L, kL, kM, kS };

struct CropDef {
  const char* name;
  int startMonth;
  int endMonth;
};
struct JobDef {
  int crop;
  const char* name;
  int startMonth;
  int endMonth;
  bool milestone;
};
struct FieldDef {
  const char* name;
  int crop;
  double area;  // in a (アール)
};
struct MachineDef {
  const char* name;
  int crop;
  int startMonth;
  int endMonth;
  double oilPerAre;  // light oil in L per a; 0 for machines without it
};
struct MaterialDef {
  const char* name;
  int crop;
  int unit;  // UnitMst number
  const char* dilute;
  const char* vermin;
};

std::span<const CropDef> crops();
std::span<const JobDef> jobs();
std::span<const FieldDef> fields();
std::span<const MachineDef> machines();
std::span<const MaterialDef> materials(int kind);
std::span<const char* const> farmers();
std::span<const char* const> customers();
std::span<const char* const> buyers();
std::span<const char* const> grades();
std::span<const char* const> standards();

// The Code of the master row at index; 0 (Null) for a negative index.
constexpr long codeOf(int index) { return index < 0 ? 0 : index + 1; }

// The master table of a material category.
QString materialTable(int kind);

// The identity of the farm for the Information row.
InformationTexts farmInformation();

// Writes every master table of the diary database. Throws CDaoException.
void writeMasters(CDaoDatabase& db);
// The farm's own settings: the last backup and the mobile input items.
void writeFarmSettings(CDaoDatabase& db, long lastBackup);

}  // namespace hv6::demo
