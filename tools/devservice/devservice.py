#!/usr/bin/env python3
"""Local stand-in for the outside web services of the weather and statistics code (loopback only).

    python3 tools/devservice/devservice.py --port 8731

serves, for every station of data/weathercode.sql:
  forecast site      GET  /data/ks/<code>.html       current conditions (UTF-8)
                     GET  /weather/<code>.shtml      forecast page (UTF-8)
  second site        POST /t/q.php                   city search, answers 302 + Location (GBK form)
                     GET  /tq/<code>.htm             forecast page (GBK)
                     GET  /air-rank.htm              air-quality ranking (GBK)
  air-quality site   GET  /air/                      air-quality ranking (GBK)
  default source     GET  /v1/forecast?latitude=...  forecast JSON      (see meteo.py; switches
                     GET  /v1/air-quality?latitude=. air-quality JSON  meteoerror, meteonull)
  IP location        GET  /service/getIpInfo.php?ip= JSON (fixed answers: 202.96.209.5 上海,
                                                  123.123.123.123 北京, 222.84.0.1 广西 南宁,
                                                  175.16.0.1 吉林 延边; others by hash)
  statistics         GET  /i.ashx?gm=&cm=&...        scrambled service document (see below)
                     POST /ubd.ashx                  usage upload, answers "100"
                     GET  /stats-received            what arrived under the same switches, JSON:
                                                     {"reports": [queries], "uploads": [base64 bodies]}

Values vary by city and date and are the same for the same city and date. Behaviour switches go in
a path prefix, so that a service's base address can carry them: "/_/<switch>,<switch>/...", e.g.
a forecast host of http://127.0.0.1:8731/_/500 makes every forecast request answer 500.
  down | timeout | 500 | 404 | garbage
                                  fail every request under the prefix (down: the connection closes
                                  without an answer; timeout: no answer for --timeout-seconds)
  evening | daytime               forecast page without / with today's daytime column
                                  (default: by the clock, without it from 18:00)
  nolife                          pages without their life-index section
  no6h | noyubao                  forecast page without its 6-hour / seven-day section
  nowmissing                      current conditions with 暂无 values
  slow                            answer after 0.4 s
  date=YYYY-MM-DD                 the date the values are made for (default: today)
Statistics switches: the document is tools/servicedoc/service_document.xml, scrambled by
tools/servicedoc/servicedoc.py; the upload address it lists carries the request's switches.
  silent                          /i.ashx never answers (the connection is held, then closed)
  drip                            /i.ashx sends its headers one byte a second, for as long as the
                                  client stays; GET /stats-dripping says how many connections
                                  are being dripped to right now, JSON: {"dripping": N}
  short                           /i.ashx answers a text too short to be a document
  garbage                         /i.ashx answers bytes that are no scrambled document
  deep                            /i.ashx answers the document with 30,000 levels of elements
                                  nested inside it (about 210 KB)
  ip=A.B.C.D                      the public address the document reports
  upload=0100 | upload=refused | upload=silent
                                  the upload is answered "0100" / refused with 403 / never answered
  tag=WORD                        no effect; keeps one test's uploads apart from another's
The same failures per service from the command line: --fail forecast=500 (services: forecast,
weather2, air, iplocation, stats, meteo, meteo_air).
--port 0 picks a free port; --port-file receives the port once the server listens.
--tls-cert CERT.pem --tls-key KEY.pem serve HTTPS instead of HTTP with that certificate.
"""
import argparse
import base64
import datetime
import hashlib
import http.server
import json
import os
import re
import select
import socket
import ssl
import sys
import threading
import time
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

CONDITIONS = ['晴', '多云', '阴', '阵雨', '雷阵雨', '小雨', '中雨', '大雨', '小雪', '雾', '霾',
              '多云转晴', '小到中雨', '雨夹雪']
