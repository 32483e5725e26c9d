# Checks on what the launcher leaves in a player's folder, shared by the test
# of the installed tree (install_test.sh) and of the installed package
# (installed_game.sh). Sourced.

# A launcher held before it runs: the test starts it as
#   sh -c 'kill -STOP $$; exec "$@"' sh LAUNCHER &
# which keeps its pid through both execs, so every temporary name a launcher
# could derive from its pid is known before it writes anything.
wait_stopped() {  # wait_stopped PID: until the process has stopped itself (5 s at most)
  for _ in $(seq 1 100); do
    case $(ps -o stat= -p "$1") in T*) return 0 ;; esac
    sleep 0.05
  done
  return 1
}

# The folder holds one whole copy of the installed pages and music (never
# text/text) and no launcher's temporary.
whole_copy() {  # whole_copy PLAYER_FOLDER DATA_DIR
  diff -r "$2/text" "$1/text" >/dev/null && diff -r "$2/sound" "$1/sound" >/dev/null \
    && [ -z "$(find "$1" -name '.update.*' -o -name '.seed.*')" ]
}

# A story flag as shipped, in a regular file of its own (not through a link).
shipped_flag() {  # shipped_flag FILE
  [ -f "$1" ] && [ ! -L "$1" ] && [ "$(od -An -c "$1" | tr -d ' ')" = '0\r\n' ]
}

# The search path systemd gives a session's programs; it has no /usr/games.
systemd_default_path=$(systemd-path search-binaries-default 2>/dev/null \
  || echo /usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)

# Runs COMMAND... until it succeeds, for up to 10 s.
eventually() {  # eventually COMMAND...
  for _ in $(seq 1 100); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
