#include "outside/vqbase106/astronomy.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace hv6::astronomy {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kSynodicMonth = 29.530588861;
constexpr double kFirstNewMoon = 2451550.09766;  // mean new moon of 2000-01-06
constexpr double kTropicalYear = 365.2422;

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

double normalized360(double degrees) {
  const double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

double normalized180(double degrees) {
  const double d = normalized360(degrees);
  return d > 180.0 ? d - 360.0 : d;
}

double polynomial(double t, std::initializer_list<double> coefficients) {
  double sum = 0;
  double power = 1;
  for (double c : coefficients) {
    sum += c * power;
    power *= t;
  }
  return sum;
}

// ---- the sun ------------------------------------------------------------

// One periodic term A cos(B + C tau) of the VSOP87 series.
struct Term {
  double a;
  double b;
  double c;
};

// The Earth's heliocentric longitude, the terms Meeus keeps (units 1e-8 rad).
constexpr Term kL0[] = {
    {175347046, 0, 0},          {3341656, 4.6692568, 6283.0758500}, {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849},  {3418, 2.8289, 3.5231},            {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},  {2343, 6.1352, 3930.2097},         {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910},   {1199, 1.1096, 1577.3435},         {990, 5.233, 5884.927},
    {902, 2.045, 26.298},       {857, 3.508, 398.149},             {780, 1.179, 5223.694},
    {753, 2.533, 5507.553},     {505, 4.583, 18849.228},           {492, 4.205, 775.523},
    {357, 2.920, 0.067},        {317, 5.849, 11790.629},           {284, 1.899, 796.298},
    {271, 0.315, 10977.079},    {243, 0.345, 5486.778},            {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},     {202, 2.458, 6069.777},            {156, 0.833, 213.299},
    {132, 3.411, 2942.463},     {126, 1.083, 20.775},              {115, 0.645, 0.980},
    {103, 0.636, 4694.003},     {102, 0.976, 15720.839},           {102, 4.267, 7.114},
    {99, 6.21, 2146.17},        {98, 0.68, 155.42},                {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},        {85, 3.67, 71430.70},              {80, 1.81, 17260.15},
    {79, 3.04, 12036.46},       {75, 1.76, 5088.63},               {74, 3.50, 3154.69},
    {74, 4.68, 801.82},         {70, 0.83, 9437.76},               {62, 3.98, 8827.39},
    {61, 1.82, 7084.90},        {57, 2.78, 6286.60},               {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},        {52, 0.19, 12139.55},              {52, 1.33, 1748.02},
    {51, 0.28, 5856.48},        {49, 0.49, 1194.45},               {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},       {39, 6.17, 10447.39},              {37, 6.04, 10213.29},
    {37, 2.57, 1059.38},        {36, 1.71, 2352.87},               {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},       {30, 0.44, 83996.85},              {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};
constexpr Term kL1[] = {
    {628331966747.0, 0, 0}, {206059, 2.678235, 6283.07585}, {4303, 2.6351, 12566.1517},
    {425, 1.590, 3.523},    {119, 5.796, 26.298},           {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},   {72, 1.14, 529.69},             {68, 1.87, 398.15},
    {67, 4.41, 5507.55},    {59, 2.89, 5223.69},            {56, 2.17, 155.42},
    {45, 0.40, 796.30},     {36, 0.47, 775.52},             {29, 2.65, 7.11},
    {21, 5.34, 0.98},       {19, 1.85, 5486.78},            {19, 4.97, 213.30},
    {17, 2.99, 6275.96},    {16, 0.03, 2544.31},            {16, 1.43, 2146.17},
    {15, 1.21, 10977.08},   {12, 2.83, 1748.02},            {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},    {12, 2.08, 4694.00},            {11, 0.77, 553.57},
    {10, 1.30, 6286.60},    {10, 4.24, 1349.87},            {9, 2.70, 242.73},
    {9, 5.64, 951.72},      {8, 5.30, 2352.87},             {6, 2.65, 9437.76},
    {6, 4.67, 4690.48},
};
constexpr Term kL2[] = {
    {52919, 0, 0},       {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.30},   {16, 3.68, 155.42},        {10, 0.76, 18849.23},    {9, 2.06, 77713.77},
    {7, 0.83, 775.52},   {5, 4.66, 1577.34},        {4, 1.03, 7.11},         {4, 3.44, 5573.14},
    {3, 5.14, 796.30},   {3, 6.05, 5507.55},        {3, 1.19, 242.73},       {3, 6.12, 529.69},
    {3, 0.31, 398.15},   {3, 2.28, 553.57},         {2, 4.38, 5223.69},      {2, 3.75, 0.98},
};
constexpr Term kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0},         {17, 5.49, 12566.15}, {3, 5.20, 155.42},
    {1, 4.72, 3.52},        {1, 5.30, 18849.23}, {1, 5.97, 242.73},
};
constexpr Term kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Term kL5[] = {{1, 3.14, 0}};

