"""The forecast site's current conditions (JSON in a page) and forecast page (UTF-8), and the second
site's forecast page (GBK), with their six-hour, seven-day and life-index sections."""
import datetime
import json

from pageframe import page
from stations import BY_CODE, Values, region_temperature

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
