#!/usr/bin/env python3
"""Checks the include rules of the layers; prints every breach and exits 1 when there is one.

- Portable code includes no Windows header and no header of a win32/ folder. Windows code lives
  in win32/ folders and in shellhook/.
- platform/ includes nothing of the layers above it.
- calendar/ and weather/ include nothing of service/, ui/ or app/.
- service/ (the statistics service, above calendar/ and weather/) includes nothing of ui/ or app/;
  only app/ includes it.
- ui/ includes nothing of calendar/, weather/, service/ or app/: it knows controls, not what they show.
- Every folder that the README's layout lists exists.

Usage: tools/check_layers.py [source root]   (default: the folder above tools/)
"""
import os
import re
import sys

LAYERS = ("platform", "calendar", "weather", "service", "ui", "app", "shellhook")
SOURCE_ENDINGS = (".h", ".hpp", ".c", ".cc", ".cpp")
# Headers of the Windows SDK that the program uses or could reach for; any of them makes a file
# Windows code.
WINDOWS_HEADERS = {
    "windows.h", "windowsx.h", "winbase.h", "winuser.h", "wingdi.h", "winreg.h", "winhttp.h",
    "wininet.h", "winsock2.h", "ws2tcpip.h", "iphlpapi.h", "bcrypt.h", "wincrypt.h", "objbase.h",
    "objidl.h", "ole2.h", "olectl.h", "commctrl.h", "shellapi.h", "shlobj.h", "shlwapi.h",
    "psapi.h", "tlhelp32.h", "gdiplus.h", "mmsystem.h", "dwmapi.h", "uxtheme.h", "versionhelpers.h",
    "tchar.h", "process.h", "io.h",
}
ABOVE = {
    "platform": ("calendar", "weather", "service", "ui", "app", "shellhook"),
    "calendar": ("service", "ui", "app"),
    "weather": ("service", "ui", "app"),
    "service": ("ui", "app"),
    "ui": ("calendar", "weather", "service", "app"),
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def is_windows_code(path):
    parts = path.split("/")
    return parts[0] == "shellhook" or "win32" in parts[:-1]


def breaches(root):
    for layer in LAYERS:
        top = os.path.join(root, layer)
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith(SOURCE_ENDINGS):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        quote, header = m.group(1), m.group(2).strip()
                        where = f"{path}:{number}: #include {quote}{header}{'>' if quote == '<' else quote}"
                        if not is_windows_code(path):
                            if header.lower() in WINDOWS_HEADERS:
                                yield f"{where}: a Windows header in portable code (move it into a win32/ folder)"
                            elif quote == '"' and "win32" in header.split("/")[:-1]:
                                yield f"{where}: a win32/ header in portable code"
                        if quote == '"':
                            target = header.split("/")[0]
                            if target in ABOVE.get(layer, ()):
                                yield f"{where}: {layer}/ may not include {target}/ (a layer above it)"


def missing_readme_folders(root):
    """Folders named at the start of a line of the README's layout block that do not exist."""
    try:
        with open(os.path.join(root, "README.md"), encoding="utf-8") as f:
            text = f.read()
    except OSError:
        return
    layout = re.search(r"^## Layout\s*\n```\n(.*?)^```", text, re.S | re.M)
    if not layout:
        yield "README.md: no layout block under '## Layout'"
        return
    for line in layout.group(1).splitlines():
        m = re.match(r"([A-Za-z0-9_.-]+)/\s", line)
        if m and not os.path.isdir(os.path.join(root, m.group(1))):
            yield f"README.md: the layout lists {m.group(1)}/, which does not exist"


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    root = os.path.abspath(root)
    found = list(breaches(root)) + list(missing_readme_folders(root))
    for line in found:
        print(line)
    if found:
        print(f"layers: {len(found)} breach(es) of the layering or of the README layout", file=sys.stderr)
        return 1
    print("layers: every include keeps to its layer; the README layout is true")
    return 0


if __name__ == "__main__":
    sys.exit(main())
