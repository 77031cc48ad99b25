#!/usr/bin/env python3
"""Scrambles a service document the way the statistics service sends it, and back.

    python3 tools/servicedoc/servicedoc.py scramble [FILE]     readable XML -> answer text
    python3 tools/servicedoc/servicedoc.py descramble [FILE]   answer text -> readable XML

The answer is base64 of the GBK bytes of the document, enciphered with RC4 whose key is the
SHA-256 digest of the program's key text. The same scrambling makes "bsc.dat" from a channel number:
    printf 1234 | python3 tools/servicedoc/servicedoc.py scramble > bsc.dat
"""
import base64
import hashlib
import sys
import warnings

with warnings.catch_warnings():
    warnings.simplefilter('ignore')  # ARC4 is "decrepit" for new designs; the format is fixed
    from cryptography.hazmat.primitives.ciphers import Cipher, algorithms

KEY_TEXT = b'7C2D41E9B0A63e8F1D5C9720AB4E61D5'


def _rc4(data: bytes) -> bytes:
    with warnings.catch_warnings():
        warnings.simplefilter('ignore')
        cipher = Cipher(algorithms.ARC4(hashlib.sha256(KEY_TEXT).digest()), mode=None)
    return cipher.encryptor().update(data)


def scramble_bytes(data: bytes) -> bytes:
    return base64.b64encode(_rc4(data))


def scramble(text: str, encoding: str = 'gbk') -> bytes:
    return scramble_bytes(text.encode(encoding))


def descramble(answer: bytes, encoding: str = 'gbk') -> str:
    return _rc4(base64.b64decode(answer)).decode(encoding)


def main(argv):
    if len(argv) < 2 or argv[1] not in ('scramble', 'descramble'):
        sys.exit(__doc__)
    data = open(argv[2], 'rb').read() if len(argv) > 2 else sys.stdin.buffer.read()
    if argv[1] == 'scramble':
        sys.stdout.buffer.write(scramble(data.decode('utf-8')))
    else:
        sys.stdout.buffer.write(descramble(data.strip()).encode('utf-8'))


if __name__ == '__main__':
    main(sys.argv)
