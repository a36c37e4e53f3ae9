#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private HylaFAX server for the fax tests: no modem, its own spool, the
# client protocol on a port of the loopback interface only.
#
#   eval "$(scripts/hylafax-test-server.sh start DIR)"   # starts, prints exports
#   scripts/hylafax-test-server.sh stop DIR               # stops, keeps DIR
#
# The spool is a copy of the package's (/var/spool/hylafax with /etc/hylafax
# as its etc), so the machine's own server, if any, is left alone. Without a
# modem every job waits in the send queue, where the tests read it:
# SPOOL/sendq/q<id> (its number) and SPOOL/docq (its document).
#
# Exports printed by start:
#   TAVRINT_FAXSERVER       "localhost:PORT", for FAXSERVER or -h
#   TAVRINT_HYLAFAX_SPOOL   the spool
# Root is expected (the scheduler and the server run as the spool's owner).

set -eu

usage() {
    echo "usage: $0 start|stop DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
cmd=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd -P)
# The server runs as the spool's owner (uucp), which must reach the spool:
# DIR may sit in a folder only root may enter (mktemp -d makes 0700 ones), so
# the spool lives in a folder of its own in /tmp, named in DIR/spool.path.
spool=$(cat "$dir/spool.path" 2>/dev/null || true)

stop() {
    [ -n "$spool" ] || return 0
    for name in hfaxd faxq; do
        [ -f "$dir/$name.pid" ] || continue
        pid=$(cat "$dir/$name.pid")
        rm -f "$dir/$name.pid"
        case $pid in '' | *[!0-9]*) continue ;; esac
        # Only a server of this spool.
        if [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q -- "-q $spool"; then
            kill "$pid" 2>/dev/null || true
            i=0
            while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
                sleep 0.1
                i=$((i + 1))
            done
            kill -9 "$pid" 2>/dev/null || true
        fi
    done
    case $spool in /tmp/tavrint-hylafax.*/spool) rm -rf "${spool%/spool}" ;; esac
    rm -f "$dir/spool.path"
}

# A port nobody listens on, from a range the system does not hand out.
free_port() {
    for port in $(seq 14559 14659); do
        # Nobody answers a connection there.
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

case $cmd in
stop)
    stop
    ;;
start)
    stop
    for need in /usr/sbin/faxq /usr/sbin/hfaxd; do
        [ -x "$need" ] || { echo "hylafax-test-server: $need missing (hylafax-server)" >&2; exit 1; }
    done
    spool=$(mktemp -d /tmp/tavrint-hylafax.XXXXXX)/spool
    chmod 0755 "${spool%/spool}"
    echo "$spool" >"$dir/spool.path"
    cp -a /var/spool/hylafax "$spool"
    rm -rf "$spool/etc"
    cp -a /etc/hylafax "$spool/etc"
    # Local clients only, any user, no password.
    printf 'localhost\n127.0.0.1\n' >"$spool/etc/hosts.hfaxd"
    chown uucp:uucp "$spool/etc/hosts.hfaxd"
    chmod 0600 "$spool/etc/hosts.hfaxd"
    for q in sendq docq doneq tmp log; do
        find "$spool/$q" -mindepth 1 -delete 2>/dev/null || true
    done
    port=$(free_port) || { echo "hylafax-test-server: no free port" >&2; exit 1; }

    /usr/sbin/faxq -D -q "$spool" </dev/null >"$dir/faxq.log" 2>&1 &
    echo $! >"$dir/faxq.pid"
    /usr/sbin/hfaxd -d -q "$spool" -l 127.0.0.1 -i "$port" </dev/null >"$dir/hfaxd.log" 2>&1 &
    echo $! >"$dir/hfaxd.pid"

    i=0
    until faxstat -h "localhost:$port" 2>&1 | grep -q "Running"; do
        i=$((i + 1))
        if [ $i -gt 100 ]; then
            echo "hylafax-test-server: the server in $spool did not start" >&2
            cat "$dir/faxq.log" "$dir/hfaxd.log" >&2 2>/dev/null || true
            stop
            exit 1
        fi
        sleep 0.1
    done
    echo "export TAVRINT_FAXSERVER='localhost:$port'"
    echo "export TAVRINT_HYLAFAX_SPOOL='$spool'"
    ;;
*)
    usage
    ;;
esac
