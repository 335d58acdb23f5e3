#!/bin/sh
# netns-run.sh PROGRAM [ARGS...]
# Runs a test program in a network namespace of its own that has nothing but loopback, up and
# able to carry multicast, so whatever the program sends never leaves it. Exits 77 (the skip
# code the tests register) where no namespace can be made, as for a user without the right.
if ! unshare -n true 2>/dev/null; then
    echo "netns-run.sh: cannot make a network namespace here (it needs root); skipped"
    exit 77
fi
exec unshare -n sh -c 'ip link set lo up && ip link set lo multicast on &&
    ip route add 224.0.0.0/4 dev lo && exec "$@"' sh "$@"