template <std::size_t N>
double series(const Term (&terms)[N], double tau) {
  double sum = 0;
  for (const Term& t : terms) sum += t.a * std::cos(t.b + t.c * tau);
  return sum;
}

// The Earth's heliocentric longitude in radians (not reduced).
double earthLongitude(double tau) {
  const double l = series(kL0, tau) +
                   tau * (series(kL1, tau) +
                          tau * (series(kL2, tau) +
                                 tau * (series(kL3, tau) + tau * (series(kL4, tau) + tau * series(kL5, tau)))));
  return l / 1e8;
}

// The Earth-sun distance in astronomical units, its main terms (enough for
// the aberration).
double earthDistance(double tau) {
  return 1.00013989 + 0.01670700 * std::cos(3.0984635 + 6283.07585 * tau) +
         0.00013956 * std::cos(3.05525 + 12566.15170 * tau);
}

// Nutation in longitude in arc seconds (the four largest terms).
double nutationInLongitude(double t) {
  const double omega = radians(125.04452 - 1934.136261 * t);
  const double sunMean = radians(280.4665 + 36000.7698 * t);
  const double moonMean = radians(218.3165 + 481267.8813 * t);
  return -17.20 * std::sin(omega) - 1.32 * std::sin(2 * sunMean) - 0.23 * std::sin(2 * moonMean) +
         0.21 * std::sin(2 * omega);
}

// ---- the moon -------------------------------------------------------------

struct MoonArguments {
  double e;           // eccentricity factor of the Earth's orbit
  double sunAnomaly;  // radians from here on
  double moonAnomaly;
  double latitude;
  double node;
};

MoonArguments moonArguments(double k, double t) {
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  return {1 - 0.002516 * t - 0.0000074 * t2,
          radians(2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3),
          radians(201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4),
          radians(160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4),
          radians(124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3)};
}

double newMoonPeriodicTerms(const MoonArguments& a) {
  const double m = a.sunAnomaly;
  const double mp = a.moonAnomaly;
  const double f = a.latitude;
  const double e = a.e;
  return -0.40720 * std::sin(mp) + 0.17241 * e * std::sin(m) + 0.01608 * std::sin(2 * mp) +
         0.01039 * std::sin(2 * f) + 0.00739 * e * std::sin(mp - m) - 0.00514 * e * std::sin(mp + m) +
         0.00208 * e * e * std::sin(2 * m) - 0.00111 * std::sin(mp - 2 * f) -
         0.00057 * std::sin(mp + 2 * f) + 0.00056 * e * std::sin(2 * mp + m) -
         0.00042 * std::sin(3 * mp) + 0.00042 * e * std::sin(m + 2 * f) +
         0.00038 * e * std::sin(m - 2 * f) - 0.00024 * e * std::sin(2 * mp - m) -
         0.00017 * std::sin(a.node) - 0.00007 * std::sin(mp + 2 * m) +
         0.00004 * std::sin(2 * mp - 2 * f) + 0.00004 * std::sin(3 * m) +
         0.00003 * std::sin(mp + m - 2 * f) + 0.00003 * std::sin(2 * mp + 2 * f) -
         0.00003 * std::sin(mp + m + 2 * f) + 0.00003 * std::sin(mp - m + 2 * f) -
         0.00002 * std::sin(mp - m - 2 * f) - 0.00002 * std::sin(3 * mp + m) +
         0.00002 * std::sin(4 * mp);
}

