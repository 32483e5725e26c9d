#!/usr/bin/env bash
# The real game on a machine that lacks things: no display at all, a display
# that is named but cannot be opened, too low limits (ulimit -n, -v), no
# sound server (with the real music), one that goes away, GStreamer without
# its playback plugin or without any plugin, too little address space or
# too few descriptors left for the music, a corrupt music file, a corrupt or
# huge cursor file, a session bus that takes connections but never answers
# (a socket nobody serves, a stopped bus daemon, a stopped accessibility bus
# launcher), and the X server going away under the story. Each time the game
# either says what is missing and ends with status 1, or goes on and still
# ends with status 0 on SIGTERM.
# Usage: machine_conditions.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

# ------------------------------------------------------------ no display
lane_dir="$work/nodisplay"
mkdir -p "$lane_dir"
# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
lay_out_game

results="$work/results"
: >"$results"
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then echo "PASS: $name" >>"$results"; else echo "FAIL: $name" >>"$results"; fi
}

no_display() {  # no_display LABEL ENV-ARGS...
  local label=$1 status lines
  shift
  status=$(cd "$lane_dir/game" && env "$@" ./tessaranium >"$lane_dir/out.log" 2>&1; echo $?)
  lines=$(grep -c '^tessaranium:' "$lane_dir/out.log")
  check "$label: the game says so in one line and ends with status 1 (status $status)" \
    test "$status" = 1 -a "$lines" = 1
  check "$label: the line names the missing display" grep -q '^tessaranium: no display' "$lane_dir/out.log"
  sed 's/^/    game: /' "$lane_dir/out.log" >>"$results"
}

# A display number nobody serves.
free_display=99
while [ -e "/tmp/.X11-unix/X$free_display" ] || [ -e "/tmp/.X$free_display-lock" ]; do
  free_display=$((free_display + 1))
done
no_display "DISPLAY unset" -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
no_display "DISPLAY=:$free_display with no X server there" -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$free_display"
no_display "the X platform asked for with no DISPLAY" -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb

# Limits below what the game needs: one line saying what it needs, status 1,
# before any window (the display named here does not even exist).
too_low() {  # too_low LABEL ULIMIT-OPTION VALUE EXPECTED-LINE
  local status
  status=$(cd "$lane_dir/game" && ulimit "$2" "$3" && DISPLAY=":$free_display" ./tessaranium >"$lane_dir/out.log" 2>&1; echo $?)
  check "$1: the game says what it needs in one line and ends with status 1 (status $status)" \
    test "$status" = 1 -a "$(grep -c '' "$lane_dir/out.log")" = 1
  check "$1: the line names the limit" grep -qF "$4" "$lane_dir/out.log"
  sed 's/^/    game: /' "$lane_dir/out.log" >>"$results"
}
too_low "ulimit -n 25" -n 25 "tessaranium: the game needs 64 open files, and this session allows 25 (ulimit -n)"
# AddressSanitizer's shadow memory alone is larger than any such limit.
sanitized=${TESS_SANITIZED:-}
if [ -z "$sanitized" ]; then
  too_low "ulimit -v 200000" -v 200000 "tessaranium: the game needs 256 MB of address space, and this session allows 195 MB (ulimit -v)"
else
  echo "SKIP: ulimit -v under AddressSanitizer" >>"$results"
fi

# ------------------------------------------------------------ on a display
# Each lane prepares the game folder its own way, brings the game to a
# screen and ends it with SIGTERM.
# A check of a lane: PASS or FAIL with its name, and the game's output when
# it fails.
lane_check() {  # lane_check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    echo "PASS: $name"
  else
    echo "FAIL: $name"
    sed 's/^/    game: /' "$lane_dir/game.log"
  fi
}

