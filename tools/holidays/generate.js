// Generates data/holiday.sql: the State Council's public-holiday arrangements for 2004 ... 2026,
// one row per year and holiday, for the table `holiday` of user.dat.
//
// Source: the holiday tables shipped in the npm package lunar-javascript 1.7.7 (HolidayUtil),
// corrected by the OVERRIDES below. Run: npm ci && node generate.js  (writes ../../data/holiday.sql)
//
// Row form: year, name (key), leftday (make-up working days before the days off), middleday (the
// days off), rightday (make-up working days after them), day (the festival's own date first).
// Dates are "YYYY-MM-DD" joined by ",". 元旦 days that fall in late December belong to the next
// year's 元旦. Where 中秋 and 国庆 share one block of days off, 中秋 keeps the days of the block
// before 1 October when its date falls before 1 October (otherwise its own date alone), 国庆 the
// days from 1 October on; make-up days before the block go with the holiday the block begins with,
// those after it with 国庆.
'use strict';
const fs = require('fs');
const path = require('path');
const { HolidayUtil, Solar, Lunar } = require('lunar-javascript');

const FIRST_YEAR = 2004;
const LAST_YEAR = 2026;
const KEYS = ['yuandan', 'chunjie', 'qingming', 'laodong', 'duanwu', 'zhongqiu', 'guoqing'];
const NAME_TO_KEY = {
  '元旦节': 'yuandan', '春节': 'chunjie', '清明节': 'qingming', '劳动节': 'laodong',
  '端午节': 'duanwu', '中秋节': 'zhongqiu', '国庆节': 'guoqing', '国庆中秋': 'guoqing',
};

// Facts the package lacks or gets wrong, checked against the State Council's notices.
// add: [date, key, work]; drop: dates to remove.
const OVERRIDES = {
  add: [
    // 国办发明电〔2012〕14号 (arrangement for 2013): 清明 4月4日至6日, 4月7日（星期日）上班;
    // 国庆 10月1日至7日, 9月29日（星期日）、10月12日（星期六）上班.
    ['2013-04-07', 'qingming', true],
    ['2013-10-12', 'guoqing', true],
  ],
  // A make-up working day is always a Saturday or Sunday; the package lists two ordinary
  // weekdays of 2012 as such (2012-05-02 Wednesday, 2012-10-08 Monday). Both are dropped by
  // the weekend check below, which reports every date it drops.
  drop: [],
};

const pad = (n) => String(n).padStart(2, '0');
const ymd = (s) => `${s.getYear()}-${pad(s.getMonth())}-${pad(s.getDay())}`;
const solarOf = (text) => { const [y, m, d] = text.split('-').map(Number); return Solar.fromYmd(y, m, d); };

// Every dated entry, keyed by the holiday's year (the year of its target date).
const entries = [];  // {day, key, work, year}
for (let y = FIRST_YEAR - 1; y <= LAST_YEAR + 1; y++) {
  for (const h of HolidayUtil.getHolidays(y)) {
    const key = NAME_TO_KEY[h.getName()];
    if (!key) continue;  // e.g. the one-off 抗战胜利日 of 2015 is not one of the seven
    const year = Number(h.getTarget().slice(0, 4));
    entries.push({ day: h.getDay(), key, work: h.isWork(), year });
  }
}
for (const [day, key, work] of OVERRIDES.add) {
  if (entries.some((e) => e.day === day)) throw new Error(`override ${day} already present`);
  entries.push({ day, key, work, year: Number(day.slice(0, 4)) });
}
const kept = entries.filter((e) => {
  if (OVERRIDES.drop.includes(e.day)) return false;
  const w = solarOf(e.day).getWeek();
  if (e.work && w !== 0 && w !== 6) {
    process.stderr.write(`dropped weekday make-up day ${e.day} (${e.key})\n`);
    return false;
  }
  return true;
});

