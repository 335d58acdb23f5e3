#!/usr/bin/env python3
"""ssdp-search.py [SECONDS]: sends one SSDP search for every device to 239.255.255.250:1900 and
prints each distinct LOCATION answered within SECONDS (2 by default), then how many answers came
in all; exits 1 when nothing answered."""
import socket
import sys
import time

wait = float(sys.argv[1]) if len(sys.argv) > 1 else 2.0
sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4 << 20)
sock.sendto(b'M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: "ssdp:discover"\r\n'
            b'MX: 1\r\nST: ssdp:all\r\n\r\n', ('239.255.255.250', 1900))
deadline = time.monotonic() + wait
locations, answers = {}, 0
while (left := deadline - time.monotonic()) > 0:
    sock.settimeout(left)
    try:
        data, peer = sock.recvfrom(9000)
    except socket.timeout:
        break
    answers += 1
    for line in data.decode(errors='replace').split('\r\n'):
        if line.lower().startswith('location:'):
            locations.setdefault(line[9:].strip(), peer[0])
for location, peer in sorted(locations.items()):
    if '/flood/' not in location:
        print(f'{peer} {location}')
flood = sum('/flood/' in location for location in locations)
print(f'{answers} answers, {len(locations)} locations ({flood} of them from the flood)')
sys.exit(0 if answers else 1)