DIRECTIONS = ['北风', '东北风', '东风', '东南风', '南风', '西南风', '西风', '西北风', '无持续风向']
FORCES = ['微风', '3-4级', '4-5级', '小于3级', '5-6级']
LIFE_FIRST = [('穿衣指数', ['炎热', '舒适', '较舒适', '较冷', '冷']), ('洗车指数', ['适宜', '较适宜', '不宜']),
              ('感冒指数', ['少发', '较易发', '易发']), ('运动指数', ['适宜', '较适宜', '较不宜']),
              ('紫外线指数', ['最弱', '弱', '中等', '强']), ('晾晒指数', ['适宜', '基本适宜', '不宜']),
              ('旅游指数', ['适宜', '较适宜', '一般']), ('交通指数', ['良好', '较好', '一般']),
              ('空气污染扩散指数', ['良', '中', '较差'])]
LIFE_SECOND = [('穿衣', ['热', '舒适', '较冷', '寒冷']), ('晨练', ['适宜', '较适宜', '不宜']),
               ('洗车', ['适宜', '较适宜', '不宜']), ('舒适度', ['舒适', '较舒适', '较不舒适']),
               ('钓鱼', ['适宜', '较适宜', '不宜']), ('晾晒', ['适宜', '基本适宜', '不宜']),
               ('雨伞', ['带伞', '不带伞']), ('化妆', ['保湿', '控油', '防晒']),
               ('过敏', ['极不易发', '不易发', '较易发'])]
SERVICES = ('forecast', 'weather2', 'air', 'iplocation', 'stats', 'meteo', 'meteo_air')
sys.path.insert(0, os.path.join(ROOT, 'tools', 'servicedoc'))
import servicedoc  # noqa: E402
sys.path.insert(0, os.path.join(ROOT, 'tools', 'devservice'))
import meteo  # noqa: E402
FIXED_IPS = {'202.96.209.5': ('上海市', '上海市'), '123.123.123.123': ('北京市', '北京市'),
             '222.84.0.1': ('广西壮族自治区', '南宁市'), '175.16.0.1': ('吉林省', '延边朝鲜族自治州')}


def load_stations():
    path = os.path.join(ROOT, 'data', 'weathercode.sql')
    rows = []
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = re.findall(r"'((?:[^']|'')*)'", line)
            if len(m) >= 3 and line.startswith('INSERT'):
                rows.append((m[0], m[1], m[2]))
    return rows


STATIONS = load_stations()
BY_CODE = {code: (prov, city) for code, prov, city in STATIONS}
BY_NAMES = {(prov, city): code for code, prov, city in STATIONS}
PROVINCES = []
for _c, _p, _n in STATIONS:
    if _p not in PROVINCES:
        PROVINCES.append(_p)


class Values:
    """Deterministic numbers for one city and date."""

    def __init__(self, code, date):
        self.seed = hashlib.sha256(f'{code}|{date.isoformat()}'.encode()).digest()
        self.i = 0

    def pick(self, n):
        v = int.from_bytes(self.seed[self.i % 32:self.i % 32 + 2].ljust(2, b'\0'), 'big') + self.i * 7919
        self.i += 1
        return v % n

    def choice(self, items):
        return items[self.pick(len(items))]


def region_temperature(code, date):
    prov = int(code[3:5])
    base = 30 - prov // 2 if date.month in (5, 6, 7, 8, 9) else 14 - prov // 3
    return base


def page(title, body, charset):
    return (f'<!DOCTYPE html>\n<html lang="zh-CN">\n<head>\n<meta charset="{charset}">\n'
            f'<title>{title}</title>\n<link rel="stylesheet" href="/css/site.css">\n'
            f'<script src="/js/common.js"></script>\n</head>\n<body>\n'
            f'<div class="header"><a href="/" class="logo">天气</a><ul class="nav"><li><a href="/">首页</a></li>'
            f'<li><a href="/radar/">雷达</a></li><li><a href="/warning/">预警</a></li></ul></div>\n'
            f'{body}\n<div class="footer"><p>版权所有 &copy; 示例气象服务</p></div>\n</body>\n</html>\n')


def current_conditions(code, opts, date):
    prov, city = BY_CODE[code]
    v = Values(code, date)
    temp = str(region_temperature(code, date) + v.pick(8) - 4)
    wd, ws = v.choice(DIRECTIONS[:8]), f'{1 + v.pick(5)}级'
    if 'nowmissing' in opts:
        temp, wd, ws = '暂无', '暂无', '暂无'
    info = {'city': city, 'cityid': code, 'temp': temp, 'WD': wd, 'WS': ws,
            'SD': f'{40 + v.pick(50)}%', 'AP': f'{1000 + v.pick(30)}hPa', 'njd': '暂无实况',
            'time': datetime.datetime.now().strftime('%H:%M'), 'isRadar': '1'}
    return json.dumps({'weatherinfo': info}, ensure_ascii=False, separators=(',', ':'))


