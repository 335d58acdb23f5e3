#!/usr/bin/env python3
"""check-discovery.py ZELMAP: zelmap's discovery, met with the virtual home.

Run by `virtual-home.sh --responder PROGRAM run`, in the PC's namespace, with the VHOME_*
variables. Checks that `zelmap discover --json` finds the home as its daemons were configured
(the laptop, which has no UPnP, by its multicast DNS host name alone), that each hostile answer
is refused with one warning naming the hostile box and nothing is fetched where the answers
point elsewhere, that `discover` feeds a store, that twenty discoveries find the same, and that
`watch` shows the media box disconnected once its link is down, and every other device still
connected, then deletes it once its lease has run out. Prints the wall time of one discovery and
of the slowest of the twenty, and of six rounds of watching."""
import collections
import json
import os
import re
import subprocess
import sys
import tempfile
import time

ZELMAP = sys.argv[1]
V = os.environ
ROUNDS = 20
# Guards against a hang only; a discovery normally takes a few seconds.
GUARD_SECONDS = 120

# The reason each hostile description is refused for (zel_hostile_responder's cases), and the
# flood of answers after them: more locations than a search may fetch.
HOSTILE_REFUSALS = collections.Counter({
    'oversized': 2,  # big, longname
    'timeout': 1,  # trickle, which never ends
    'redirect': 1,
    'location on another host': 2,  # otherhost, loopback
    'document type declaration': 2,  # bomb, xxe
    'invalid UTF-8': 1,  # badutf8
    'too many descriptions, no more are fetched': 1,  # the flood
})
# The flood sends more answers than a search reads, but datagrams may be dropped on the way.
HOSTILE_MAYBE = {'too many answers, no more are read'}

failures = []


def fail(message):
    failures.append(message)
    print(f'FAIL: {message}', flush=True)


def mac(text):
    return text.upper()


def port_and_path(url):
    m = re.match(r'http://[^/:]+:(\d+)(/.*)$', url)
    return m.group(1), m.group(2)


def upnp(prefix, device_type):
    """What a UPnP daemon of the home was configured to say, and where it says it."""
    port, path = port_and_path(V[f'VHOME_{prefix}_DESC_URL'])
    fields = {
        'UPNP_PARAM_FRIENDLYNAME': V[f'VHOME_{prefix}_FRIENDLY_NAME'],
        'UPNP_PARAM_MODELNAME': V[f'VHOME_{prefix}_MODEL_NAME'],
        'UPNP_PARAM_MODELNUMBER': V[f'VHOME_{prefix}_MODEL_NUMBER'],
        # The gateway's daemon keeps 9 characters of the serial number it was given.
        'UPNP_PARAM_SERIALNUMBER': V[f'VHOME_{prefix}_SERIAL'][:9],
        'UPNP_PARAM_DEVICETYPE': device_type,
        'UPNP_PARAM_DEVICE_IPADDRESS': V[f'VHOME_{prefix}_IP'],
        'UPNP_PARAM_DEVICE_UPNPPORT': port,
        'UPNP_PARAM_DEVICE_UPNPPATH': path,
    }
    return fields


# Keys a daemon fills from its own defaults, not from the home's configuration: present or
# not, their values are not compared.
DAEMON_DEFAULTS = {'UPNP_PARAM_MANUFACTURERURL', 'UPNP_PARAM_MODELURL',
                   'UPNP_PARAM_MODELDESCRIPTION', 'UPNP_PARAM_PRESENTATIONURL'}


