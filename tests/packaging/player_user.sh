# A throwaway ordinary user who plays the installed game in the package
# test, as a player would: no root, no sudo. Created with its home in the
# test's folder and removed again, with the account files (and their "-"
# backups, which useradd and userdel rewrite) as they were before.
# Sourced; needs work, runs as root.

account_files=(/etc/passwd /etc/group /etc/shadow /etc/gshadow /etc/subuid /etc/subgid
               /etc/passwd- /etc/group- /etc/shadow- /etc/gshadow- /etc/subuid- /etc/subgid-)
player_name=
become_player=()

# Before anything is installed: packages the test installs and purges
# again may add and remove users of their own too.
record_accounts() {
  local file
  mkdir -p "$work/accounts"
  for file in "${account_files[@]}"; do
    if [ -e "$file" ]; then
      cp -p "$file" "$work/accounts/${file##*/}"
    fi
  done
}

create_player() {  # create_player HOME
  player_name=tess-player-$$
  become_player=(setpriv --reuid="$player_name" --regid="$player_name" --init-groups --)
  # No subordinate ids: the player runs no containers, and none are left behind.
  useradd --no-create-home --home-dir "$1" --shell /bin/sh --user-group \
    -K SUB_UID_COUNT=0 -K SUB_GID_COUNT=0 "$player_name" || return 1
  mkdir -p "$1"
  chown "$player_name:" "$1"
}

# Runs COMMAND... as the player; the caller gives it its environment (env -i).
# setpriv execs it, so "exec ${become_player[@]} ..." keeps the caller's pid.
as_user() {  # as_user COMMAND...
  "${become_player[@]}" "$@"
}

# Makes FOLDER... the player's own.
player_folders() {  # player_folders FOLDER...
  mkdir -p "$@"
  chown "$player_name:" "$@"
}

remove_player() {
  [ -n "$player_name" ] || return 0
  userdel "$player_name" >>"$work/userdel.log" 2>&1
  # userdel puts the accounts back; the backups it leaves behind name the
  # player, so they are put back as they were.
  local file saved
  for file in "${account_files[@]}"; do
    [[ $file == *- ]] || continue
    saved=$work/accounts/${file##*/}
    if [ -e "$saved" ]; then
      cmp -s "$saved" "$file" || cp -p "$saved" "$file"
    else
      rm -f "$file"
    fi
  done
  player_name=
}

# Prints the account files that differ from before (nothing when all match).
accounts_as_before() {
  local file status=0
  for file in "${account_files[@]}"; do
    if [ -e "$work/accounts/${file##*/}" ]; then
      cmp -s "$work/accounts/${file##*/}" "$file" || { echo "    $file changed"; status=1; }
    elif [ -e "$file" ]; then
      echo "    $file is new"; status=1
    fi
  done
  return $status
}
