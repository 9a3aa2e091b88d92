# Sourced by bench.sh and soak.sh after wine-env.sh: finds the Unix processes behind Windows
# programs of this Wine prefix and reads their CPU time and memory from /proc.

# Unix pid of the running process of this prefix whose command line names $1 (first one found).
zev_unix_pid() {
  local d
  for d in /proc/[0-9]*; do
    grep -qa -- "$1" "$d/cmdline" 2>/dev/null || continue
    tr '\0' '\n' <"$d/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    echo "${d#/proc/}"
    return 0
  done
  return 1
}

# CPU time of a process (all its threads) in clock ticks: user + system.
zev_cpu_ticks() {
  # The command name (field 2) may hold blanks: count fields after its closing parenthesis.
  sed 's/^.*) //' "/proc/$1/stat" 2>/dev/null | awk '{print $12 + $13}'
}

# Percent of one core that processes $2... used over $1 seconds.
zev_cpu_percent() {
  local seconds=$1 pid before=() after=() i total=0
  shift
  for pid in "$@"; do before+=("$(zev_cpu_ticks "$pid")"); done
  sleep "$seconds"
  for pid in "$@"; do after+=("$(zev_cpu_ticks "$pid")"); done
  for i in "${!before[@]}"; do total=$((total + ${after[$i]:-0} - ${before[$i]:-0})); done
  awk -v t="$total" -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

# Median of the numbers given.
zev_median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Live GDI objects of a process after its last allocation or freeing in a WINEDEBUG=+pid,+gdi
# trace: an allocation line shows the count after it, a freeing line the count before it.
zev_gdi_live() { # trace file, Windows pid
  grep -a "^$(printf '%04x' "$2"):" "$1" | grep -a '_gdi_handle' | tail -n 1 |
    awk '{ split($NF, n, "/"); print / freed / ? n[1] - 1 : n[1] }'
}

# Starts a Windows program through the measurer (zevmeasure start) and prints its line
# "pid <n> startup_ms <ms>". Output goes to files, never to a pipe of ours, and input comes from
# /dev/null: the started program inherits them and would hold a pipe open. Its standard error
# (Wine's traces) lands in the second file.
zev_start() { # measurer.exe, program (Windows path), output file, standard error file
  "$ZEV_WINE" "$1" start "$2" >"$3" 2>"$4" </dev/null || { tr -d '\r' <"$4" >&2; return 1; }
  tr -d '\r' <"$3" | head -n 1
}
