#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# A private CUPS scheduler for the print tests: no network, no system
# services, everything under one directory.
#
#   eval "$(scripts/cups-test-printer.sh start DIR)"   # starts, prints exports
#   scripts/cups-test-printer.sh stop DIR               # stops, keeps DIR
#   scripts/cups-test-printer.sh env DIR                # prints the exports again
#
# Two schedulers are started, each listening on a UNIX socket only:
#   DIR/cups.sock            queue "tavrint-pdf", the default printer, and
#                            two queues with a driver (PPD) that declares its
#                            printable area on A4:
#                              "tavrint-fullpage"  the whole sheet (0 0 595 842)
#                              "tavrint-margins"   18/24 pt in (18 24 577 818)
#                            (choose one with PRINTER=<queue>)
#                            and a fax queue, "tavrint-fax", as a
#                            multifunction printer's (jobs carry "phone")
#   DIR/nodefault/cups.sock  queue "tavrint-pdf", but no default printer
# Every queue passes the PDF the application hands to CUPS on unchanged; its
# backend writes every job to OUT/job-<id>.pdf, renamed into place only when
# complete, the job's title to OUT/job-<id>.title and the options it was
# given to OUT/job-<id>.options.
#
# Exports printed by start/env:
#   CUPS_SERVER                     the default-printer scheduler's socket
#   TAVRINT_CUPS_OUT                where its jobs land
#   TAVRINT_CUPS_FULLPAGE_OUT       where "tavrint-fullpage" jobs land
#   TAVRINT_CUPS_MARGINS_OUT        where "tavrint-margins" jobs land
#   TAVRINT_CUPS_FAX_OUT            where "tavrint-fax" jobs land
#   TAVRINT_CUPS_NODEFAULT_SERVER   the scheduler without a default printer
#   TAVRINT_CUPS_NODEFAULT_OUT      where that one's jobs would land
# and unsets PRINTER and LPDEST, which would override the server's default.
#
# Start is idempotent: a scheduler already running for DIR is stopped first.
# Root is expected (CI); as root the backend runs as root so that it can
# write into a private (0700) DIR.

set -eu

QUEUE=tavrint-pdf

usage() {
    echo "usage: $0 start|stop|env DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
cmd=$1
dir=$2

absdir() {
    mkdir -p "$1"
    (cd "$1" && pwd -P)
}

print_env() {
    d=$1
    echo "export CUPS_SERVER='$d/cups.sock'"
    echo "export TAVRINT_CUPS_OUT='$d/out'"
    echo "export TAVRINT_CUPS_FULLPAGE_OUT='$d/out-fullpage'"
    echo "export TAVRINT_CUPS_MARGINS_OUT='$d/out-margins'"
    echo "export TAVRINT_CUPS_FAX_OUT='$d/out-fax'"
    echo "export TAVRINT_CUPS_NODEFAULT_SERVER='$d/nodefault/cups.sock'"
    echo "export TAVRINT_CUPS_NODEFAULT_OUT='$d/nodefault/out'"
    echo "unset PRINTER LPDEST"
}

# stop_one SCHEDULERDIR
stop_one() {
    s=$1
    [ -f "$s/cupsd.pid" ] || return 0
    pid=$(cat "$s/cupsd.pid")
    rm -f "$s/cupsd.pid"
    case $pid in '' | *[!0-9]*) return 0 ;; esac
    # Only a cupsd started with this directory's configuration.
    if [ -r "/proc/$pid/cmdline" ] &&
        tr '\0' ' ' <"/proc/$pid/cmdline" | grep -q "cupsd .*-c $s/cupsd.conf"; then
        kill "$pid" 2>/dev/null || true
        i=0
        while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do
            sleep 0.1
            i=$((i + 1))
        done
        if kill -0 "$pid" 2>/dev/null; then
            kill -9 "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$s/cups.sock"
}