run_lane() {  # run_lane NAME SCREEN PREPARATION [MUSIC-LINE] [SILENT-BUS]
  lane_dir="$work/$1"
  mkdir -p "$lane_dir"
  . "$here/../lib/real_game.sh"
  trap 'lane_cleanup; stop_bus' EXIT
  start_xvfb
  lay_out_game
  eval "$3"
  start_game
  run_as=
  if ! reach_screen "$2" >/dev/null; then
    echo "FAIL: $1: the game reaches the $2 screen"
    sed 's/^/    game: /' "$lane_dir/game.log"
    return
  fi
  sleep 1  # music and cursor have had their chance to fail
  if ! kill -0 "$game_pid" 2>/dev/null; then
    echo "FAIL: $1: the game is still running on the $2 screen"
    sed 's/^/    game: /' "$lane_dir/game.log"
    return
  fi
  case $1 in
    no-playback-plugin | no-plugins | small-address-space)
      # Checked before Qt makes a player: silence and one line, no crash.
      lane_check "$1: the game plays in silence after one line saying why" \
        test "$(grep -c '^tessaranium: music:' "$lane_dir/game.log")" = 1 \
        -a "$(grep -cF "tessaranium: music: the game plays without sound: $4" "$lane_dir/game.log")" = 1 ;;
    few-descriptors)
      lane_check "$1: past four tracks, one line says too few descriptors are left" \
        test "$(grep -c 'too few file descriptors are left' "$lane_dir/game.log")" = 1 ;;
    silent-bus | stopped-bus | stopped-accessibility-launcher)
      lane_check "$1: the window came, after one line that the bus does not answer" \
        test "$(grep -c "^tessaranium: $5 (.*) does not answer; the game starts without the session bus" \
                "$lane_dir/game.log")" = 1 ;;
  esac
  if [ "$1" = no-sound-server ]; then
    # GStreamer's automatic output must not fall through to JACK, whose
    # library has crashed the game on machines like this one.
    if grep -q libjack "/proc/$game_pid/maps"; then
      echo "FAIL: $1: the game loaded the JACK library"
    else
      echo "PASS: $1: the music never loads the JACK library"
    fi
    # Every track fails to reach the server: still one line says so.
    local told
    told=$(grep -ci 'sound server\|pa_context_connect\|Failed to connect' "$lane_dir/game.log")
    if [ "$told" = 1 ] && grep -q '^tessaranium: music: no sound server' "$lane_dir/game.log"; then
      echo "PASS: $1: one line says there is no sound server"
    else
      echo "FAIL: $1: $told lines about the sound server"
      sed 's/^/    game: /' "$lane_dir/game.log"
    fi
  fi
  stop_patiently  # whether SIGTERM ends it, not how fast: a sanitized game on a busy machine is slow
  if [ "$exit_status" = 0 ]; then
    echo "PASS: $1: the game runs on and SIGTERM ends it with status 0"
  else
    echo "FAIL: $1: exit status $exit_status"
  fi
  grep '^tessaranium:' "$lane_dir/game.log" | sort | uniq -c | sed 's/^/    game says: /'
}

# A bus that takes connections and never answers: a socket nobody serves
# (a Python listener that only accepts), or a real bus daemon, stopped.
bus_pids=
silent_bus() {
  # Each connection it takes is marked in bus.asked.
  /usr/bin/python3 -c 'import socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen(64)
held = []
while True:
    held.append(s.accept())
    open(sys.argv[1] + ".asked", "a").close()' "$lane_dir/bus" &
  bus_pids=$!
  for _ in $(seq 1 50); do [ -S "$lane_dir/bus" ] && break; sleep 0.1; done
  run_as="env DBUS_SESSION_BUS_ADDRESS=unix:path=$lane_dir/bus"
}
session_bus() {
  dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$lane_dir/bus.address" 4>"$lane_dir/bus.pid"
  bus_pids=$(cat "$lane_dir/bus.pid")
  run_as="env DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$lane_dir/bus.address")"
}
stopped_bus() {
  session_bus
  kill -STOP "$bus_pids"
}
# A healthy session bus whose accessibility bus launcher (at-spi2-core's,
# which screen readers use) has stopped once it took its name.
stopped_accessibility_launcher() {
  local launcher
  session_bus
  mkdir -p "$lane_dir/runtime"
  chmod 700 "$lane_dir/runtime"
  XDG_RUNTIME_DIR="$lane_dir/runtime" DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$lane_dir/bus.address") \
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$lane_dir/launcher.log" 2>&1 &
  launcher=$!
  bus_pids="$bus_pids $launcher"
  for _ in $(seq 1 50); do
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$lane_dir/bus.address") dbus-send --session --print-reply \
      --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null \
      | grep -q 'boolean true' && break
    sleep 0.1
  done
  bus_pids="$bus_pids $(pgrep -P "$launcher")"
  kill -STOP "$launcher"
}
stop_bus() {
  local socket
  # shellcheck disable=SC2086
  [ -n "$bus_pids" ] && kill -9 $bus_pids 2>/dev/null
  bus_pids=
  # The daemon's socket outlives it.
  socket=$(sed -n 's/^unix:path=\([^,]*\).*/\1/p' "$lane_dir/bus.address" 2>/dev/null)
  [ -n "$socket" ] && rm -f "$socket"
}