def day_plan(code, date, days=7):
    """(condition day, condition night, high, low, wind dir, force) for each day."""
    out = []
    base = region_temperature(code, date)
    for d in range(days):
        v = Values(code, date + datetime.timedelta(days=d))
        high = base + v.pick(8)
        low = high - 5 - v.pick(6)
        out.append((v.choice(CONDITIONS), v.choice(CONDITIONS), high, low,
                    v.choice(DIRECTIONS), v.choice(FORCES)))
    return out


def forecast_page(code, opts, date, evening):
    prov, city = BY_CODE[code]
    v = Values(code, date)
    parts = [f'<div class="crumbs fl"><a href="/">全国</a><span>&gt;</span><a href="#">{prov}</a>'
             f'<span>&gt;</span><span>{city}</span></div>']
    if 'no6h' not in opts:
        parts.append('<div class="hour6 left-div"><h2><span>逐6小时预报</span></h2>')
        start = 8
        for k in range(4):
            high = region_temperature(code, date) + v.pick(6)
            low = high - 2 - v.pick(4)
            rain = f'{v.pick(30) / 10:.1f}mm'
            parts.append(
                f'<table class="hour6-table" cellspacing="0">\n'
                f'<tr><th colspan="2">{(start + 6 * k) % 24:02d}时-{(start + 6 * k + 6) % 24:02d}时</th></tr>\n'
                f'<tr class="icons"><td colspan="2"><i class="icon d{v.pick(10):02d}"></i></td></tr>\n'
                f'<tr class="cond"><td><a href="#">{v.choice(CONDITIONS)}</a></td></tr>\n'
                f'<tr class="tem"><td><a href="#">{high}℃</a> / <a href="#">{low}℃</a></td></tr>\n'
                f'<tr><td><a href="#">{v.choice(DIRECTIONS)}{v.choice(FORCES)}</a></td></tr>\n'
                + (f'<tr class="rain"><td><span>降水量 {rain}</span></td></tr>\n' if k != 2 else '')
                + '</table>')
        parts.append('</div>')
    if 'noyubao' not in opts:
        parts.append('<div id="7d" class="weatherYubaoBox c7d">')
        parts.append('<table class="yuBaoTable-head"><tr><th>日期</th><th></th><th>天气现象</th>'
                     '<th>气温</th><th>风向</th><th>风力</th></tr></table>')
        for d, (cd, cn, high, low, wdir, force) in enumerate(day_plan(code, date)):
            day = date + datetime.timedelta(days=d)
            label = f'{day.month}月{day.day}日<br>{"一二三四五六日"[day.weekday()]}'
            rows = []
            if not (d == 0 and evening):
                rows.append(
                    f'<tr><td rowspan="2" class="date">{label}</td><td class="half">白天</td>'
                    f'<td class="icon"><big class="png40 d00"></big></td>'
                    f'<td class="wea"><a href="#">{cd}</a></td>'
                    f'<td class="tem">高温 <span><strong>{high}℃</strong></span></td>'
                    f'<td class="wind"><a href="#" title="{wdir}">\n  {wdir} </a></td>'
                    f'<td class="force"><a href="#"> {force}\n</a></td></tr>')
                rows.append(
                    f'<tr><td class="half">夜间</td><td class="icon"><big class="png40 n00"></big></td>'
                    f'<td class="wea"><a href="#">{cn}</a></td>'
                    f'<td class="tem">低温 <span><strong>{low}℃</strong></span></td>'
                    f'<td class="wind"><a href="#">{wdir}</a></td>'
                    f'<td class="force"><a href="#">{force}</a></td></tr>')
            else:
                rows.append(
                    f'<tr><td class="date">{label}</td><td class="half">夜间</td>'
                    f'<td class="icon"><big class="png40 n00"></big></td>'
                    f'<td class="wea"><a href="#">{cn}</a></td>'
                    f'<td class="tem">低温 <span><strong>{low}℃</strong></span></td>'
                    f'<td class="wind"><a href="#">{wdir}</a></td>'
                    f'<td class="force"><a href="#">{force}</a></td></tr>')
            parts.append('<table class="yuBaoTable" cellspacing="0" cellpadding="0">\n' + '\n'.join(rows)
                         + '\n</table>')
        parts.append('</div>')
    if 'nolife' not in opts:
        parts.append('<div class="livezs"><h2>今日生活指数</h2><ul class="clearfix">')
        for name, words in LIFE_FIRST:
            parts.append(f'<li><aside><b>{name}</b>{v.choice(words)}</aside>'
                         f'<p>今天{v.choice(words)}，请留意。</p></li>')
        parts.append('</ul></div>')
    return page(f'{city}天气预报', '\n'.join(parts), 'utf-8')


