#!/bin/bash
# virtual-home.sh [--responder PROGRAM] run [--] COMMAND [ARGS...]
# virtual-home.sh [--responder PROGRAM] check
#
# Builds a small home network out of network namespaces of its own: a provider (WAN), a router
# (a bridge, an Internet gateway device, a DHCP and DNS server), a media box (a UPnP media server
# and a multicast DNS responder), a laptop (a multicast DNS responder only: a device known by its
# host name alone), a hostile box (zel_hostile_responder, when PROGRAM or $VHOME_RESPONDER names
# it) and a PC. The laptop has a fixed address and has never talked to the PC: a search finds
# it only through its answer to the multicast DNS browse.
# Every link is a veth pair created with both ends already inside these namespaces, so nothing
# of the home ever appears on the host, and every daemon runs inside them.
#
# run:   runs COMMAND in the PC's namespace, with the PC's host name and the router as its
#        name server, and with VHOME_* variables describing the home (addresses, MACs, names,
#        serial numbers, uuids, logs: home_environment below lists them), then takes the home
#        down and exits with COMMAND's status. VHOME_HOSTILE_LOG has a line for each
#        search, answer and fetch the hostile box saw; VHOME_CANARY_LOG one for each request that
#        reached the router's or the PC's loopback port $VHOME_HOSTILE_PORT, where no scanner
#        may go.
# check: proves from the PC that each daemon answers and that its neighbour table lists the
#        laptop, prints what it found, takes the home down.
#
# Exits 77 (skipped) when not root or when no namespace can be made. Needs root, iproute2, curl,
# python3, miniupnpd, dnsmasq, minidlnad and avahi-daemon; uses ethtool where there is one.
set -u

HERE=$(cd "$(dirname "$0")" && pwd)
ME=virtual-home.sh

usage() {
    echo "usage: $ME [--responder PROGRAM] run [--] COMMAND [ARGS...] | check" >&2
    exit 2
}

RESPONDER=${VHOME_RESPONDER:-}
while [ $# -gt 0 ]; do
    case $1 in
    --responder)
        [ $# -ge 2 ] || usage
        RESPONDER=$2
        shift 2
        ;;
    *) break ;;
    esac
done
[ $# -ge 1 ] || usage
MODE=$1
shift
case $MODE in
run)
    [ "${1:-}" = -- ] && shift
    [ $# -ge 1 ] || usage
    ;;
check) [ $# -eq 0 ] || usage ;;
*) usage ;;
esac

skip() {
    echo "$ME: $*; skipped"
    exit 77
}
[ "$(id -u)" = 0 ] || skip "building network namespaces needs root"
for tool in ip curl python3 miniupnpd dnsmasq minidlnad avahi-daemon unshare ss; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
if [ -n "$RESPONDER" ] && [ ! -x "$RESPONDER" ]; then
    echo "$ME: the hostile responder $RESPONDER is not an executable" >&2
    exit 2
fi

# The home. Names carry this run's PID so that two runs never meet.
P=vh$$
NS_WAN=${P}-wan
NS_ROUTER=${P}-router
NS_MEDIA=${P}-media
NS_HOSTILE=${P}-hostile
NS_LAPTOP=${P}-laptop
NS_PC=${P}-pc
ALL_NS="$NS_WAN $NS_ROUTER $NS_MEDIA $NS_HOSTILE $NS_LAPTOP $NS_PC"

LAN_PREFIX=192.168.77
LAN_IFACE=eth0 # the LAN interface's name in the PC, media, laptop and hostile namespaces
WAN_IP=203.0.113.1
ROUTER_WAN_IP=203.0.113.2
ROUTER_IP=$LAN_PREFIX.1
PC_IP=$LAN_PREFIX.10
MEDIA_IP=$LAN_PREFIX.20
LAPTOP_IP=$LAN_PREFIX.30
HOSTILE_IP=$LAN_PREFIX.66
DHCP_FIRST=$LAN_PREFIX.100
DHCP_LAST=$LAN_PREFIX.150
DOMAIN=vhome.test

