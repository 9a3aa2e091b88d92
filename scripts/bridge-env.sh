# Sourced by the scripts and tests that run the program through zevbridge.
#   zev_bridge_start <zevbridge> <log> [options...]  starts it with a fresh random 128-bit token (in
#       the environment only, never on a command line) on the port its options name (--port 0: any
#       free one), waits at most 10 s for its "listening" line, and exports ZEV_BRIDGE,
#       ZEV_BRIDGE_TOKEN and ZEV_BRIDGE_PID. Its standard error goes to <log>, standard output to
#       <log>.out, standard input from /dev/null. On failure it says what it waited for and what it
#       saw, and returns 1.
#   zev_bridge_restart <zevbridge> <log> [options...]  the same with the token it had (for a bridge
#       that comes back on the same port and token).
#   zev_bridge_stop   ends it (SIGTERM, then SIGKILL after 5 s) and waits for it.
zev_bridge_start() {
  ZEV_BRIDGE_TOKEN=$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')
  zev_bridge_restart "$@"
}
zev_bridge_restart() {
  local exe=$1 log=$2 line=
  shift 2
  export ZEV_BRIDGE_TOKEN
  : >"$log.out"
  "$exe" "$@" >"$log.out" 2>>"$log" </dev/null &
  ZEV_BRIDGE_PID=$!
  for _ in $(seq 100); do
    line=$(grep -m1 '^zevbridge: listening on ' "$log.out" 2>/dev/null) && break
    kill -0 "$ZEV_BRIDGE_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$line" ]; then
    echo "zevbridge did not print its listening line within 10 s; it printed:" >&2
    cat "$log.out" "$log" >&2
    zev_bridge_stop
    return 1
  fi
  export ZEV_BRIDGE=${line#zevbridge: listening on } ZEV_BRIDGE_PID
}
zev_bridge_stop() {
  [ -n "${ZEV_BRIDGE_PID:-}" ] || return 0
  kill "$ZEV_BRIDGE_PID" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$ZEV_BRIDGE_PID" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$ZEV_BRIDGE_PID" 2>/dev/null
  wait "$ZEV_BRIDGE_PID" 2>/dev/null
  ZEV_BRIDGE_PID=
}
