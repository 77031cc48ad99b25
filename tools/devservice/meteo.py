"""The default weather source's stand-in: forecast and air-quality answers in the documented JSON
layout (parallel hourly arrays, "current", units), made up per place and date, the same for the
same place and date.

  GET /v1/forecast?latitude=&longitude=&current=...&hourly=...   forecast (forecast_days, default 7)
  GET /v1/air-quality?latitude=&longitude=&current=...&hourly=... air quality (past_days, forecast_days)

Only the variables asked for are answered. Switches (in the "/_/" prefix, as for the other services):
  meteoerror    answer 400 with the documented error object
  meteonull     every value null
"""
import datetime
import hashlib
import json

CODES = [0, 1, 2, 3, 45, 48, 51, 53, 55, 56, 57, 61, 63, 65, 66, 67, 71, 73, 75, 77, 80, 81, 82, 85, 86,
         95, 96, 99]
COMMON_CODES = [0, 1, 2, 3, 3, 2, 1, 61, 63, 80, 45, 71, 95]
UNITS = {'temperature_2m': '°C', 'weather_code': 'wmo code', 'wind_speed_10m': 'm/s',
         'wind_direction_10m': '°', 'precipitation': 'mm', 'pm2_5': 'μg/m³', 'pm10': 'μg/m³',
         'ozone': 'μg/m³', 'nitrogen_dioxide': 'μg/m³', 'sulphur_dioxide': 'μg/m³',
         'carbon_monoxide': 'μg/m³'}


def number(seed, n):
    h = hashlib.sha256(seed.encode()).digest()
    return int.from_bytes(h[:4], 'big') % n


def value(name, lat, lon, when):
    """One variable at one hour, from the place, the day and the hour."""
    day = when.date().isoformat()
    seed = f'{lat:.2f},{lon:.2f}|{day}'
    hour = when.hour
    warm = 8 <= hour < 20
    base = 30 - (lat - 18) * 0.7 if when.month in (5, 6, 7, 8, 9) else 18 - (lat - 18) * 0.9
    if name == 'temperature_2m':
        return round(base + number(seed + 't', 6) + (6 if warm else 0) - abs(hour - 14) * 0.3, 1)
    if name == 'weather_code':
        return COMMON_CODES[number(seed + f'c{hour // 6}', len(COMMON_CODES))]
    if name == 'wind_speed_10m':
        return round(1 + number(seed + f'w{hour // 6}', 80) / 10, 1)
    if name == 'wind_direction_10m':
        return number(seed + f'd{hour // 6}', 360)
    if name == 'precipitation':
        return round(number(seed + f'p{hour}', 30) / 10, 1) if number(seed + f'c{hour // 6}', 3) == 0 else 0.0
    scale = {'pm2_5': 150, 'pm10': 220, 'ozone': 210, 'nitrogen_dioxide': 90, 'sulphur_dioxide': 40,
             'carbon_monoxide': 1600}.get(name)
    if scale:
        return round(5 + number(seed + name + str(hour // 3), scale), 1)
    return None


def answer(path, query, opts, date, now):
    """(status, JSON text) for a path of the service, or None when the path is not one of it."""
    if path not in ('/v1/forecast', '/v1/air-quality'):
        return None
    if 'meteoerror' in opts:
        return 400, json.dumps({'error': True, 'reason': 'Parameter latitude is required'})
    try:
        lat = float(query.get('latitude', [''])[0])
        lon = float(query.get('longitude', [''])[0])
    except ValueError:
        return 400, json.dumps({'error': True, 'reason': 'Invalid latitude or longitude'})
    if not (-90 <= lat <= 90 and -180 <= lon <= 180):
        return 400, json.dumps({'error': True, 'reason': 'Latitude must be in range of -90 to 90°.'})
    air = path == '/v1/air-quality'
    default_days = 5 if air else 7
    days = int(query.get('forecast_days', [str(default_days)])[0])
    past = int(query.get('past_days', ['0'])[0])
    start = datetime.datetime.combine(date - datetime.timedelta(days=past), datetime.time())
    hours = [start + datetime.timedelta(hours=h) for h in range((past + days) * 24)]
    current_time = datetime.datetime.combine(date, datetime.time(now.hour, now.minute // 15 * 15))
    null = 'meteonull' in opts
    out = {'latitude': round(lat, 2), 'longitude': round(lon, 2), 'generationtime_ms': 0.2,
           'utc_offset_seconds': 28800, 'timezone': 'Asia/Shanghai', 'timezone_abbreviation': 'CST',
           'elevation': 12.0}
    current = [v for v in ','.join(query.get('current', [])).split(',') if v]
    if current:
        out['current_units'] = {'time': 'iso8601', 'interval': 'seconds', **{v: UNITS.get(v, '') for v in current}}
        out['current'] = {'time': current_time.strftime('%Y-%m-%dT%H:%M'), 'interval': 900}
        for v in current:
            out['current'][v] = None if null else value(v, lat, lon, current_time)
    hourly = [v for v in ','.join(query.get('hourly', [])).split(',') if v]
    if hourly:
        out['hourly_units'] = {'time': 'iso8601', **{v: UNITS.get(v, '') for v in hourly}}
        out['hourly'] = {'time': [h.strftime('%Y-%m-%dT%H:%M') for h in hours]}
        for v in hourly:
            out['hourly'][v] = [None if null else value(v, lat, lon, h) for h in hours]
    return 200, json.dumps(out, ensure_ascii=False, separators=(',', ':'))