def second_site_page(code, opts, date):
    prov, city = BY_CODE[code]
    v = Values(code, date + datetime.timedelta(days=100))
    parts = [f'<div class="title"><h1>{prov}{city}天气预报</h1></div><div class="forecast">']
    for d, (cd, cn, high, low, wdir, force) in enumerate(day_plan(code, date, 6)):
        day = date + datetime.timedelta(days=d)
        name = '今天' if d == 0 else f'{day.month}月{day.day}日'
        wind = f'{wdir}{force}'
        if d == 0:
            wind_html = (f'<p class="wind">风力：<a href="javascript:;" '
                         f'onclick=\'showWind("{wind}")\'>{wind}</a></p>')
        else:
            wind_html = f'<p class="wind">风力：<i>{wind}</i></p>'
        parts.append(
            f'<div class="day"><h3><font color="#cc0000">{name}</font> 星期{"一二三四五六日"[day.weekday()]}</h3>\n'
            f'<p><span>白天</span>：<b>{cd}</b></p>\n<p><span>夜间</span>：<b>{cn}</b></p>\n'
            f'<p class="temp">气温：<font class="low">{low}℃</font> ~ <font class="high">{high}℃</font></p>\n'
            f'{wind_html}</div>')
    parts.append('</div>')
    if 'nolife' not in opts:
        parts.append('<div class="zhishu"><h2>今日生活指数</h2>')
        for name, words in LIFE_SECOND:
            parts.append(f'<dl><h4>{name}</h4><p>{v.choice(words)}</p></dl>')
        parts.append('</div>')
    return page(f'{city}天气', '\n'.join(parts), 'gbk')


def aqi_of(name, date):
    v = Values(name, date)
    return 15 + v.pick(320)


def ranked(date):
    """(name, aqi) for the ranking: prefecture cities (districts are not ranked), best first."""
    rows = []
    for code, prov, city in STATIONS:
        if prov in ('北京', '上海') and not code.endswith('0100'):
            continue  # districts of the two cities are not ranked; the city row stands for them
        rows.append((city, aqi_of(city, date)))
    rows.sort(key=lambda r: (r[1], r[0]))
    return rows


def level(aqi):
    for bound, word in ((50, '优'), (100, '良'), (150, '轻度污染'), (200, '中度污染'), (300, '重度污染')):
        if aqi <= bound:
            return word
    return '严重污染'


def air_rank_first(date):
    rows = ['<div class="rank-box"><h2>城市空气质量排名</h2><p class="update">'
            f'{date.isoformat()} 10:00 更新</p><table class="rank-table" cellspacing="0">',
            '<tr class="head"><th>排名</th><th>城市</th><th>AQI</th><th>首要污染物</th></tr>']
    for i, (name, aqi) in enumerate(ranked(date), 1):
        shown = name + ('市' if i % 5 == 0 else '')
        rows.append(f'<tr><td class="td td-1st">{i}</td><td class="td td-2nd">'
                    f'<a href="/air/{i}.html" target="_blank">{shown}</a></td>'
                    f'<td class="td td-3rd">{aqi}</td><td class="td td-4th">PM2.5</td></tr>')
    rows.append('</table></div>')
    return page('空气质量排名', '\n'.join(rows), 'gbk')


