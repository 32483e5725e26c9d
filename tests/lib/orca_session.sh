# Debian's Orca, headless, for the tests that listen to what it speaks:
# sourced, not run, inside a private D-Bus session (dbus-run-session). Orca
# gets a private home and XDG folders, so its settings and speech-dispatcher
# are this test's own; speech goes through espeak-ng to ALSA's null device
# (speech-dispatcher's PulseAudio default stalls without a sound server).
# Needs: lane_dir (a private folder). What Orca spoke is read from the
# SPEECH OUTPUT lines of its debug log.

orca_pid=
orca_log=
speech_mark=0
here_orca_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

prepare_orca_home() {
  export HOME="$lane_dir/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_RUNTIME_DIR="$lane_dir/runtime"
  mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  # The services the session starts on demand (the accessibility bus, its
  # registry, dconf) take these folders too: the accessibility bus's socket
  # would otherwise be ~/.cache/at-spi/bus, which any other session of this
  # user started at the same time takes over and removes.
  dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR
  ln -sfn /etc/speech-dispatcher/modules "$XDG_CONFIG_HOME/speech-dispatcher/modules"
  cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
DefaultLanguage "ru"
Timeout 30
CONF
}

# Starts Orca and waits (up to 60 s: speech-dispatcher is slow to start on a
# busy machine) until it has spoken its first words and listens to the
# desktop's events.
start_orca() {
  orca_log="$lane_dir/reader.log"
  : >"$orca_log"
  /usr/bin/python3 "$here_orca_lib/reader_launch.py" "$orca_log" >"$lane_dir/reader.out" 2>&1 &
  orca_pid=$!
  for _ in $(seq 1 600); do
    if grep -q "SPEECH OUTPUT" "$orca_log" 2>/dev/null && grep -q "Starting ATSPI registry" "$orca_log"; then
      sleep 0.5  # the registry's loop starts right after it says so
      return 0
    fi
    kill -0 "$orca_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Orca hears a signal only once its event loop wakes: when nothing happens on
# the desktop any more it is killed after 5 s.
stop_orca() {
  local pidfile
  if [ -n "$orca_pid" ] && kill "$orca_pid" 2>/dev/null; then
    for _ in $(seq 1 50); do
      kill -0 "$orca_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$orca_pid" 2>/dev/null
    wait "$orca_pid" 2>/dev/null
  fi
  orca_pid=
  # The speech server Orca's speech started for this test alone.
  for pidfile in "$XDG_RUNTIME_DIR"/speech-dispatcher/pid/*.pid; do
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  done
}

# What Orca spoke since the last mark, one utterance a line (an utterance
# of several lines is joined by spaces): what it sends to the speech server
# (SPEECH OUTPUT) and what it reads out in a say-all (DEFAULT SAY ALL, one
# piece of the text at a time). In the log an utterance goes on over the
# indented lines after it and ends with its quote, then the voice it is
# spoken in or, in a say-all, where the piece lies in the text.
spoken_since_mark() {
  tail -n +"$((speech_mark + 1))" "$orca_log" | awk '
    function flush() {
      if (!inside) return
      if (!sub(/'"'"' \([0-9]+-[0-9]+, current: -?[0-9]+\) *$/, "", said))
        sub(/'"'"' *( voice=[A-Za-z_-]+)? *(\[?\{[^}]*\}\]?)? *$/, "", said)
      print said
      inside = 0
    }
    /^[^ ]/ { flush() }
    /SPEECH OUTPUT: '"'"'/ { inside = 1; said = $0; sub(/^.*SPEECH OUTPUT: '"'"'/, "", said); next }
    /DEFAULT SAY ALL: \[[^]]*\] '"'"'/ { inside = 1; said = $0; sub(/^.*DEFAULT SAY ALL: \[[^]]*\] '"'"'/, "", said); next }
    inside { line = $0; sub(/^ +/, "", line); said = said " " line }
    END { flush() }'
}

# Waits (up to 5 s) until Orca has said nothing new for $1 tenths of a second
# (6 by default): what a key press makes it say has all been said.
settle_speech() {
  local said quiet=0 last
  last=$(spoken_since_mark | wc -l)
  for _ in $(seq 1 50); do
    sleep 0.1
    said=$(spoken_since_mark | wc -l)
    if [ "$said" = "$last" ]; then
      quiet=$((quiet + 1))
      [ "$quiet" -ge "${1:-6}" ] && return 0
    else
      quiet=0
      last=$said
    fi
  done
}

mark_speech() {
  speech_mark=$(wc -l <"$orca_log")
}

# Waits (up to $wait_tenths tenths of a second, 10 s by default) until Orca
# has spoken a line holding TEXT since the last mark.
heard() {
  for _ in $(seq 1 "${wait_tenths:-100}"); do
    spoken_since_mark | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
