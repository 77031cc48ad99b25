"""The HTML frame every page of the stand-in sites shares (header, navigation, footer)."""


def page(title, body, charset):
    return (f'<!DOCTYPE html>\n<html lang="zh-CN">\n<head>\n<meta charset="{charset}">\n'
            f'<title>{title}</title>\n<link rel="stylesheet" href="/css/site.css">\n'
            f'<script src="/js/common.js"></script>\n</head>\n<body>\n'
            f'<div class="header"><a href="/" class="logo">天气</a><ul class="nav"><li><a href="/">首页</a></li>'
            f'<li><a href="/radar/">雷达</a></li><li><a href="/warning/">预警</a></li></ul></div>\n'
            f'{body}\n<div class="footer"><p>版权所有 &copy; 示例气象服务</p></div>\n</body>\n</html>\n')
