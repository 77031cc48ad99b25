'use strict';
// Instants of the 24 solar terms from the VSOP87 theory (Earth, full series), with the FK5
// correction, IAU 1980 nutation in longitude and annual aberration (Meeus, Astronomical
// Algorithms, ch. 25 and 22), all from the astronomia package. Dynamical time is turned into
// Universal Time with astronomia's ΔT: observed values up to the last tabulated year, then
// predictions and the Espenak–Meeus polynomials.
const { planetposition, solar, deltat } = require('astronomia');
const vsop87Bearth = require('astronomia/data/vsop87Bearth');

const earth = new planetposition.Planet(vsop87Bearth.default || vsop87Bearth);

const FIRST_YEAR = 1900;
const LAST_YEAR = 2100;
// Term n (0 = 小寒 … 23 = 冬至); two per Gregorian month.
const NAMES = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满', '芒种', '夏至',
  '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪', '大雪', '冬至'];
const CST_OFFSET_DAYS = 8 / 24;
const DAYS_PER_DEGREE = 365.2422 / 360;

// Apparent geocentric longitude of the Sun targeted by term n, in degrees (小寒 285°, 春分 0°).
function termLongitude(n) {
  return (285 + 15 * n) % 360;
}

function apparentLongitudeDeg(jde) {
  return solar.apparentVSOP87(earth, jde).lon * 180 / Math.PI;
}

// Signed difference a − b folded into (−180°, 180°].
function foldDegrees(d) {
  d = ((d % 360) + 360) % 360;
  return d > 180 ? d - 360 : d;
}

function gregorianToJd(y, m, d) {
  // Julian day at 0h UT of a Gregorian date (Meeus ch. 7).
  if (m <= 2) { y -= 1; m += 12; }
  const a = Math.floor(y / 100);
  const b = 2 - a + Math.floor(a / 4);
  return Math.floor(365.25 * (y + 4716)) + Math.floor(30.6001 * (m + 1)) + d + b - 1524.5;
}

// JDE (TT) at which the Sun's apparent longitude reaches term n's value in Gregorian year `year`.
// Newton iteration on the mean motion; converges to far below a second.
function termJde(n, year) {
  const target = termLongitude(n);
  let jde = gregorianToJd(year, 1, 6) + 15.2184 * n;
  for (let i = 0; i < 50; i++) {
    const step = foldDegrees(target - apparentLongitudeDeg(jde)) * DAYS_PER_DEGREE;
    jde += step;
    if (Math.abs(step) < 1e-8) return jde;
  }
  throw new Error(`no convergence for term ${n} of ${year}`);
}

function deltaTSeconds(jde) {
  return deltat.deltaT(2000 + (jde - 2451545) / 365.25);
}

// Everything about one term: instants, ΔT, and the China Standard Time calendar date.
function termInstant(n, year) {
  const jde = termJde(n, year);
  const dt = deltaTSeconds(jde);
  const jdCst = jde - dt / 86400 + CST_OFFSET_DAYS;
  const ms = Math.round((jdCst - 2440587.5) * 86400000);
  const cst = new Date(ms); // UTC fields of this Date read as China Standard Time
  const dayFraction = ((jdCst + 0.5) % 1 + 1) % 1;
  return {
    n, year, jde, deltaT: dt, jdCst,
    month: cst.getUTCMonth() + 1,
    day: cst.getUTCDate(),
    cstYear: cst.getUTCFullYear(),
    text: cst.toISOString().replace('T', ' ').slice(0, 19),
    // Minutes from the nearest CST midnight; negative before it.
    minutesFromMidnight: (dayFraction < 0.5 ? dayFraction : dayFraction - 1) * 1440,
  };
}

module.exports = { FIRST_YEAR, LAST_YEAR, NAMES, termLongitude, termJde, termInstant, apparentLongitudeDeg };
