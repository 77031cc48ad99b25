"""The statistics service: the scrambled service document (GET /i.ashx), the usage upload
(POST /ubd.ashx) and what arrived (GET /stats-received, /stats-dripping), under its own switches."""
import base64
import json
import os
import select
import socket
import sys
import threading
import urllib.parse

from stations import ROOT

sys.path.insert(0, os.path.join(ROOT, 'tools', 'servicedoc'))
import servicedoc  # noqa: E402


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