WAN_MAC=02:5a:45:00:00:fe
ROUTER_WAN_MAC=00:16:3e:5a:77:02
ROUTER_MAC=00:16:3e:5a:77:01 # br0, the router's address on the LAN
ROUTER_PORT_MACS=(02:5a:45:01:00:10 02:5a:45:01:00:20 02:5a:45:01:00:66 02:5a:45:01:00:30)
PC_MAC=02:5a:45:00:00:10
MEDIA_MAC=00:16:3e:5a:77:20
LAPTOP_MAC=00:16:3e:5a:77:30
HOSTILE_MAC=02:5a:45:00:00:66

ROUTER_HOSTNAME=gateway
PC_HOSTNAME=zel-pc
MEDIA_HOSTNAME=zel-media
# Only the laptop's own multicast DNS responder knows this name: the router's name server does
# not, so a name found for the laptop comes from multicast DNS.
LAPTOP_HOSTNAME=zel-laptop
HOSTILE_HOSTNAME=stranger

ROUTER_HTTP_PORT=5000
ROUTER_FRIENDLY_NAME="Zel Virtual Gateway"
ROUTER_MANUFACTURER="Zel Test Works"
ROUTER_MODEL_NAME="ZVG Router"
ROUTER_MODEL_NUMBER=ZVG-770
ROUTER_SERIAL=ZVG000770 # the daemon keeps 9 characters
ROUTER_UUID=5a454c00-7677-4000-8000-000000000001
MEDIA_HTTP_PORT=8200
MEDIA_FRIENDLY_NAME="Zel Virtual Media Box"
MEDIA_MODEL_NAME="ZVM Media Server"
MEDIA_MODEL_NUMBER=ZVM-20
MEDIA_SERIAL=ZVM000020
MEDIA_UUID=5a454c00-7677-4000-8000-000000000020
HOSTILE_HTTP_PORT=8080

TMP=
PIDS=()     # every process this run started, in order
NAMES=()    # what each one is, for messages
MADE_NS=()  # the namespaces this run made
COMMAND_PID=

log() { echo "$ME: $*" >&2; }

