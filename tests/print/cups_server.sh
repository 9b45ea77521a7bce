#!/usr/bin/env bash
# A private CUPS scheduler for the print path tests, listening only on a
# socket in DIR, with CUPS-PDF queues: "RalvoPDF" (the default printer),
# "RalvoA4" and "RalvoLetter" (default papers A4 and US Letter) and
# "RalvoReject", which rejects every job (cupsreject).
# The system's own scheduler and queues are never touched: clients reach
# this one through CUPS_SERVER=DIR/cups.sock.
#
#   cups_server.sh start DIR   start it (or reuse the one already running)
#   cups_server.sh stop DIR    stop it
#
# When the scheduler cannot run here, start still succeeds but writes the
# reason to DIR/unavailable, and the test falls back to Qt's PDF output.
# Every wait is bounded.
set -u
command=${1:?start or stop}
dir=${2:?directory}
sock="$dir/cups.sock"
export CUPS_SERVER="$sock"
queue=RalvoPDF
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

unavailable() {
    echo "$1" > "$dir/unavailable"
    echo "CUPS scheduler unavailable: $1"
    exit 0
}

running() {
    [ -S "$sock" ] && timeout 5 lpstat -r 2>/dev/null | grep -q "is running"
}

stop() {
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        if kill "$pid" 2>/dev/null; then
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
            kill -9 "$pid" 2>/dev/null || true
        fi
        rm -f "$dir/cupsd.pid"
    fi
    rm -f "$sock"
}

case "$command" in
stop)
    stop
    exit 0
    ;;
start) ;;
*) echo "usage: $0 start|stop DIR" >&2; exit 64 ;;
esac

mkdir -p "$dir"
rm -f "$dir/unavailable"
if ! running; then
    stop
    [ -x /usr/sbin/cupsd ] || unavailable "cupsd is not installed (package cups)"
    [ -x /usr/lib/cups/backend/cups-pdf ] && [ -f "$ppd" ] \
        || unavailable "the CUPS-PDF printer is not installed (package printer-driver-cups-pdf)"
    [ "$(id -u)" -eq 0 ] || unavailable "cupsd and the cups-pdf backend need root, and this runs as $(id -un)"
    mkdir -p "$dir"/{etc/ppd,spool,state,cache,log}
    mkdir -p -m 1777 "$dir/tmp"
    chmod 1777 "$dir/tmp"
    cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
StateDir $dir/state
CacheDir $dir/cache
TempDir $dir/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
SystemGroup root
User lp
Group lp
CONF
    cat > "$dir/cupsd.conf" <<CONF
Listen $sock
LogLevel info
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
    timeout 10 /usr/sbin/cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/check" 2>&1 \
        || unavailable "cupsd rejects its configuration: $(tr '\n' ' ' < "$dir/log/check")"
    # In the foreground of a detached shell, so its pid is ours to stop and
    # no output pipe of the caller stays open.
    setsid /usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" \
        </dev/null >"$dir/log/cupsd.out" 2>&1 &
    echo $! > "$dir/cupsd.pid"
    for _ in $(seq 100); do running && break; sleep 0.2; done
    running || unavailable "cupsd did not start within 20 s: $(tail -3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
fi

if ! timeout 10 lpstat -p "$queue" >/dev/null 2>&1; then
    timeout 30 lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E 2>"$dir/log/lpadmin" \
        || unavailable "lpadmin could not create the queue: $(cat "$dir/log/lpadmin")"
fi
timeout 10 cupsenable "$queue" 2>/dev/null
timeout 10 lpadmin -d "$queue" 2>/dev/null || unavailable "lpadmin could not make $queue the default"
for extra in RalvoA4:A4 RalvoLetter:Letter RalvoReject:A4; do
    name=${extra%%:*}
    if ! timeout 10 lpstat -p "$name" >/dev/null 2>&1; then
        timeout 30 lpadmin -p "$name" -v cups-pdf:/ -P "$ppd" -E 2>"$dir/log/lpadmin" \
            || unavailable "lpadmin could not create the queue $name: $(cat "$dir/log/lpadmin")"
    fi
    timeout 10 lpadmin -p "$name" -o PageSize="${extra#*:}" 2>/dev/null \
        || unavailable "lpadmin could not set the paper of $name"
    timeout 10 cupsenable "$name" 2>/dev/null
    timeout 10 cupsaccept "$name" 2>/dev/null
done
timeout 10 cupsreject -r "test queue that refuses every job" RalvoReject 2>/dev/null \
    || unavailable "cupsreject failed on RalvoReject"
echo "CUPS scheduler on $sock, default printer $(timeout 5 lpstat -d 2>/dev/null)"
