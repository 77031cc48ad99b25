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
