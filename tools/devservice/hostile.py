"""The failures a service can be made to show, by a path switch or by --fail: the connection
closed, no answer, 500, 404 or bytes that are no page."""
import time

from pageframe import page

SERVICES = ('forecast', 'weather2', 'air', 'iplocation', 'stats', 'meteo', 'meteo_air')
MODES = ('down', 'timeout', '500', '404', 'garbage')


class Failures:
    """Mixed into the request handler: which service a path belongs to and how it fails."""

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
        for mode in MODES:
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
