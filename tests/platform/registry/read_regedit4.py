#!/usr/bin/python3
"""An independent reader of REGEDIT4 files, for checking what the registry
writes. Prints one line per key and value, names and data as hex bytes:
    KEY <path-hex>
    VALUE <path-hex> <name-hex> <type> <data-hex>
Usage: read_regedit4.py FILE OUT"""
import sys


def unquote(s, i):
    """The string starting at s[i] == '"'; returns (bytes, index after it)."""
    assert s[i] == ord('"'), 'expected a quote'
    out = bytearray()
    i += 1
    while s[i] != ord('"'):
        if s[i] == ord('\\'):
            i += 1
            assert s[i] in (ord('\\'), ord('"')), 'bad escape'
        out.append(s[i])
        i += 1
    return bytes(out), i + 1


def main():
    data = open(sys.argv[1], 'rb').read()
    lines = data.replace(b'\r\n', b'\n').split(b'\n')
    assert lines[0] == b'REGEDIT4', 'first line %r' % lines[0]
    out = []
    key = None
    i = 1
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.strip() or line.startswith(b';'):
            continue
        if line.startswith(b'['):
            assert line.endswith(b']'), line
            key = line[1:-1]
            out.append('KEY ' + key.hex())
            continue
        if line.startswith(b'@'):
            name, j = b'', 1
        else:
            name, j = unquote(line, 0)
        assert line[j] == ord('='), line
        rest = line[j + 1:]
        if rest.startswith(b'"'):
            text, k = unquote(rest, 0)
            assert k == len(rest), 'text after the string'
            kind, value = 1, text + b'\0'
        elif rest.startswith(b'dword:'):
            kind, value = 4, int(rest[6:], 16).to_bytes(4, 'little')
        else:
            assert rest.startswith(b'hex'), rest
            head, body = rest.split(b':', 1)
            kind = 3 if head == b'hex' else int(head[4:-1], 16)
            while body.endswith(b'\\'):
                body = body[:-1] + lines[i].strip()
                i += 1
            value = bytes(int(b, 16) for b in body.split(b',') if b.strip())
        out.append('VALUE %s %s %d %s' % (key.hex(), name.hex(), kind, value.hex()))
    open(sys.argv[2], 'w').write('\n'.join(out) + '\n')


main()
