"""The air-quality rankings: the second site's table and the air-quality site's list (both GBK)."""
from pageframe import page
from stations import STATIONS, Values


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
