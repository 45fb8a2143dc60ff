#!/usr/bin/env bash
# Starts a game: tavrel-server with three bots on a free loopback port, then the
# lobby stand-in (when built), which starts the client, or else the client itself.
# Usage: tools/demo.sh BUILD_DIR [tavrel-server options]
# Everything started here is stopped when the client exits.
set -euo pipefail

build_dir="${1:?usage: tools/demo.sh BUILD_DIR [tavrel-server options]}"
shift
bin="$build_dir/bin"
server="$bin/tavrel-server"
user="${TAVREL_DEMO_USER:-player}"
run_dir="$build_dir/demo"
mkdir -p "$run_dir"

if [[ ! -x "$server" ]]; then
  echo "demo: $server is missing; build it first (./tavrel build)" >&2
  exit 1
fi

# Waiting in the background keeps this script able to act on a signal at once.
pids=()
stop_all() {
  local pid
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}
trap stop_all EXIT
trap 'exit 130' INT TERM

: > "$run_dir/server.out"
# Props are on: the sample plug-in (bank, 鲜花 on F2, 鸡蛋 on F3, a chest for the winner).
"$server" --port 0 --bots 3 --props --log "$run_dir/server.log" "$@" > "$run_dir/server.out" 2> "$run_dir/server.err" &
pids+=("$!")

port=""
for _ in $(seq 100); do
  port="$(sed -n 's/^listening on .*:\([0-9][0-9]*\)$/\1/p' "$run_dir/server.out")"
  [[ -n "$port" ]] && break
  if ! kill -0 "${pids[0]}" 2>/dev/null; then break; fi
  sleep 0.1
done
if [[ -z "$port" ]]; then
  echo "demo: tavrel-server did not start:" >&2
  cat "$run_dir/server.err" >&2
  exit 1
fi
echo "demo: tavrel-server with three bots on 127.0.0.1:$port (log: $run_dir/server.log)"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "demo: no display found; the client runs offscreen"
  export QT_QPA_PLATFORM=offscreen
fi

lobby="$bin/tavrel-lobby"
client="$bin/tavrelmj"
if [[ -x "$lobby" ]] && "$lobby" --help 2>&1 | grep -q -- '--server-port'; then
  echo "demo: starting the lobby as '$user'; it starts the table client"
  "$lobby" --server-host 127.0.0.1 --server-port "$port" --user "$user" --props 1 &
  pids+=("$!")
  wait "$!" || true
elif [[ -x "$client" ]]; then
  # The lobby's command line: 15 fields, each ending with "$": user, key, host, port,
  # location, connection type 0 (direct), proxy host, port, user, password, mode switch,
  # lobby caption, main caption, props switch 1, plug-in number 0.
  line="$user\$demo\$127.0.0.1\$$port\$本地\$0\$\$0\$\$\$\$\$\$1\$0\$"
  echo "demo: starting the table client as '$user' (no lobby stand-in yet)"
  "$client" "$line" &
  pids+=("$!")
  wait "$!" || true
else
  echo "demo: the table client is not built yet ($client is missing)."
  echo "demo: the server keeps running on 127.0.0.1:$port; press Ctrl-C to stop it."
  wait "${pids[0]}" || true
fi
