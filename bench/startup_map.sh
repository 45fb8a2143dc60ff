#!/usr/bin/env bash
# Start-up cost of the table client beside another desktop game, in one run under
# one Xvfb: the time from starting the program to its first window being mapped, and
# its resident memory once the window is up and the table has settled. tavrelmj is
# started with the lobby's command line against tavrel-server with three bots, and
# measured twice: with a sound server (a private PulseAudio with a null sink, so that
# the device opens and the table loop plays) and without one (sound off). KMahjongg,
# when installed, is started the same number of times in turn.
#
# Usage: bench/startup_map.sh BUILD_DIR [ROUNDS] [SETTLE_SECONDS]
# Needs xvfb-run and xdotool; pulseaudio and KMahjongg (with dbus-run-session) are
# optional.
set -euo pipefail

build="$(cd "${1:?usage: bench/startup_map.sh BUILD_DIR [ROUNDS] [SETTLE_SECONDS]}" && pwd)"
rounds="${2:-5}"
settle="${3:-4}"
bin="$build/bin"

work="$(mktemp -d)"
pulse=""
cleanup() {
  [[ -n "$pulse" ]] && kill "$pulse" 2> /dev/null && wait "$pulse" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A sound server of our own: nothing reaches a player's speakers.
sound_server="unix:$work/no-sound-server"
if command -v pulseaudio > /dev/null; then
  mkdir -p "$work/pulse"
  HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" XDG_CONFIG_HOME="$work/pulse" PULSE_SERVER= \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    -L "module-null-sink sink_name=bench rate=44100" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" > "$work/pulse.log" 2>&1 &
  pulse=$!
  for _ in $(seq 100); do
    [[ -S "$work/pulse/native" ]] && break
    sleep 0.1
  done
  [[ -S "$work/pulse/native" ]] && sound_server="unix:$work/pulse/native"
fi
[[ "$sound_server" == *native ]] || echo "startup_map: no sound server; tavrelmj is measured without sound only" >&2

cat > "$work/inner.sh" << 'INNER'
set -euo pipefail
bin="$1"; rounds="$2"; settle="$3"; work="$4"; sound_server="$5"
export PATH="$PATH:/usr/games" HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
export TAVREL_BOX_TIMEOUT_MS=200
unset TAVREL_SCREEN TAVREL_SCREENSHOT TAVREL_DEBUG_LOG TAVREL_PROGRAM_FOLDER QT_QPA_PLATFORM

now_ms() { date +%s%3N; }
# Starts "$@" and waits (30 s at most) for a mapped window of its process.
# Prints "map_ms rss_kb" after the settling time, then stops the program.
measure() {
  local start pid mapped="" rss
  start="$(now_ms)"
  "$@" > "$work/last.out" 2>&1 &
  pid=$!
  for _ in $(seq 3000); do
    if xdotool search --onlyvisible --pid "$pid" > /dev/null 2>&1; then mapped="$(now_ms)"; break; fi
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.01
  done
  if [[ -z "$mapped" ]]; then
    echo "startup_map: no window from $1" >&2; tail -5 "$work/last.out" >&2
    kill "$pid" 2> /dev/null || true; wait "$pid" 2> /dev/null || true
    echo "- -"; return
  fi
  sleep "$settle"
  kill -0 "$pid" 2> /dev/null || { echo "startup_map: $1 exited:" >&2; tail -5 "$work/last.out" >&2; }
  rss="$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2> /dev/null || echo 0)"
  kill "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  echo "$((mapped - start)) $rss"
}
client() {  # sound server address
  local run="$work/run.$RANDOM$RANDOM" server port=""
  mkdir -p "$run"; chmod 700 "$run"
  "$bin/tavrel-server" --port 0 --bots 3 --log "$run/server.log" > "$run/server.out" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    port="$(sed -n 's/^listening on .*:\([0-9][0-9]*\)$/\1/p' "$run/server.out")"
    [[ -n "$port" ]] && break
    sleep 0.05
  done
  [[ -n "$port" ]] || { echo "startup_map: tavrel-server did not start" >&2; kill "$server"; echo "- -"; return; }
  XDG_RUNTIME_DIR="$run" PULSE_SERVER="$1" QT_QPA_PLATFORM=xcb \
    measure "$bin/tavrelmj" "bench\$key\$127.0.0.1\$$port\$本地\$0\$\$0\$\$\$\$\$\$0\$0\$"
  grep -q "table full" "$run/server.log" || echo "startup_map: warning: the table did not fill" >&2
  kill "$server" 2> /dev/null || true
  wait "$server" 2> /dev/null || true
}
other() {
  local run="$work/run.$RANDOM$RANDOM"
  mkdir -p "$run"; chmod 700 "$run"
  XDG_RUNTIME_DIR="$run" PULSE_SERVER="unix:$work/no-sound-server" measure kmahjongg
}

: > "$work/results"
for i in $(seq "$rounds"); do
  echo "tavrelmj+sound $(client "$sound_server")" >> "$work/results"
  echo "tavrelmj-silent $(client "unix:$work/no-sound-server")" >> "$work/results"
  command -v kmahjongg > /dev/null && echo "kmahjongg $(other)" >> "$work/results"
done
# Medians of each program's rounds (the first round of each includes cold caches).
awk '$2 != "-" { map[$1] = map[$1] " " $2; rss[$1] = rss[$1] " " $3; n[$1]++ }
  function median(list,   a, k, i, j, t) {
    k = split(list, a, " ")
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  END { for (p in n) printf "%-16s map %4d ms (each:%s)  RSS %.1f MB (median of %d)\n", p, median(map[p]), map[p], median(rss[p]) / 1024, n[p] }' \
  "$work/results" | sort
INNER

session=()
command -v dbus-run-session > /dev/null && session=(dbus-run-session --)
xvfb-run -a -s "-screen 0 1280x1024x24" "${session[@]}" bash "$work/inner.sh" "$bin" "$rounds" "$settle" "$work" "$sound_server"