def expected_records():
    """(want, unchecked) for each device, in the order discover prints them: the gateway, this
    PC, then the others by address. WANT's keys must all be there with these values; UNCHECKED
    keys may be there with any value; no other key may."""
    gateway = {
        'NS_DEVICE_TYPE': 'GATEWAY',
        'GATEWAY_PARAM_ISROUTER': '1',
        'DEVICE_PARAM_LAN_MACADDRESS': mac(V['VHOME_ROUTER_MAC']),
        'DEVICE_PARAM_LAN_IPADDRESS': V['VHOME_ROUTER_IP'],
        'UPNP_PARAM_MANUFACTURER': V['VHOME_ROUTER_MANUFACTURER'],
        **upnp('ROUTER', 'urn:schemas-upnp-org:device:InternetGatewayDevice:2'),
    }
    pc = {
        'NS_DEVICE_TYPE': 'PC',
        'DEVICE_PARAM_LAN_MACADDRESS': mac(V['VHOME_PC_MAC']),
        'DEVICE_PARAM_LAN_IPADDRESS': V['VHOME_PC_IP'],
        'DEVICE_PARAM_NAME': V['VHOME_PC_HOSTNAME'],
        'PC_PARAM_ISLOCALZEL': '1',
        'PC_PARAM_LOCALZEL_NIC': V['VHOME_LAN_IFACE'],
        'PC_PARAM_PLATFORM': 'linux',
        'DEVICE_PARAM_LAN_CONNECTION_ISWIRELESS': '0',
    }
    media = {
        'NS_DEVICE_TYPE': 'UNKNOWN_DEVICE',
        'DEVICE_PARAM_LAN_MACADDRESS': mac(V['VHOME_MEDIA_MAC']),
        'DEVICE_PARAM_LAN_IPADDRESS': V['VHOME_MEDIA_IP'],
        **upnp('MEDIA', 'urn:schemas-upnp-org:device:MediaServer:1'),
    }
    # The hostile box is reported with the first of its descriptions that holds: the flood's
    # first, after the nine refused.
    hostile = {
        'NS_DEVICE_TYPE': 'UNKNOWN_DEVICE',
        'DEVICE_PARAM_LAN_MACADDRESS': mac(V['VHOME_HOSTILE_MAC']),
        'DEVICE_PARAM_LAN_IPADDRESS': V['VHOME_HOSTILE_IP'],
        'UPNP_PARAM_FRIENDLYNAME': 'Flood 0',
        'UPNP_PARAM_MANUFACTURER': 'Stranger',
        'UPNP_PARAM_MODELNAME': 'Hostile',
        'UPNP_PARAM_DEVICETYPE': 'urn:schemas-upnp-org:device:Basic:1',
        'UPNP_PARAM_DEVICE_IPADDRESS': V['VHOME_HOSTILE_IP'],
        'UPNP_PARAM_DEVICE_UPNPPORT': V['VHOME_HOSTILE_PORT'],
        'UPNP_PARAM_DEVICE_UPNPPATH': '/flood/0',
    }
    # The laptop announces no friendly name: its name is the host name its multicast DNS
    # responder answers for. Every other device has a friendly name, so none gets
    # DEVICE_PARAM_NAME from the host names but this PC, which names itself.
    laptop = {
        'NS_DEVICE_TYPE': 'UNKNOWN_DEVICE',
        'DEVICE_PARAM_LAN_MACADDRESS': mac(V['VHOME_LAPTOP_MAC']),
        'DEVICE_PARAM_LAN_IPADDRESS': V['VHOME_LAPTOP_IP'],
        'DEVICE_PARAM_NAME': V['VHOME_LAPTOP_HOSTNAME'],
    }
    return [
        (gateway, DAEMON_DEFAULTS),
        # The operating system's name is this machine's, not the home's.
        (pc, {'PC_PARAM_PLATFORMNAME'}),
        # The media server names its maker itself.
        (media, DAEMON_DEFAULTS | {'UPNP_PARAM_MANUFACTURER'}),
        (laptop, set()),
        (hostile, set()),
    ]


# The stores, in the home's folder, which goes with the home.
SCRATCH = tempfile.mkdtemp(prefix='zelmap.', dir=V['VHOME_DIR'])


def zelmap(store, *args, guard=GUARD_SECONDS):
    """Runs zelmap on the store in folder STORE: (status, stdout, stderr, seconds)."""
    env = dict(V, HOME=SCRATCH, XDG_DATA_HOME=SCRATCH, XDG_CONFIG_HOME=SCRATCH)
    started = time.monotonic()
    try:
        done = subprocess.run([ZELMAP, '--data-dir', os.path.join(SCRATCH, store), *args],
                              capture_output=True, text=True, errors='replace', env=env,
                              timeout=guard)
    except subprocess.TimeoutExpired:
        fail(f'zelmap {" ".join(args)} did not finish within {guard} s')
        return -1, '', '', guard
    return done.returncode, done.stdout, done.stderr, time.monotonic() - started


