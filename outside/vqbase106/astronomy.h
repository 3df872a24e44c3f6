#pragma once
// The astronomy behind the lunisolar calendar: new moons (Meeus, with the
// periodic and planetary terms) and the sun's apparent longitude (a
// truncated VSOP87 series with nutation and aberration). Times are Julian
// Ephemeris Days (TD); jstDay turns them into the civil day in Japan.

namespace hv6::astronomy {

// Seconds by which Terrestrial Time runs ahead of Universal Time.
double deltaT(double year);

// The n-th new moon after the one of 2000-01-06 (n may be negative).
double newMoon(long n);
// The number n of the mean new moon nearest to a moment (the true one lies
// within about 14 hours of the mean one).
long newMoonNumberNear(double jde);

// The sun's apparent geocentric longitude in degrees, 0 <= result < 360.
double sunLongitude(double jde);
// The moment the sun's apparent longitude reaches `degrees`, searched near
// `guessJde` (within half a year of it).
double solarTerm(double degrees, double guessJde);

// The Julian day number of the Japan Standard Time (UTC+9) day in which a
// moment falls.
long jstDay(double jde);

}  // namespace hv6::astronomy
