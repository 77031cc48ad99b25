-- Tables of user.dat. Rows come from the other files of this folder, imported after this one.

-- Name/value settings; one row per name.
CREATE TABLE userconfig (
  name  TEXT PRIMARY KEY,
  value TEXT
);

-- Weather stations: nine-digit code, province and city names, index letter of the city.
CREATE TABLE weathercode (
  code     TEXT,
  province TEXT,
  city     TEXT,
  letter   TEXT
);
CREATE INDEX weathercode_code ON weathercode (code);
CREATE INDEX weathercode_place ON weathercode (province, city);

-- Provinces with their index letters.
CREATE TABLE provinces (
  letter   TEXT,
  province TEXT
);

-- The user's recent cities; addtime is "yyyy-mm-dd hh:mm:ss:mmm" so text order is time order.
CREATE TABLE mycity (
  prov    TEXT,
  city    TEXT,
  addtime TEXT
);

-- Official public-holiday arrangements: per year and holiday key, make-up working days before
-- (leftday) and after (rightday), days off (middleday), comma-separated, and the jump date (day).
CREATE TABLE holiday (
  year      TEXT,
  name      TEXT,
  leftday   TEXT,
  middleday TEXT,
  rightday  TEXT,
  day       TEXT
);
CREATE INDEX holiday_year_name ON holiday (year, name);

-- Almanac: per date id (yyyymmdd) the numbers of suitable (yi) and avoided (ji) activities.
CREATE TABLE yijidata (
  id TEXT PRIMARY KEY,
  yi TEXT,
  ji TEXT
);

-- Almanac activity names by number.
CREATE TABLE yijikey (
  key TEXT,
  id  TEXT
);
CREATE INDEX yijikey_id ON yijikey (id);

-- The user's reminders. rule: when it repeats, in the text form of calendar/recurrence.h
-- ("lunar 8-15", "term 冬至"); time: "HH:MM" of the day it is due; notice: days before the day
-- that it is shown; created: "yyyy-mm-dd hh:mm:ss" local time; lastshown: the day
-- ("yyyy-mm-dd") of the occurrence last shown, empty before the first.
CREATE TABLE reminders (
  id        INTEGER PRIMARY KEY,
  title     TEXT NOT NULL,
  rule      TEXT NOT NULL,
  time      TEXT NOT NULL,
  notice    INTEGER NOT NULL DEFAULT 0,
  created   TEXT NOT NULL,
  lastshown TEXT NOT NULL DEFAULT ''
);

-- The layout version of the reminders table, one row; a program that finds a version newer than
-- its own leaves the reminders unchanged.
CREATE TABLE reminders_schema (
  version INTEGER NOT NULL
);
INSERT INTO reminders_schema (version) VALUES (1);