def discover_json():
    status, out, err, seconds = zelmap('unused', 'discover', '--json')
    if status != 0:
        fail(f'zelmap discover --json exited {status}: {err.strip()}')
    records = []
    for line in out.splitlines():
        try:
            records.append(json.loads(line))
        except ValueError:
            fail(f'discover --json printed a line that is not JSON: {line!r}')
    return records, err, seconds


def compare_records(records):
    wanted = expected_records()
    if len(records) != len(wanted):
        fail(f'discover found {len(records)} devices, not {len(wanted)}: '
             + ', '.join(r.get('DEVICE_PARAM_LAN_IPADDRESS', '?') for r in records))
    for index, (want, unchecked) in enumerate(wanted):
        if index >= len(records):
            break
        record = records[index]
        who = f'record {index + 1} ({want["DEVICE_PARAM_LAN_IPADDRESS"]})'
        for key, value in want.items():
            if record.get(key) != value:
                fail(f'{who}: {key} is {record.get(key)!r}, not {value!r}')
        extra = set(record) - set(want) - unchecked
        if extra:
            fail(f'{who}: unexpected keys {sorted(extra)}')


def difference(first, then):
    """What THEN says otherwise than FIRST, device by device, key by key."""
    by_ip = lambda records: {r.get('DEVICE_PARAM_LAN_IPADDRESS'): r for r in records}
    first, then = by_ip(first), by_ip(then)
    said = []
    for ip in sorted(set(first) | set(then)):
        a, b = first.get(ip, {}), then.get(ip, {})
        changed = {k: (a.get(k), b.get(k)) for k in sorted(set(a) | set(b))
                   if a.get(k) != b.get(k)}
        if changed:
            said.append(f'{ip}: ' + ', '.join(f'{k} {x!r} -> {y!r}'
                                              for k, (x, y) in changed.items()))
    return '; '.join(said) or 'the same devices in another order'


def check_warnings(err, run):
    refusals = collections.Counter()
    for line in err.splitlines():
        m = re.search(r'UpnpScanner: (\S+) refused: (.*)$', line)
        if not m:
            continue
        if m.group(1) != V['VHOME_HOSTILE_IP']:
            fail(f'{run}: a refusal of {m.group(1)}, which is no hostile box: {line}')
        else:
            refusals[m.group(2).strip()] += 1
    for maybe in HOSTILE_MAYBE:
        if refusals[maybe] <= 1:
            del refusals[maybe]
    if refusals != HOSTILE_REFUSALS:
        fail(f'{run}: refusals of the hostile box {dict(refusals)}, '
             f'not one per case {dict(HOSTILE_REFUSALS)}')


def hostile_fetches(since):
    with open(V['VHOME_HOSTILE_LOG'], 'rb') as log:
        log.seek(since)
        return [line for line in log.read().decode(errors='replace').splitlines()
                if line.startswith('FETCH ')]


def devices_shown(store):
    status, out, err, _ = zelmap(store, 'show', '--json')
    if status != 0:
        fail(f'zelmap show --json exited {status}: {err.strip()}')
        return {}
    return {d['mac'].upper(): d for d in json.loads(out).get('devices', [])}