# GStreamer with its own plugin folder: every installed plugin but those
# named, or none; its registry in the lane.
plugins_without() {  # plugins_without PATTERN
  local plugin
  mkdir -p "$lane_dir/plugins"
  for plugin in "$(dirname "$(ls /usr/lib/*/gstreamer-1.0/libgstcoreelements.so | head -n 1)")"/*.so; do
    case ${plugin##*/} in $1) ;; *) ln -s "$plugin" "$lane_dir/plugins/" ;; esac
  done
  run_as="env GST_PLUGIN_SYSTEM_PATH=$lane_dir/plugins GST_REGISTRY=$lane_dir/registry.bin"
}

# The game is given COUNT open descriptors of the test's.
hold_descriptors() {  # hold_descriptors COUNT
  local fd
  for fd in $(seq 40 $((39 + $1))); do eval "exec $fd</dev/null"; done
}

with_music="cp $source_dir/sound/*.mp3 \"\$lane_dir/game/sound/\""
lanes=(
  "no-sound-server|menu|$with_music"
  "corrupt-music|splash|head -c 65536 /dev/urandom >\"\$lane_dir/game/sound/into.mp3\"; cp \"\$lane_dir/game/sound/into.mp3\" \"\$lane_dir/game/sound/menu.mp3\""
  "corrupt-cursor|menu|head -c 4286 /dev/urandom >\"\$lane_dir/game/cursor/cur.cgf\""
  "huge-cursor|menu|head -c 22 $source_dir/cursor/cur.cgf >\"\$lane_dir/game/cursor/cur.cgf\"; truncate -s 50M \"\$lane_dir/game/cursor/cur.cgf\""
  "no-playback-plugin|menu|$with_music; plugins_without libgstplayback.so|GStreamer lacks uridecodebin, decodebin (from gstreamer1.0-plugins-base)"
  "no-plugins|menu|$with_music; plugins_without '*'|GStreamer lacks queue, input-selector"
  "few-descriptors|story|$with_music; hold_descriptors 30; run_as='prlimit --nofile=64 --'"
  "silent-bus|splash|silent_bus||the session bus"
  "stopped-bus|splash|stopped_bus||the session bus"
  "stopped-accessibility-launcher|splash|stopped_accessibility_launcher||the accessibility bus launcher on the session bus"
)
[ -z "$sanitized" ] && lanes+=(
  "small-address-space|menu|$with_music; run_as='prlimit --as=734003200 --'|the music needs 1 GB of address space, and this session allows 700 MB (ulimit -v)")

# The X server goes away under the story: the game says so in its own words
# and closes as at the end of a session, resetting the flags.
display_gone_lane() {
  lane_dir="$work/display-gone"
  mkdir -p "$lane_dir"
  . "$here/../lib/real_game.sh"
  trap lane_cleanup EXIT
  start_xvfb
  lay_out_game
  start_game
  reach_screen story >/dev/null || { echo "FAIL: display gone: the story opens"; return; }
  kill "$xvfb_pid"
  xvfb_pid=
  wait_exit 50
  lane_check "display gone: the game ends with status 0 ($exit_status), the flags reset as a session's end does ($(flag_word))" \
    test "$exit_status" = 0 -a "$(flag_word)" = 000
  lane_check "display gone: one line of the game's says so, none of Qt's" \
    test "$(grep -cxF 'tessaranium: the display is gone (the X server ended), and the game ends with it' "$lane_dir/game.log")" = 1 \
    -a "$(grep -c 'X11 connection broke' "$lane_dir/game.log")" = 0
}