teardown() {
    local i pid left
    trap - EXIT INT TERM
    if [ -n "$COMMAND_PID" ] && kill -0 "$COMMAND_PID" 2>/dev/null; then
        kill -TERM "$COMMAND_PID" 2>/dev/null
    fi
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill -TERM "${PIDS[i]}" 2>/dev/null
    done
    # Give them a second to leave, then make sure.
    for _ in $(seq 20); do
        left=
        for pid in "${PIDS[@]}" $COMMAND_PID; do
            kill -0 "$pid" 2>/dev/null && left=1
        done
        [ -z "$left" ] && break
        sleep 0.05
    done
    for pid in "${PIDS[@]}" $COMMAND_PID; do
        kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" 2>/dev/null
    done
    for pid in "${PIDS[@]}" $COMMAND_PID; do
        wait "$pid" 2>/dev/null
    done
    # What COMMAND started and left behind, when it was stopped: every process still in these
    # namespaces is this run's, since no one else knows their names.
    local ns stray=()
    for ns in "${MADE_NS[@]}"; do
        mapfile -t -O ${#stray[@]} stray < <(ip netns pids "$ns" 2>/dev/null)
    done
    if [ ${#stray[@]} -gt 0 ]; then
        log "stopping what was left in the home: ${stray[*]}"
        kill -KILL "${stray[@]}" 2>/dev/null
    fi
    for ((i = ${#MADE_NS[@]} - 1; i >= 0; i--)); do
        ip netns del "${MADE_NS[i]}" 2>/dev/null || log "could not delete namespace ${MADE_NS[i]}"
    done
    [ -n "$TMP" ] && rm -rf -- "$TMP"
}

on_signal() {
    log "interrupted; taking the home down"
    teardown
    exit 130
}

fail() {
    log "$*"
    exit 1
}

trap teardown EXIT
trap on_signal INT TERM

in_ns() {
    local ns=$1
    shift
    ip netns exec "$ns" "$@"
}

# start NAME LOGFILE NS COMMAND...: starts a daemon in the background inside NS.
start() {
    local name=$1 logfile=$2 ns=$3
    shift 3
    ip netns exec "$ns" "$@" >"$logfile" 2>&1 </dev/null &
    PIDS+=($!)
    NAMES+=("$name")
}

# wait_for NAME LOGFILE TEST...: polls TEST until it succeeds, failing with the daemon's log when
# the daemon has left or READY_GUARD seconds have gone by: a guard against a daemon that hangs,
# long enough for one that starts slowly on a busy machine.
READY_GUARD=60
wait_for() {
    local name=$1 logfile=$2 i pid=
    shift 2
    for ((i = 0; i < ${#NAMES[@]}; i++)); do
        [ "${NAMES[i]}" = "$name" ] && pid=${PIDS[i]}
    done
    local deadline=$((SECONDS + READY_GUARD))
    while :; do
        "$@" && return 0
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then
            log "$name exited before it was ready; its log, $logfile:"
            sed 's/^/    /' "$logfile" >&2
            exit 1
        fi
        [ $SECONDS -ge $deadline ] && break
        sleep 0.05
    done
    log "$name did not come up within $READY_GUARD seconds; its log, $logfile:"
    sed 's/^/    /' "$logfile" >&2
    exit 1
}

listening() { # listening NS tcp|udp PORT
    in_ns "$1" ss -Hln "--$2" "sport = :$3" 2>/dev/null | grep -q .
}

build_namespaces() {
    local ns
    for ns in $ALL_NS; do
        ip netns add "$ns" 2>/dev/null || skip "cannot make the network namespace $ns"
        MADE_NS+=("$ns")
        in_ns "$ns" ip link set lo up
    done
    TMP=$(mktemp -d "/tmp/$P.XXXXXX") || fail "cannot make a temporary folder"
    chmod 755 "$TMP"

    # The provider and the router's WAN port.
    ip link add wan0 netns "$NS_ROUTER" address "$ROUTER_WAN_MAC" type veth \
        peer name up0 netns "$NS_WAN" address "$WAN_MAC" || fail "cannot make the WAN link"
    in_ns "$NS_WAN" ip addr add "$WAN_IP/24" dev up0
    in_ns "$NS_WAN" ip link set up0 up
    in_ns "$NS_ROUTER" ip addr add "$ROUTER_WAN_IP/24" dev wan0
    in_ns "$NS_ROUTER" ip link set wan0 up
    in_ns "$NS_ROUTER" ip route add default via "$WAN_IP"

    # The router's LAN: a bridge whose ports lead to the PC, the media box, the hostile box and
    # the laptop.
    # Multicast snooping off: no querier runs here, and every box must hear every SSDP search.
    in_ns "$NS_ROUTER" ip link add br0 address "$ROUTER_MAC" type bridge mcast_snooping 0 \
        || fail "cannot make the router's bridge"
    in_ns "$NS_ROUTER" ip addr add "$ROUTER_IP/24" dev br0
    local i=0 box ip mac
    for box in "$NS_PC $PC_IP $PC_MAC" "$NS_MEDIA $MEDIA_IP $MEDIA_MAC" \
        "$NS_HOSTILE $HOSTILE_IP $HOSTILE_MAC" "$NS_LAPTOP $LAPTOP_IP $LAPTOP_MAC"; do
        set -- $box
        ns=$1 ip=$2 mac=$3
        ip link add "lan$i" netns "$NS_ROUTER" address "${ROUTER_PORT_MACS[i]}" type veth \
            peer name "$LAN_IFACE" netns "$ns" address "$mac" || fail "cannot make LAN link $i"
        in_ns "$NS_ROUTER" ip link set "lan$i" master br0 up
        in_ns "$ns" ip addr add "$ip/24" dev "$LAN_IFACE"
        in_ns "$ns" ip link set "$LAN_IFACE" up
        in_ns "$ns" ip route add default via "$ROUTER_IP"
        i=$((i + 1))
    done
    in_ns "$NS_ROUTER" ip link set br0 up
    in_ns "$NS_ROUTER" sysctl -qw net.ipv4.ip_forward=1
    # veth checksum offload leaves some UDP checksums unfilled across the bridge.
    if command -v ethtool >/dev/null 2>&1; then
        for i in br0 lan0 lan1 lan2 lan3; do
            in_ns "$NS_ROUTER" ethtool -K "$i" tx off >/dev/null 2>&1
        done
    fi
}

start_router() {
    local conf=$TMP/miniupnpd.conf
    cat >"$conf" <<EOF
ext_ifname=wan0
listening_ip=br0
http_port=$ROUTER_HTTP_PORT
enable_upnp=yes
enable_natpmp=no
secure_mode=yes
system_uptime=yes
notify_interval=60
friendly_name=$ROUTER_FRIENDLY_NAME
manufacturer_name=$ROUTER_MANUFACTURER
model_name=$ROUTER_MODEL_NAME
model_number=$ROUTER_MODEL_NUMBER
serial=$ROUTER_SERIAL
uuid=$ROUTER_UUID
lease_file=$TMP/miniupnpd.leases
deny 0-65535 0.0.0.0/0 0-65535
EOF
    start miniupnpd "$TMP/miniupnpd.log" "$NS_ROUTER" miniupnpd -d -f "$conf" -P "$TMP/miniupnpd.pid"

    start dnsmasq "$TMP/dnsmasq.log" "$NS_ROUTER" dnsmasq --keep-in-foreground \
        --conf-file=/dev/null --no-resolv --no-hosts --user=root \
        --interface=br0 --bind-interfaces --log-facility=- --log-queries --log-dhcp \
        --pid-file="$TMP/dnsmasq.pid" --dhcp-leasefile="$TMP/dnsmasq.leases" \
        --domain="$DOMAIN" --local="/$DOMAIN/" --expand-hosts \
        --dhcp-range="$DHCP_FIRST,$DHCP_LAST,255.255.255.0,1h" --dhcp-authoritative \
        --host-record="$ROUTER_HOSTNAME.$DOMAIN,$ROUTER_HOSTNAME,$ROUTER_IP" \
        --host-record="$PC_HOSTNAME.$DOMAIN,$PC_HOSTNAME,$PC_IP" \
        --host-record="$MEDIA_HOSTNAME.$DOMAIN,$MEDIA_HOSTNAME,$MEDIA_IP" \
        --host-record="$HOSTILE_HOSTNAME.$DOMAIN,$HOSTILE_HOSTNAME,$HOSTILE_IP"
}

start_media() {
    mkdir -p "$TMP/media/files" "$TMP/media/db" "$TMP/media/log"
    printf 'a note for the media server to list\n' >"$TMP/media/files/readme.txt"
    cat >"$TMP/minidlna.conf" <<EOF
media_dir=$TMP/media/files
db_dir=$TMP/media/db
log_dir=$TMP/media/log
network_interface=$LAN_IFACE
port=$MEDIA_HTTP_PORT
friendly_name=$MEDIA_FRIENDLY_NAME
model_name=$MEDIA_MODEL_NAME
model_number=$MEDIA_MODEL_NUMBER
serial=$MEDIA_SERIAL
uuid=$MEDIA_UUID
inotify=no
notify_interval=60
EOF
    start minidlna "$TMP/minidlna.log" "$NS_MEDIA" \
        minidlnad -S -f "$TMP/minidlna.conf" -P "$TMP/minidlna.pid" -r

    start_avahi avahi-media "$NS_MEDIA" "$MEDIA_HOSTNAME"
}

# start_avahi NAME NS HOSTNAME: a multicast DNS responder in NS, publishing HOSTNAME.local, its
# address (and the reverse name) and a workstation service, and nothing else.
start_avahi() {
    local name=$1 ns=$2 hostname=$3
    cat >"$TMP/$name.conf" <<EOF
[server]
host-name=$hostname
domain-name=local
use-ipv4=yes
use-ipv6=no
allow-interfaces=$LAN_IFACE
enable-dbus=no
ratelimit-interval-usec=1000000
ratelimit-burst=1000
[wide-area]
enable-wide-area=no
[publish]
publish-addresses=yes
publish-hinfo=no
publish-workstation=yes
publish-domain=yes
[reflector]
enable-reflector=no
[rlimits]
EOF
    # The daemon keeps its pid file and socket under /run/avahi-daemon and reads the services to
    # publish from /etc/avahi/services: a mount namespace of its own gives it empty ones.
    start "$name" "$TMP/$name.log" "$ns" unshare -m sh -c '
        mount -t tmpfs tmpfs /run && mkdir -m 755 /run/avahi-daemon &&
        mount -t tmpfs tmpfs /etc/avahi/services &&
        exec avahi-daemon --no-chroot --no-drop-root --no-rlimits -f "$1"' sh "$TMP/$name.conf"
}

# A laptop: no UPnP, only its multicast DNS responder.
start_laptop() {
    start_avahi avahi-laptop "$NS_LAPTOP" "$LAPTOP_HOSTNAME"
}

start_hostile() {
    : >"$TMP/hostile.log"
    : >"$TMP/canary.log"
    [ -n "$RESPONDER" ] || return 0
    start hostile "$TMP/hostile.log" "$NS_HOSTILE" "$RESPONDER" "$LAN_IFACE" "$HOSTILE_IP" \
        "$ROUTER_IP" "$HOSTILE_HTTP_PORT"
    # Canaries where the hostile answers point elsewhere: on the router and on the PC's own
    # loopback. Whatever they log was fetched where no scanner may go.
    start canary-router "$TMP/canary-router.log" "$NS_ROUTER" "$RESPONDER" --canary \
        "$ROUTER_IP" "$HOSTILE_HTTP_PORT" router "$TMP/canary.log"
    start canary-loopback "$TMP/canary-loopback.log" "$NS_PC" "$RESPONDER" --canary \
        127.0.0.1 "$HOSTILE_HTTP_PORT" loopback "$TMP/canary.log"
}

# show_log DAEMON: the end of a daemon's log, on stderr, since the folder goes with the home.
show_log() {
    local file
    case $1 in
    minidlna) set -- "$TMP/minidlna.log" "$TMP/media/log/minidlna.log" ;;
    *) set -- "$TMP/$1.log" ;;
    esac
    for file; do
        echo "    $file:" >&2
        tail -n 30 "$file" 2>/dev/null | sed 's/^/        /' >&2
    done
}

avahi_ready() { grep -q 'Server startup complete' "$TMP/$1.log"; }

wait_ready() {
    wait_for miniupnpd "$TMP/miniupnpd.log" listening "$NS_ROUTER" tcp "$ROUTER_HTTP_PORT"
    wait_for dnsmasq "$TMP/dnsmasq.log" listening "$NS_ROUTER" udp 53
    wait_for minidlna "$TMP/minidlna.log" listening "$NS_MEDIA" tcp "$MEDIA_HTTP_PORT"
    wait_for avahi-media "$TMP/avahi-media.log" avahi_ready avahi-media
    wait_for avahi-laptop "$TMP/avahi-laptop.log" avahi_ready avahi-laptop
    if [ -n "$RESPONDER" ]; then
        wait_for hostile "$TMP/hostile.log" listening "$NS_HOSTILE" tcp "$HOSTILE_HTTP_PORT"
        wait_for canary-router "$TMP/canary-router.log" \
            listening "$NS_ROUTER" tcp "$HOSTILE_HTTP_PORT"
        wait_for canary-loopback "$TMP/canary-loopback.log" \
            listening "$NS_PC" tcp "$HOSTILE_HTTP_PORT"
    fi
}

home_environment() {
    cat <<EOF
VHOME_PC_NS=$NS_PC
VHOME_ROUTER_NS=$NS_ROUTER
VHOME_MEDIA_NS=$NS_MEDIA
VHOME_HOSTILE_NS=$NS_HOSTILE
VHOME_LAPTOP_NS=$NS_LAPTOP
VHOME_WAN_NS=$NS_WAN
VHOME_LAN_IFACE=$LAN_IFACE
VHOME_MEDIA_IFACE=$LAN_IFACE
VHOME_LAN_PREFIX=$LAN_PREFIX.0/24
VHOME_DOMAIN=$DOMAIN
VHOME_DHCP_RANGE=$DHCP_FIRST-$DHCP_LAST
VHOME_WAN_IP=$WAN_IP
VHOME_WAN_MAC=$WAN_MAC
VHOME_PC_IP=$PC_IP
VHOME_PC_MAC=$PC_MAC
VHOME_PC_HOSTNAME=$PC_HOSTNAME
VHOME_ROUTER_IP=$ROUTER_IP
VHOME_ROUTER_MAC=$ROUTER_MAC
VHOME_ROUTER_WAN_IP=$ROUTER_WAN_IP
VHOME_ROUTER_WAN_MAC=$ROUTER_WAN_MAC
VHOME_ROUTER_HOSTNAME=$ROUTER_HOSTNAME
VHOME_ROUTER_DESC_URL=http://$ROUTER_IP:$ROUTER_HTTP_PORT/rootDesc.xml
VHOME_ROUTER_FRIENDLY_NAME=$ROUTER_FRIENDLY_NAME
VHOME_ROUTER_MANUFACTURER=$ROUTER_MANUFACTURER
VHOME_ROUTER_MODEL_NAME=$ROUTER_MODEL_NAME
VHOME_ROUTER_MODEL_NUMBER=$ROUTER_MODEL_NUMBER
VHOME_ROUTER_SERIAL=$ROUTER_SERIAL
VHOME_ROUTER_UUID=$ROUTER_UUID
VHOME_MEDIA_IP=$MEDIA_IP
VHOME_MEDIA_MAC=$MEDIA_MAC
VHOME_MEDIA_HOSTNAME=$MEDIA_HOSTNAME
VHOME_MEDIA_MDNS_HOSTNAME=$MEDIA_HOSTNAME.local
VHOME_MEDIA_DESC_URL=http://$MEDIA_IP:$MEDIA_HTTP_PORT/rootDesc.xml
VHOME_MEDIA_FRIENDLY_NAME=$MEDIA_FRIENDLY_NAME
VHOME_MEDIA_MODEL_NAME=$MEDIA_MODEL_NAME
VHOME_MEDIA_MODEL_NUMBER=$MEDIA_MODEL_NUMBER
VHOME_MEDIA_SERIAL=$MEDIA_SERIAL
VHOME_MEDIA_UUID=$MEDIA_UUID
VHOME_LAPTOP_IP=$LAPTOP_IP
VHOME_LAPTOP_MAC=$LAPTOP_MAC
VHOME_LAPTOP_HOSTNAME=$LAPTOP_HOSTNAME
VHOME_LAPTOP_MDNS_HOSTNAME=$LAPTOP_HOSTNAME.local
VHOME_HOSTILE_IP=$HOSTILE_IP
VHOME_HOSTILE_MAC=$HOSTILE_MAC
VHOME_HOSTILE_HOSTNAME=$HOSTILE_HOSTNAME
VHOME_HOSTILE_PORT=$HOSTILE_HTTP_PORT
VHOME_HOSTILE_RESPONDER=$RESPONDER
VHOME_HOSTILE_LOG=$TMP/hostile.log
VHOME_CANARY_LOG=$TMP/canary.log
VHOME_DIR=$TMP
EOF
}

# Each daemon, asked from the PC: prints what answered, fails naming the one that did not.
check_home() {
    local out status=0 desc
    for desc in "miniupnpd $ROUTER_IP:$ROUTER_HTTP_PORT $ROUTER_UUID" \
        "minidlna $MEDIA_IP:$MEDIA_HTTP_PORT $MEDIA_UUID"; do
        set -- $desc
        if out=$(in_ns "$NS_PC" curl -sS --max-time 5 "http://$2/rootDesc.xml"); then
            echo "$1 at http://$2/rootDesc.xml:"
            printf '%s\n' "$out" | grep -oE \
                '<(friendlyName|modelName|modelNumber|serialNumber|UDN|deviceType)>[^<]*' |
                sed 's/^</    /; s/>/: /' | sort -u
            if ! printf '%s' "$out" | grep -q "uuid:$3"; then
                log "$1's description lacks its uuid $3"
                status=1
            fi
        else
            log "$1 did not answer at http://$2/rootDesc.xml"
            show_log "$1"
            status=1
        fi
    done
    dns() { # dns WHO SERVER PORT NAME TYPE EXPECTED
        local who=$1 expected=$6
        shift
        if out=$(in_ns "$NS_PC" python3 "$HERE/dns-query.py" "${@:1:4}" 2>&1) &&
            printf '%s\n' "$out" | grep -qF "$expected"; then
            echo "$who: $3 $4:"
            printf '%s\n' "$out" | sed 's/^/    /'
        else
            log "$who did not answer $3 $4 with $expected (got: $out)"
            show_log "$who"
            status=1
        fi
    }
    reverse() { echo "$1" | awk -F. '{print $4"."$3"."$2"."$1".in-addr.arpa"}'; }
    dns dnsmasq "$ROUTER_IP" 53 "$MEDIA_HOSTNAME.$DOMAIN" A "$MEDIA_IP"
    dns dnsmasq "$ROUTER_IP" 53 "$(reverse "$ROUTER_IP")" PTR "$ROUTER_HOSTNAME.$DOMAIN"
    dns avahi-media 224.0.0.251 5353 "$(reverse "$MEDIA_IP")" PTR "$MEDIA_HOSTNAME.local"
    dns avahi-media 224.0.0.251 5353 "$MEDIA_HOSTNAME.local" A "$MEDIA_IP"
    dns avahi-laptop 224.0.0.251 5353 "$(reverse "$LAPTOP_IP")" PTR "$LAPTOP_HOSTNAME.local"
    dns avahi-laptop 224.0.0.251 5353 "$LAPTOP_HOSTNAME.local" A "$LAPTOP_IP"
    if out=$(in_ns "$NS_PC" python3 "$HERE/ssdp-search.py" 2); then
        echo "SSDP search from the PC:"
        printf '%s\n' "$out" | sed 's/^/    /'
        for want in "$ROUTER_IP:$ROUTER_HTTP_PORT/rootDesc.xml miniupnpd" \
            "$MEDIA_IP:$MEDIA_HTTP_PORT/rootDesc.xml minidlna"; do
            set -- $want
            printf '%s' "$out" | grep -qF "http://$1" || {
                log "$2 did not answer the SSDP search"
                show_log "$2"
                status=1
            }
        done
    else
        log "nothing answered the SSDP search from the PC"
        status=1
    fi
    if [ -n "$RESPONDER" ]; then
        if out=$(in_ns "$NS_PC" curl -sS --max-time 5 -o /dev/null -w '%{http_code} %{size_download}' \
            "http://$HOSTILE_IP:$HOSTILE_HTTP_PORT/big"); then
            echo "hostile responder: /big answered $out bytes"
        else
            log "the hostile responder did not answer"
            show_log hostile
            status=1
        fi
    fi
    return $status
}

T0=$(date +%s.%N)
build_namespaces
start_router
start_media
start_laptop
start_hostile
wait_ready
T1=$(date +%s.%N)
log "home up in $(awk "BEGIN{print $T1 - $T0}") s (namespaces $ALL_NS)"

if [ "$MODE" = check ]; then
    check_home
    STATUS=$?
    if [ $STATUS = 0 ]; then
        echo "every daemon answered"
    else
        log "check failed"
    fi
else
    mapfile -t HOME_ENV < <(home_environment)
    # The PC is a box of the home: its own host name, and the router as its name server, as
    # its DHCP lease would say. Both hold only for COMMAND, in namespaces of its own.
    printf 'nameserver %s\nsearch %s\n' "$ROUTER_IP" "$DOMAIN" >"$TMP/resolv.conf"
    ip netns exec "$NS_PC" unshare -m -u sh -c '
        mount --bind "$1" /etc/resolv.conf && hostname "$2" && shift 2 && exec "$@"' sh \
        "$TMP/resolv.conf" "$PC_HOSTNAME" env "${HOME_ENV[@]}" "$@" &
    COMMAND_PID=$!
    wait "$COMMAND_PID"
    STATUS=$?
    COMMAND_PID=
fi
T2=$(date +%s.%N)
teardown
T3=$(date +%s.%N)
log "home down in $(awk "BEGIN{print $T3 - $T2}") s"
exit $STATUS