def main():
    if subprocess.run(['ip', 'netns', 'identify'], capture_output=True,
                      text=True).stdout.strip() != V.get('VHOME_PC_NS'):
        print('check-discovery.py: not inside the virtual home\'s PC; nothing sent')
        return 2

    # One discovery, compared with the home.
    log_start = os.path.getsize(V['VHOME_HOSTILE_LOG'])
    records, err, first_seconds = discover_json()
    if failures:
        return 1  # Without a first discovery, the rest would only repeat its failure.
    print('discover --json:')
    for record in records:
        print('   ', json.dumps(record, sort_keys=True))
    print('its warnings:')
    print(''.join(f'    {line}\n' for line in err.splitlines()), end='')
    compare_records(records)
    check_warnings(err, 'discovery 1')
    fetched = hostile_fetches(log_start)
    print('the hostile box served:', ', '.join(f.split()[1] for f in fetched))
    for case in ('otherhost', 'loopback', 'redirected'):
        if any(f.split()[1] == f'/{case}' for f in fetched):
            fail(f'the hostile box served /{case}, which its answers only named elsewhere')

    # Feeding a fresh store, then the map it shows.
    status, _, err, _ = zelmap('fed', 'discover')
    if status != 0:
        fail(f'zelmap discover into a fresh store exited {status}: {err.strip()}')
    shown = devices_shown('fed')
    for want, _ in expected_records():
        device = shown.get(want['DEVICE_PARAM_LAN_MACADDRESS'])
        if not device:
            fail(f'show --json lacks {want["DEVICE_PARAM_LAN_IPADDRESS"]} after discover')
            continue
        print(f'shown: {device["type"]} {device["ip"]} {device["mac"]} {device["name"]!r} '
              f'connected={device["connected"]}')
        if (device['ip'] != want['DEVICE_PARAM_LAN_IPADDRESS'] or not device['connected']
                or device['type'] != want['NS_DEVICE_TYPE']):
            fail(f'show --json: {device}, not a connected {want["NS_DEVICE_TYPE"]} '
                 f'at {want["DEVICE_PARAM_LAN_IPADDRESS"]}')

    # The same home, discovered again and again.
    slowest = first_seconds
    for run in range(2, ROUNDS + 1):
        again, err, seconds = discover_json()
        slowest = max(slowest, seconds)
        check_warnings(err, f'discovery {run}')
        if again != records:
            fail(f'discovery {run} differs from the first: {difference(records, again)}')
    print(f'FIGURE one discovery: {first_seconds:.2f} s; '
          f'slowest of {ROUNDS}: {slowest:.2f} s')

    # The media box leaves: five missed rounds in a row make it disconnected.
    subprocess.run(['ip', '-n', V['VHOME_MEDIA_NS'], 'link', 'set', V['VHOME_MEDIA_IFACE'],
                    'down'], check=True)
    started = time.monotonic()
    status, out, err, _ = zelmap('fed', 'watch', '--every', '1', '--wait', '1', '--rounds', '6',
                                 guard=6 * GUARD_SECONDS)
    print(f'FIGURE watch, 6 rounds: {time.monotonic() - started:.2f} s')
    print(''.join(f'    {line}\n' for line in out.splitlines() if line.startswith('round ')),
          end='')
    if status != 0:
        fail(f'zelmap watch exited {status}: {err.strip()}')
    # What this PC still believes of its neighbours, which a search also reads.
    neighbours = subprocess.run(['ip', 'neigh', 'show', 'dev', V['VHOME_LAN_IFACE']],
                                capture_output=True, text=True).stdout
    print('the neighbour table after watch:')
    print(''.join(f'    {line}\n' for line in neighbours.splitlines()), end='')
    shown = devices_shown('fed')
    for want, _ in expected_records():
        device = shown.get(want['DEVICE_PARAM_LAN_MACADDRESS'], {})
        away = want['DEVICE_PARAM_LAN_IPADDRESS'] == V['VHOME_MEDIA_IP']
        print(f'after watch: {want["DEVICE_PARAM_LAN_IPADDRESS"]} '
              f'connected={device.get("connected")}')
        if device.get('connected') != (not away):
            fail(f'after six rounds without the media box, {want["DEVICE_PARAM_LAN_IPADDRESS"]}'
                 f' shows connected={device.get("connected")}')

    # Away longer than its lease (a second, from now on): the next round deletes it.
    status, _, err, _ = zelmap('fed', 'config', 'set', 'DEFAULT_LEASE_TIME', '1')
    if status != 0:
        fail(f'zelmap config set DEFAULT_LEASE_TIME 1 exited {status}: {err.strip()}')
    status, _, err, _ = zelmap('fed', 'watch', '--every', '1', '--wait', '1', '--rounds', '2',
                               guard=2 * GUARD_SECONDS)
    if status != 0:
        fail(f'zelmap watch exited {status}: {err.strip()}')
    shown = devices_shown('fed')
    for want, _ in expected_records():
        away = want['DEVICE_PARAM_LAN_IPADDRESS'] == V['VHOME_MEDIA_IP']
        if (want['DEVICE_PARAM_LAN_MACADDRESS'] in shown) == away:
            fail(f'with a lease of one second, {want["DEVICE_PARAM_LAN_IPADDRESS"]} is '
                 + ('still in the map' if away else 'gone from the map'))

    with open(V['VHOME_CANARY_LOG']) as log:
        canaries = log.read()
    if canaries:
        fail('fetched where the hostile answers pointed elsewhere:\n' + canaries)

    print(f'{len(failures)} failures' if failures else 'the home was discovered as it is')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