# SIGTERM while the start-up still waits for a silent bus: the game ends at
# once, before any window.
bus_signal_lane() {
  lane_dir="$work/bus-signal"
  mkdir -p "$lane_dir"
  . "$here/../lib/real_game.sh"
  trap 'lane_cleanup; stop_bus' EXIT
  start_xvfb
  lay_out_game
  silent_bus
  start_game
  run_as=
  for _ in $(seq 1 100); do [ -e "$lane_dir/bus.asked" ] && break; sleep 0.05; done
  # At once: before the probe's two seconds would let the start-up go on.
  stop_within_ms=2000 stop_with TERM
  lane_check "SIGTERM while the start-up waits for a silent bus ends the game in ${gone_ms:-?} ms with status 0 ($exit_status)" \
    test -e "$lane_dir/bus.asked" -a "$exit_status" = 0 -a -z "$(windows_of_width "$(width_of splash)")"
}

# A sound server with a silent output goes away while the splash's music
# plays: every later track fails to reach it, and one line says so in all.
sound_server_gone_lane() {
  lane_dir="$work/sound-server-gone"
  mkdir -p "$lane_dir/runtime"
  chmod 700 "$lane_dir/runtime"
  . "$here/../lib/real_game.sh"
  local splash
  trap 'lane_cleanup; [ -n "${server:-}" ] && kill "$server" 2>/dev/null' EXIT
  start_xvfb
  lay_out_game
  cp "$source_dir"/sound/*.mp3 "$lane_dir/game/sound/"
  XDG_RUNTIME_DIR="$lane_dir/runtime" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=silent" --load=module-native-protocol-unix >"$lane_dir/server.log" 2>&1 &
  server=$!
  for _ in $(seq 1 100); do [ -S "$lane_dir/runtime/pulse/native" ] && break; sleep 0.1; done
  run_as="env XDG_RUNTIME_DIR=$lane_dir/runtime"
  start_game
  run_as=
  splash=$(reach_screen splash)
  lane_check "sound server gone: the splash's music plays to the server" \
    holds_open "$game_pid" "$lane_dir/game/sound/into.mp3"
  lane_check "sound server gone: which takes it without a word" \
    test "$(grep -c '^tessaranium: music:' "$lane_dir/game.log")" = 0
  kill "$server"
  wait "$server" 2>/dev/null
  server=
  reach_screen story "$splash" >/dev/null || { echo "FAIL: sound server gone: the story opens"; return; }
  sleep 1
  lane_check "sound server gone: four tracks later, one line says there is no sound server" \
    test "$(grep -c '^tessaranium: music:' "$lane_dir/game.log")" = 1 \
    -a "$(grep -c '^tessaranium: music: no sound server, the game plays without sound$' "$lane_dir/game.log")" = 1
  stop_patiently
  lane_check "sound server gone: SIGTERM ends the game with status 0 ($exit_status)" test "$exit_status" = 0
}

# Four lanes at a time, each with its own X server and game.
batch=0
for lane in "${lanes[@]}"; do
  IFS='|' read -r name screen preparation line bus <<<"$lane"
  run_lane "$name" "$screen" "$preparation" "$line" "$bus" >"$work/$name.out" 2>&1 &
  batch=$((batch + 1))
  [ $((batch % 4)) = 0 ] && wait
done
display_gone_lane >"$work/display-gone.out" 2>&1 &
bus_signal_lane >"$work/bus-signal.out" 2>&1 &
alone=3
if command -v pulseaudio >/dev/null; then
  sound_server_gone_lane >"$work/sound-server-gone.out" 2>&1 &
  alone=7
else
  echo "SKIP: a sound server that goes away (pulseaudio is not installed; tools/install-deps.sh installs it)" \
    >"$work/sound-server-gone.out"
fi
wait
for lane in "${lanes[@]}"; do cat "$work/${lane%%|*}.out" >>"$results"; done
cat "$work/display-gone.out" "$work/bus-signal.out" "$work/sound-server-gone.out" >>"$results"

cat "$results"
passed=$(grep -c '^PASS' "$results")
failed=$(grep -c '^FAIL' "$results")
echo "$passed passed, $failed failed"
# 10 without a display or with too low limits, 1 for each lane, 2 more on
# the sound server's, 1 more on each of the music, descriptor and bus lanes,
# and those of the lanes alone; under the sanitizers no address-space case.
if [ -z "$sanitized" ]; then expected=$((10 + ${#lanes[@]} + 2 + 4 + 3 + alone)); else expected=$((8 + ${#lanes[@]} + 2 + 3 + 3 + alone)); fi
[ "$failed" -eq 0 ] && [ "$passed" -eq "$expected" ]