def air_rank_second(date):
    rows = ['<div class="aqi-rank"><h2>全国重点城市空气质量指数排行榜</h2>',
            '<ul class="aqi-list"><li class="head"><span>排名</span><span>城市</span><span>AQI</span>'
            '<span>质量状况</span></li>']
    for i, (name, aqi) in enumerate(ranked(date), 1):
        rows.append(f'<li><span class="num">{i}</span><a href="/air/city{i}.html" target="_blank">{name}</a>'
                    f'<span class="trend">{"↑" if i % 2 else "↓"}</span><span class="aqi">{aqi}</span>'
                    f'<span class="lv">{level(aqi)}</span></li>')
    rows.append('</ul></div><div class="links"><a href="/about.html" target="_blank">关于</a></div>')
    return page('全国空气质量', '\n'.join(rows), 'gbk')


def full_province(prov):
    special = {'内蒙古': '内蒙古自治区', '广西': '广西壮族自治区', '西藏': '西藏自治区', '宁夏': '宁夏回族自治区',
               '新疆': '新疆维吾尔自治区', '香港': '香港特别行政区', '澳门': '澳门特别行政区'}
    if prov in special:
        return special[prov]
    if prov in ('北京', '上海', '天津', '重庆'):
        return prov + '市'
    return prov + '省'


def ip_reply(ip):
    if not re.fullmatch(r'(\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3})', ip or '') or \
            any(int(p) > 255 for p in ip.split('.')) or ip.startswith(('10.', '127.', '192.168.')):
        return {'code': 1, 'data': 'invalid ip'}
    if ip in FIXED_IPS:
        region, city = FIXED_IPS[ip]
    else:
        code, prov, name = STATIONS[int(hashlib.sha256(ip.encode()).hexdigest(), 16) % len(STATIONS)]
        region, city = full_province(prov), name + '市'
    return {'code': 0, 'data': {'ip': ip, 'country': '中国', 'area': '', 'region': region, 'city': city,
                                'county': '', 'isp': '电信', 'country_id': 'CN'}}


# ------------------------------------------------------------------ statistics service

def option_value(opts, name, default):
    for o in opts:
        if o.startswith(name + '='):
            return o[len(name) + 1:]
    return default


def service_document(base, opts, date):
    """The readable document with its placeholders filled, scrambled as the service sends it."""
    path = os.path.join(ROOT, 'tools', 'servicedoc', 'service_document.xml')
    with open(path, encoding='utf-8') as f:
        text = f.read()
    text = (text.replace('{base}', base).replace('{ip}', option_value(opts, 'ip', '123.123.123.123'))
            .replace('{year}', f'{date.year:04d}').replace('{month}', f'{date.month:02d}'))
    if 'deep' in opts:
        text = text.replace('</ip>', '</ip>' + '<x>' * 30000 + '</x>' * 30000, 1)
    return servicedoc.scramble(text)


