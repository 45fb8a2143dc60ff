#!/usr/bin/env bash
# Idle cost of the table client beside another desktop game, in one run under
# one Xvfb: tavrelmj logged in to tavrel-server with three bots (the table is
# formed, the start button not pressed), started by the lobby stand-in, and
# (when installed) KMahjongg showing its board. After a settling time both are
# sampled over the same window: CPU time from /proc/PID/task/*/schedstat and
# wake-ups as voluntary context switches from /proc/PID/task/*/status, for the
# whole process and for its main thread.
#
# Usage: bench/idle_cpu.sh BUILD_DIR [SECONDS] [SETTLE_SECONDS]
# Needs xvfb-run; KMahjongg (with dbus-run-session) is optional and only there
# for comparison.
set -euo pipefail

build="$(cd "${1:?usage: bench/idle_cpu.sh BUILD_DIR [SECONDS] [SETTLE_SECONDS]}" && pwd)"
seconds="${2:-60}"
settle="${3:-15}"
bin="$build/bin"

work="$(mktemp -d)"
server=""
cleanup() {
  [[ -n "$server" ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$bin/tavrel-server" --port 0 --bots 3 --log "$work/server.log" > "$work/server.out" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port="$(sed -n 's/^listening on .*:\([0-9][0-9]*\)$/\1/p' "$work/server.out")"
  [[ -n "$port" ]] && break
  sleep 0.1
done
[[ -n "$port" ]] || { echo "idle_cpu: tavrel-server did not start" >&2; exit 1; }

# What runs on the display that xvfb-run provides.
cat > "$work/inner.sh" <<'INNER'
set -euo pipefail
bin="$1"; port="$2"; seconds="$3"; settle="$4"; work="$5"
export PATH="$PATH:/usr/games" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb TAVREL_BOX_TIMEOUT_MS=200
unset TAVREL_SCREEN TAVREL_SCREENSHOT TAVREL_DEBUG_LOG TAVREL_PROGRAM_FOLDER

"$bin/tavrel-lobby" --server-host 127.0.0.1 --server-port "$port" --user idler > "$work/lobby.out" 2>&1 &
lobby=$!
other=""
if command -v kmahjongg > /dev/null; then
  kmahjongg > "$work/kmahjongg.out" 2>&1 &
  other=$!
fi
stop() { kill $lobby $other 2> /dev/null || true; wait 2> /dev/null || true; }
trap stop EXIT

client=""
for _ in $(seq 100); do
  client="$(pgrep -P "$lobby" -x tavrelmj || true)"
  [[ -n "$client" ]] && break
  sleep 0.1
done
[[ -n "$client" ]] || { echo "idle_cpu: the lobby did not start tavrelmj" >&2; exit 1; }
sleep "$settle"
grep -q "table full" "$work/server.log" || echo "idle_cpu: warning: the table is not full" >&2

sample() {  # pid -> one line per thread: "tid cpu_ns voluntary_switches"
  local t
  for t in /proc/$1/task/*; do
    echo "${t##*/} $(cut -d' ' -f1 "$t/schedstat" 2> /dev/null || echo 0) $(awk '/^voluntary_ctxt_switches/ {print $2}' "$t/status" 2> /dev/null || echo 0)"
  done
}
# Threads present in both samples count; the main thread (tid = pid) on its own too.
report() {  # name pid before after
  awk -v name="$1" -v pid="$2" -v s="$seconds" '
    FNR == NR { cpu[$1] = $2; sw[$1] = $3; next }
    ($1 in cpu) { c += $2 - cpu[$1]; w += $3 - sw[$1]; if ($1 == pid) { cm = $2 - cpu[$1]; wm = $3 - sw[$1] } }
    END { printf "%-10s CPU %.4f %% of a core, %.2f wake-ups/s (main thread: %.4f %%, %.2f wake-ups/s) over %d s\n",
          name, 100 * c / 1e9 / s, w / s, 100 * cm / 1e9 / s, wm / s, s }' <(echo "$3") <(echo "$4")
}
c0="$(sample "$client")"
o0=""; [[ -n "$other" ]] && o0="$(sample "$other")"
sleep "$seconds"
c1="$(sample "$client")"
o1=""; [[ -n "$other" ]] && o1="$(sample "$other")"
report tavrelmj "$client" "$c0" "$c1"
[[ -n "$other" ]] && report kmahjongg "$other" "$o0" "$o1"
echo "threads: tavrelmj $(ls "/proc/$client/task" | wc -l)${other:+, kmahjongg $(ls "/proc/$other/task" | wc -l)}"
INNER

# A desktop session bus, which KDE programs need to start.
session=()
command -v dbus-run-session > /dev/null && session=(dbus-run-session --)
xvfb-run -a -s "-screen 0 1280x1024x24" "${session[@]}" bash "$work/inner.sh" "$bin" "$port" "$seconds" "$settle" "$work"
