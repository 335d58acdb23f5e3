#!/usr/bin/env python3
"""dns-query.py SERVER PORT NAME TYPE [TIMEOUT]: one DNS question (TYPE A or PTR) sent over UDP to
SERVER:PORT; prints each answer as 'NAME TYPE VALUE', exits 1 when nothing answers in time.
Sent to 224.0.0.251 port 5353 from an ordinary port, it is a one-shot multicast DNS question,
which responders answer straight back to the asker."""
import random
import socket
import struct
import sys

TYPES = {'A': 1, 'PTR': 12}


def encode(name):
    out = b''
    for label in name.rstrip('.').split('.'):
        out += bytes([len(label)]) + label.encode()
    return out + b'\0'


def decode(msg, pos):
    labels, jumped, end = [], False, pos
    for _ in range(64):
        n = msg[pos]
        if n & 0xC0 == 0xC0:
            if not jumped:
                end = pos + 2
            pos, jumped = ((n & 0x3F) << 8) | msg[pos + 1], True
            continue
        if n == 0:
            return '.'.join(labels), (end if jumped else pos + 1)
        labels.append(msg[pos + 1:pos + 1 + n].decode(errors='replace'))
        pos += n + 1
    raise ValueError('name too long')


def main():
    server, port, name, qtype = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    timeout = float(sys.argv[5]) if len(sys.argv) > 5 else 2.0
    ident = random.randrange(1, 65536)
    query = struct.pack('>HHHHHH', ident, 0x0100, 1, 0, 0, 0) + encode(name)
    query += struct.pack('>HH', TYPES[qtype], 1)
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.settimeout(timeout)
    sock.sendto(query, (server, port))
    try:
        while True:
            msg, peer = sock.recvfrom(9000)
            rid, _, qd, an = struct.unpack('>HHHH', msg[:8])
            if rid == ident or port == 5353:
                break
    except socket.timeout:
        print(f'no answer from {server}:{port} for {name} {qtype}', file=sys.stderr)
        return 1
    pos = 12
    for _ in range(qd):
        pos = decode(msg, pos)[1] + 4
    found = 0
    for _ in range(an):
        rname, pos = decode(msg, pos)
        rtype, _, _, rdlen = struct.unpack('>HHIH', msg[pos:pos + 10])
        pos += 10
        if rtype == 1 and rdlen == 4:
            print(f'{rname} A {socket.inet_ntoa(msg[pos:pos + 4])}')
            found += 1
        elif rtype == 12:
            print(f'{rname} PTR {decode(msg, pos)[0]}')
            found += 1
        pos += rdlen
    if not found:
        print(f'{peer[0]} answered {name} {qtype} with no record', file=sys.stderr)
    return 0 if found else 1


if __name__ == '__main__':
    sys.exit(main())