class StatisticsRoutes:
    """The statistics service: the report, the upload and what the uploads were (kept in memory)."""

    def __init__(self):
        self.lock = threading.Lock()
        self.reports = {}  # switches prefix -> [query strings]
        self.uploads = {}  # switches prefix -> [bodies]
        self.dripping = 0  # connections a drip writes to now

    def drip(self, handler):
        """Headers one byte a second until the client hangs up (or the server stops)."""
        with self.lock:
            self.dripping += 1
        try:
            handler.wfile.write(b'HTTP/1.1 200 OK\r\nX-Slow: ')
            handler.wfile.flush()
            while True:
                readable, _, _ = select.select([handler.connection], [], [], 1.0)
                if readable and not handler.connection.recv(1, socket.MSG_PEEK):
                    break  # the client closed its end
                handler.wfile.write(b'a')
                handler.wfile.flush()
        except OSError:
            pass
        finally:
            with self.lock:
                self.dripping -= 1
        handler.close_connection = True

    def handle(self, handler, method, path, opts, prefix, data, date):
        if path == '/i.ashx' and method == 'GET':
            with self.lock:
                self.reports.setdefault(prefix, []).append(urllib.parse.urlsplit(handler.path).query)
            if 'silent' in opts:
                return handler.handle_failure('timeout') or True
            if 'drip' in opts:
                return self.drip(handler) or True
            if 'short' in opts:
                return handler.send(200, b'<x/>', 'text/plain') or True
            mode = handler.failure(opts, 'stats')
            if mode:
                return handler.handle_failure(mode) or True
            base = f'http://{handler.headers.get("Host") or handler.server.address}{prefix}'
            return handler.send(200, service_document(base, opts, date), 'text/plain') or True
        if path == '/ubd.ashx' and method == 'POST':
            with self.lock:
                self.uploads.setdefault(prefix, []).append(data)
            mode = option_value(opts, 'upload', '')
            if mode == 'silent':
                return handler.handle_failure('timeout') or True
            if mode == 'refused':
                return handler.send(403, b'refused', 'text/plain') or True
            return handler.send(200, b'0100' if mode == '0100' else b'100', 'text/plain') or True
        if path == '/stats-dripping' and method == 'GET':
            with self.lock:
                return handler.send(200, json.dumps({'dripping': self.dripping}).encode(), 'application/json') or True
        if path == '/stats-received' and method == 'GET':
            with self.lock:
                seen = {'reports': list(self.reports.get(prefix, [])),
                        'uploads': [base64.b64encode(b).decode() for b in self.uploads.get(prefix, [])]}
            return handler.send(200, json.dumps(seen).encode(), 'application/json') or True
        return False


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = 'devservice/1.0'
    protocol_version = 'HTTP/1.1'

    def log_message(self, fmt, *args):
        if self.server.verbose:
            sys.stderr.write('devservice: ' + fmt % args + '\n')

    def send(self, status, body, ctype='text/html; charset=utf-8', headers=()):
        self.send_response(status)
        self.send_header('Content-Type', ctype)
        self.send_header('Content-Length', str(len(body)))
        for k, val in headers:
            self.send_header(k, val)
        self.end_headers()
        if self.command != 'HEAD':
            self.wfile.write(body)

    def split(self):
        url = urllib.parse.urlsplit(self.path)
        path, opts = url.path, set()
        m = re.match(r'^/_/([^/]*)(/.*)?$', path)
        if m:
            opts = set(o for o in m.group(1).split(',') if o)
            path = m.group(2) or '/'
        return path, opts, urllib.parse.parse_qs(url.query), (m.group(0)[:len(m.group(0)) - len(path)] if m else '')

    @staticmethod
    def service_of(path):
        if path.startswith(('/data/ks/', '/weather/')):
            return 'forecast'
        if path.startswith(('/t/q.php', '/tq/', '/air-rank.htm')):
            return 'weather2'
        if path.startswith('/air/'):
            return 'air'
        if path.startswith('/service/getIpInfo.php'):
            return 'iplocation'
        if path.startswith('/i.ashx'):
            return 'stats'
        if path.startswith('/v1/forecast'):
            return 'meteo'
        if path.startswith('/v1/air-quality'):
            return 'meteo_air'
        return None

    def failure(self, opts, service):
        modes = set(opts)
        if service in self.server.fail:
            modes.add(self.server.fail[service])
        for mode in ('down', 'timeout', '500', '404', 'garbage'):
            if mode in modes:
                return mode
        return None

    def handle_failure(self, mode):
        if mode == 'down':
            self.close_connection = True
            return
        if mode == 'timeout':
            time.sleep(self.server.timeout_seconds)
            self.close_connection = True
            return
        if mode == '500':
            self.send(500, page('500 Internal Server Error', '<h1>服务器内部错误</h1>', 'utf-8').encode())
        elif mode == '404':
            self.send(404, page('404 Not Found', '<h1>页面不存在</h1>', 'utf-8').encode())
        else:
            self.send(200, bytes(range(256)) * 4, 'application/octet-stream')

    def date_for(self, opts):
        for o in opts:
            if o.startswith('date='):
                return datetime.date.fromisoformat(o[5:])
        return datetime.date.today()

    def do_GET(self):
        try:
            self.route('GET', b'')
        except (BrokenPipeError, ConnectionResetError):
            pass

    def do_POST(self):
        length = int(self.headers.get('Content-Length') or 0)
        data = self.rfile.read(length) if length > 0 else b''
        try:
            self.route('POST', data)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def route(self, method, data):
        path, opts, query, prefix = self.split()
        if self.server.statistics.handle(self, method, path, opts, prefix, data, self.date_for(opts)):
            return
        service = self.service_of(path)
        mode = self.failure(opts, service)
        if mode:
            return self.handle_failure(mode)
        if 'slow' in opts:
            time.sleep(0.4)
        date = self.date_for(opts)
        evening = 'evening' in opts or ('daytime' not in opts and datetime.datetime.now().hour >= 18)

        reply = meteo.answer(path, query, opts, date, datetime.datetime.now())
        if reply:
            return self.send(reply[0], reply[1].encode('utf-8'), 'application/json; charset=utf-8')
        m = re.fullmatch(r'/data/ks/(\d{9})\.html', path)
        if m and m.group(1) in BY_CODE:
            return self.send(200, current_conditions(m.group(1), opts, date).encode('utf-8'),
                             'text/html; charset=utf-8')
        m = re.fullmatch(r'/weather/(\d{9})\.shtml', path)
        if m and m.group(1) in BY_CODE:
            return self.send(200, forecast_page(m.group(1), opts, date, evening).encode('utf-8'))
        if path == '/t/q.php' and method == 'POST':
            form = urllib.parse.parse_qs(data.decode('ascii', 'replace'), encoding='gbk')
            city = (form.get('city') or [''])[0]
            prov = (form.get('searchProvName') or [''])[0]
            code = BY_NAMES.get((prov, city))
            if code:
                return self.send(302, b'', headers=[('Location', f'/tq/{code}.htm')])
            return self.send(200, page('查询结果', '<p>没有找到该城市</p>', 'gbk').encode('gbk'),
                             'text/html; charset=gbk')
        m = re.fullmatch(r'/tq/(\d{9})\.htm', path)
        if m and m.group(1) in BY_CODE:
            return self.send(200, second_site_page(m.group(1), opts, date).encode('gbk'),
                             'text/html; charset=gbk')
        if path == '/air-rank.htm':
            return self.send(200, air_rank_first(date).encode('gbk'), 'text/html; charset=gbk')
        if path == '/air/':
            return self.send(200, air_rank_second(date).encode('gbk'), 'text/html; charset=gbk')
        if path == '/service/getIpInfo.php':
            reply = ip_reply((query.get('ip') or [''])[0])
            return self.send(200, json.dumps(reply, ensure_ascii=False).encode('utf-8'),
                             'application/json; charset=utf-8')
        self.send(404, page('404 Not Found', '<h1>页面不存在</h1>', 'utf-8').encode())


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main(argv=None):
    ap = argparse.ArgumentParser(description='Local stand-in for the outside web services.')
    ap.add_argument('--port', type=int, default=8731, help='port on 127.0.0.1 (0: any free port)')
    ap.add_argument('--port-file', help='file that receives the port once listening')
    ap.add_argument('--fail', action='append', default=[], metavar='SERVICE=MODE',
                    help='make a service fail: down, 500, 404, timeout or garbage')
    ap.add_argument('--timeout-seconds', type=float, default=60.0, help='how long "timeout" stalls')
    ap.add_argument('--tls-cert', help='serve HTTPS with this certificate (PEM; chain after it)')
    ap.add_argument('--tls-key', help='the private key of --tls-cert (PEM)')
    ap.add_argument('--verbose', action='store_true')
    args = ap.parse_args(argv)
    fail = {}
    for item in args.fail:
        service, _, mode = item.partition('=')
        if service not in SERVICES or mode not in ('down', '500', '404', 'timeout', 'garbage'):
            ap.error(f'bad --fail {item}')
        fail[service] = mode
    server = Server(('127.0.0.1', args.port), Handler)
    scheme = 'http'
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        # TLS 1.2 at most: Wine 8's schannel (the win64 tests' WinHTTP) fails TLS 1.3 handshakes.
        context.maximum_version = ssl.TLSVersion.TLSv1_2
        server.socket = context.wrap_socket(server.socket, server_side=True)
        scheme = 'https'

    server.fail = fail
    server.verbose = args.verbose
    server.timeout_seconds = args.timeout_seconds
    server.statistics = StatisticsRoutes()
    server.address = f'127.0.0.1:{server.server_address[1]}'
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + '.tmp'
        with open(tmp, 'w') as f:
            f.write(f'{port}\n')
        os.replace(tmp, args.port_file)
    print(f'devservice: {scheme}://127.0.0.1:{port}/', flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == '__main__':
    main()