# start_one SCHEDULERDIR yes|no
start_one() {
    s=$1
    with_default=$2
    stop_one "$s"
    for sub in etc spool cache state log serverbin out out-fullpage out-margins out-fax; do
        rm -rf "${s:?}/$sub"
    done
    mkdir -p "$s/etc/ppd" "$s/spool/tmp" "$s/cache" "$s/state" "$s/log" "$s/out" \
        "$s/out-fullpage" "$s/out-margins" "$s/out-fax" "$s/serverbin/backend"
    chmod 0700 "$s/out" "$s/out-fullpage" "$s/out-margins" "$s/out-fax"

    # The system's programs, plus our backend.
    for sub in cgi-bin daemon driver filter monitor notifier; do
        [ -e "/usr/lib/cups/$sub" ] && ln -s "/usr/lib/cups/$sub" "$s/serverbin/$sub"
    done
    cat >"$s/serverbin/backend/tavrintpdf" <<'EOF'
#!/bin/sh
# tavrintpdf:/OUTDIR - writes each job to OUTDIR/job-<id>.pdf.
if [ $# -eq 0 ]; then
    echo 'file tavrintpdf "Unknown" "Tavrint test PDF"'
    exit 0
fi
out=${DEVICE_URI#tavrintpdf:}
tmp="$out/.job-$1.part"
if [ $# -ge 6 ]; then cat "$6" >"$tmp"; else cat >"$tmp"; fi || exit 1
printf '%s\n' "$3" >"$out/.job-$1.title" || exit 1
printf '%s\n' "$5" >"$out/job-$1.options" || exit 1
mv "$out/.job-$1.title" "$out/job-$1.title"
mv "$tmp" "$out/job-$1.pdf"
EOF
    # Owner-only: cupsd then runs the backend as root.
    chmod 0700 "$s/serverbin/backend/tavrintpdf"

    cat >"$s/cups-files.conf" <<EOF
ServerRoot $s/etc
RequestRoot $s/spool
TempDir $s/spool/tmp
CacheDir $s/cache
StateDir $s/state
ServerBin $s/serverbin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
AccessLog $s/log/access_log
ErrorLog $s/log/error_log
PageLog $s/log/page_log
FileDevice Yes
Sandboxing Relaxed
SystemGroup root
EOF
    cat >"$s/cupsd.conf" <<EOF
LogLevel warn
Listen $s/cups.sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
JobRetryLimit 0
MaxJobs 0
PreserveJobHistory No
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

    cupsd -f -c "$s/cupsd.conf" -s "$s/cups-files.conf" </dev/null >>"$s/log/cupsd.out" 2>&1 &
    echo $! >"$s/cupsd.pid"

    i=0
    until [ -S "$s/cups.sock" ] && CUPS_SERVER="$s/cups.sock" lpstat -r >/dev/null 2>&1; do
        i=$((i + 1))
        if [ $i -gt 100 ] || ! kill -0 "$(cat "$s/cupsd.pid")" 2>/dev/null; then
            echo "cups-test-printer: scheduler in $s did not start" >&2
            cat "$s/log/cupsd.out" "$s/log/error_log" >&2 2>/dev/null || true
            exit 1
        fi
        sleep 0.1
    done

    # Raw queue: lpadmin without a model makes one (and says nothing).
    CUPS_SERVER="$s/cups.sock" lpadmin -p "$QUEUE" -E -v "tavrintpdf:$s/out" \
        -D "Tavrint test PDF" -o printer-error-policy=abort-job
    if [ "$with_default" = yes ]; then
        CUPS_SERVER="$s/cups.sock" lpadmin -d "$QUEUE"
        # Queues with a driver that states the printable area.
        write_ppd fullpage "0 0 595 842" >"$s/fullpage.ppd"
        write_ppd margins "18 24 577 818" >"$s/margins.ppd"
        CUPS_SERVER="$s/cups.sock" lpadmin -p tavrint-fax -E -v "tavrintpdf:$s/out-fax" \
            -D "Tavrint test fax" -o printer-error-policy=abort-job
        for q in fullpage margins; do
            CUPS_SERVER="$s/cups.sock" lpadmin -p "tavrint-$q" -E -v "tavrintpdf:$s/out-$q" \
                -P "$s/$q.ppd" -D "Tavrint test PDF ($q)" -o printer-error-policy=abort-job \
                2>/dev/null
        done
    fi
}

# write_ppd NAME "LEFT BOTTOM RIGHT TOP": an A4-only PostScript-level driver
# whose printable area is the given rectangle in points (PPD coordinates,
# origin bottom-left). Its one filter line passes PDF on untouched.
write_ppd() {
    cat <<EOF
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TAVRINT.PPD"
*Manufacturer: "Tavrint"
*Product: "(Tavrint test)"
*ModelName: "Tavrint $1"
*ShortNickName: "Tavrint $1"
*NickName: "Tavrint $1"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*TTRasterizer: Type42
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "$2"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
EOF
}

case $cmd in
start)
    d=$(absdir "$dir")
    # A UNIX socket path holds at most 107 bytes.
    if [ ${#d} -gt 80 ]; then
        echo "cups-test-printer: $d is too long for a socket path; use a shorter directory" >&2
        exit 1
    fi
    start_one "$d" yes
    start_one "$d/nodefault" no
    print_env "$d"
    ;;
stop)
    [ -d "$dir" ] || exit 0
    d=$(cd "$dir" && pwd -P)
    stop_one "$d/nodefault"
    stop_one "$d"
    ;;
env)
    d=$(absdir "$dir")
    print_env "$d"
    ;;
*)
    usage
    ;;
esac
