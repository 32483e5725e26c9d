# The machine's packages before the package test and after it: every package
# the test installed (its tools, the game's dependencies, the game itself) is
# purged again, or only removed where its configuration files were there
# before, so dpkg ends where it began. Sourced; needs work and sudo.
apt_options=(-y -qq -o DPkg::Lock::Timeout=300)

# One line per package dpkg knows of, installed or with configuration left.
package_states() {
  dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev} ${Version}\n' 2>/dev/null \
    | awk '$2 != "un"' | sort
}

record_machine() {
  package_states >"$work/packages.before"
}

# Installs the packages given, noting nothing: the state before is on file.
install_packages() {  # install_packages PACKAGE_OR_DEB...
  "${sudo[@]}" apt-get install "${apt_options[@]}" "$@" >>"$work/apt.log" 2>&1 && return 0
  # A machine whose package lists are stale gets them fresh once.
  "${sudo[@]}" apt-get update -qq >>"$work/apt.log" 2>&1
  "${sudo[@]}" apt-get install "${apt_options[@]}" "$@" >>"$work/apt.log" 2>&1
}

restore_machine() {
  [ -f "$work/packages.before" ] || return 0
  local name purge=() remove=()
  for name in $(comm -13 <(awk '$2 == "ii" {print $1}' "$work/packages.before") \
                         <(package_states | awk '$2 == "ii" {print $1}')); do
    if grep -q "^$name rc " "$work/packages.before"; then
      remove+=("$name")
    else
      purge+=("$name")
    fi
  done
  if [ ${#purge[@]} -gt 0 ]; then
    "${sudo[@]}" apt-get purge "${apt_options[@]}" "${purge[@]}" >>"$work/restore.log" 2>&1
  fi
  if [ ${#remove[@]} -gt 0 ]; then
    "${sudo[@]}" apt-get remove "${apt_options[@]}" "${remove[@]}" >>"$work/restore.log" 2>&1
  fi
  restored=1
}

# Prints what differs from before (nothing when the machine is as it was).
machine_as_before() {
  diff "$work/packages.before" <(package_states) >"$work/packages.diff" && return 0
  sed 's/^/    /' "$work/packages.diff"
  return 1
}
