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
import datetime
import http.server
import json
import os
import re
import ssl
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hostile  # noqa: E402
import meteo  # noqa: E402
from air_quality import air_rank_first, air_rank_second  # noqa: E402
from iplocation import ip_reply  # noqa: E402
from pageframe import page  # noqa: E402
from stations import BY_CODE, BY_NAMES  # noqa: E402
from stats_service import StatisticsRoutes  # noqa: E402
from weather_pages import current_conditions, forecast_page, second_site_page  # noqa: E402


class Handler(hostile.Failures, http.server.BaseHTTPRequestHandler):
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
        if service not in hostile.SERVICES or mode not in hostile.MODES:
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