// The planetary arguments A1..A14: amplitude (days), start and rate per
// lunation (degrees).
struct PlanetaryTerm {
  double amplitude;
  double start;
  double perLunation;
};

constexpr std::array<PlanetaryTerm, 14> kPlanetary = {{
    {0.000325, 299.77, 0.107408}, {0.000165, 251.88, 0.016321}, {0.000164, 251.83, 26.651886},
    {0.000126, 349.42, 36.412478}, {0.000110, 84.66, 18.206239}, {0.000062, 141.74, 53.303771},
    {0.000060, 207.14, 2.453732}, {0.000056, 154.84, 7.306860}, {0.000047, 34.52, 27.261239},
    {0.000042, 207.19, 0.121824}, {0.000040, 291.34, 1.844379}, {0.000037, 161.72, 24.198154},
    {0.000035, 239.56, 25.513099}, {0.000023, 331.55, 3.592518},
}};

double newMoonPlanetaryTerms(double k, double t) {
  double sum = 0;
  for (std::size_t i = 0; i < kPlanetary.size(); ++i) {
    double argument = kPlanetary[i].start + kPlanetary[i].perLunation * k;
    if (i == 0) argument -= 0.009173 * t * t;
    sum += kPlanetary[i].amplitude * std::sin(radians(argument));
  }
  return sum;
}

double yearOf(double jde) { return 2000.0 + (jde - kJ2000) / 365.25; }

}  // namespace

double deltaT(double year) {
  if (year >= 2005 && year < 2050) return polynomial(year - 2000, {62.92, 0.32217, 0.005589});
  if (year >= 1986 && year < 2005)
    return polynomial(year - 2000, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
  if (year >= 1961 && year < 1986) return polynomial(year - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
  if (year >= 1941 && year < 1961) return polynomial(year - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
  if (year >= 1920 && year < 1941) return polynomial(year - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
  if (year >= 1900 && year < 1920)
    return polynomial(year - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
  const double u = (year - 1820) / 100;
  const double longTerm = -20 + 32 * u * u;
  if (year >= 2050 && year < 2150) return longTerm - 0.5628 * (2150 - year);
  return longTerm;
}

double newMoon(long n) {
  const double k = double(n);
  const double t = k / 1236.85;
  const double mean = kFirstNewMoon + kSynodicMonth * k +
                      t * t * (0.00015437 + t * (-0.000000150 + t * 0.00000000073));
  return mean + newMoonPeriodicTerms(moonArguments(k, t)) + newMoonPlanetaryTerms(k, t);
}

long newMoonNumberNear(double jde) { return std::lround((jde - kFirstNewMoon) / kSynodicMonth); }

double sunLongitude(double jde) {
  const double tau = (jde - kJ2000) / 365250;
  const double geometric = earthLongitude(tau) * 180.0 / std::numbers::pi + 180.0;
  const double correctionArcsec =
      -0.09033 + nutationInLongitude(tau * 10) - 20.4898 / earthDistance(tau);
  return normalized360(geometric + correctionArcsec / 3600.0);
}

double solarTerm(double degrees, double guessJde) {
  double jde = guessJde;
  for (int i = 0; i < 30; ++i) {
    const double behind = normalized180(degrees - sunLongitude(jde));
    jde += behind * kTropicalYear / 360.0;
    if (std::fabs(behind) < 1e-9) break;
  }
  return jde;
}

long jstDay(double jde) {
  const double universal = jde - deltaT(yearOf(jde)) / 86400.0;
  return long(std::floor(universal + 0.5 + 9.0 / 24.0));
}

}  // namespace hv6::astronomy
