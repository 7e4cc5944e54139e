# Shared by build-windows.sh and build-windows-gui.sh (sourced): timed stages written to $times,
# and installing missing Debian packages. Works as root and through sudo.
if [ "$(id -u)" -eq 0 ]; then sudo_cmd=(); else sudo_cmd=(sudo); fi

stage_start=0
stage() {
  stage_start=$(date +%s)
  stage_name=$1
  echo "== $stage_name"
}
stage_done() {
  local s=$(($(date +%s) - stage_start))
  printf '%-28s %4d s\n' "$stage_name" "$s" | tee -a "$times"
}

# Another user's apt may hold the lock: wait for it rather than fail.
apt_retry() {
  local i
  for i in $(seq 1 60); do
    if "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; then
      return 0
    fi
    echo "apt-get $1 failed (the lock may be held); retrying in 10 s" >&2
    sleep 10
  done
  return 1
}

install_missing() {  # install_missing PACKAGE...: installs those not installed yet
  local p missing=()
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_retry update
    apt_retry install -y --no-install-recommends "${missing[@]}"
  fi
}
