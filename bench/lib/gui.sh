# Sourced by the benches that drive ecu-console on a private X server: the
# build to run, a scratch folder, Xvfb, and the CPU and window helpers.
# The caller sets `sim` and `console` to the pids it starts; they are
# stopped on exit along with the X server.
seconds="${SECONDS_PER_RUN:-10}"
bin="${BUILD_DIR:-build}/src/app"
[ -x "$bin/ecu-console" ] || scripts/build >/dev/null
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work"
display=":$((50 + RANDOM % 40))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sim=""
console=""
cleanup() {
  # A console that has already gone must not leave the sim and the server
  # running: under set -e a failed kill would end the clean-up.
  [ -n "$console" ] && kill "$console" 2>/dev/null || true
  [ -n "$sim" ] && kill "$sim" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
# A loaded machine may take more than a second to bring the server up.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {  # pid -> percent of one core over $seconds
  local hz t0 t1
  hz=$(getconf CLK_TCK)
  t0=$(cpu_ticks "$1"); sleep "$seconds"; t1=$(cpu_ticks "$1")
  awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "%.2f", 100 * (b - a) / hz / s }'
}
find_window() {  # title [key to press between tries] -> window id
  local window=""
  for _ in $(seq 50); do
    window=$(timeout 1 xdotool search --name "$1" 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    [ -n "${2:-}" ] && { xdotool key "$2" 2>/dev/null || true; }
    sleep 0.2
  done
  echo "$window"
}
start_sim() {  # [sim options] the paced virtual ECU with its traffic log, named in port.cfg
  "$bin/ecu-sim" --link "$work/ecu" --log "$work/sim.log" "$@" >/dev/null &
  sim=$!
  for _ in $(seq 50); do [ -e "$work/ecu" ] && break; sleep 0.1; done
  printf '%s\n' "$work/ecu" >"$work/port.cfg"
}
open_plotter() {  # interval-menu key -> sets console and plotter
  export ECU_CONSOLE_CONFIG_DIR="$work"
  local program main
  program=$(realpath "$bin/ecu-console")  # BUILD_DIR may be relative
  (cd "$work" && exec "$program") &
  console=$!
  main=$(find_window "ECU System Console")
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  # View > Plotter, then the Logging Interval entry.
  xdotool key alt+v; sleep 0.3; xdotool key p; sleep 1.5
  plotter=$(find_window "DATA PLOTTER")
  [ -n "$plotter" ] || { echo "the plotter did not open" >&2; exit 1; }
  xdotool windowfocus --sync "$plotter"
  xdotool key alt+l; sleep 0.3; xdotool key "$1"; sleep 0.5
}