function festivalDay(year, key) {
  switch (key) {
    case 'yuandan': return `${year}-01-01`;
    case 'chunjie': return ymd(Lunar.fromYmd(year, 1, 1).getSolar());
    case 'qingming': return ymd(Lunar.fromYmd(year, 3, 1).getJieQiTable()['清明']);
    case 'laodong': return `${year}-05-01`;
    case 'duanwu': return ymd(Lunar.fromYmd(year, 5, 5).getSolar());
    case 'zhongqiu': return ymd(Lunar.fromYmd(year, 8, 15).getSolar());
    case 'guoqing': return `${year}-10-01`;
  }
  throw new Error(key);
}

const nextDay = (d) => ymd(solarOf(d).next(1));
// Maximal runs of consecutive dates (input sorted).
function runs(days) {
  const out = [];
  for (const d of days) {
    const last = out[out.length - 1];
    if (last && nextDay(last[last.length - 1]) === d) last.push(d); else out.push([d]);
  }
  return out;
}

function split(off, work) {
  off = [...off].sort();
  work = [...work].sort();
  const first = off[0], last = off[off.length - 1];
  return {
    left: work.filter((d) => !first || d < first),
    middle: off,
    right: work.filter((d) => first && d > last),
  };
}

const rows = [];
for (let year = FIRST_YEAR; year <= LAST_YEAR; year++) {
  const mine = kept.filter((e) => e.year === year);
  const byKey = {};
  for (const key of KEYS) {
    const es = mine.filter((e) => e.key === key);
    byKey[key] = split(es.filter((e) => !e.work).map((e) => e.day), es.filter((e) => e.work).map((e) => e.day));
  }
  // 中秋 and 国庆 in one block of days off.
  const autumn = mine.filter((e) => e.key === 'zhongqiu' || e.key === 'guoqing');
  const z = festivalDay(year, 'zhongqiu');
  const oct1 = `${year}-10-01`;
  const block = runs(autumn.filter((e) => !e.work).map((e) => e.day).sort())
    .find((r) => r.includes(oct1));
  // 中秋 is a day off from 2008 on; before that a 中秋 inside the National Day week is not its own.
  if (year >= 2008 && block && block.includes(z)) {
    const work = autumn.filter((e) => e.work).map((e) => e.day).sort();
    const before = work.filter((d) => d < block[0]);
    const after = work.filter((d) => d > block[block.length - 1]);
    const zOff = z < oct1 ? block.filter((d) => d < oct1) : [z];
    byKey.zhongqiu = { left: z < oct1 ? before : [], middle: zOff, right: [] };
    byKey.guoqing = { left: z < oct1 ? [] : before, middle: block.filter((d) => d >= oct1), right: after };
  }
  for (const key of KEYS) {
    const r = byKey[key];
    const day = festivalDay(year, key);
    if (r.middle.length && !r.middle.includes(day) && key !== 'yuandan') {
      // The festival's own date lies outside its days off only where the package says so.
      process.stderr.write(`note: ${year} ${key} festival ${day} not among days off ${r.middle}\n`);
    }
    rows.push([String(year), key, r.left.join(','), r.middle.join(','), r.right.join(','), day]);
  }
}

const q = (s) => `'${s.replace(/'/g, "''")}'`;
let sql = '-- Official public-holiday arrangements 2004-2026 (State Council notices).\n' +
  '-- Generated by tools/holidays/generate.js from lunar-javascript 1.7.7 with corrections; do not edit.\n' +
  'BEGIN TRANSACTION;\n';
for (const r of rows) {
  sql += `INSERT INTO holiday (year,name,leftday,middleday,rightday,day) VALUES (${r.map(q).join(',')});\n`;
}
sql += 'COMMIT;\n';
const out = path.join(__dirname, '..', '..', 'data', 'holiday.sql');
fs.writeFileSync(out, sql);
process.stderr.write(`wrote ${rows.length} rows to ${out}\n`);
