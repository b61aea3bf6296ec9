#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are not installed yet.
# Runs apt-get only when something is missing, so a machine that has everything is not touched.
set -euo pipefail

missing=()
for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Another install may be running (CI, a second shell): wait for the package lock instead of failing.
lock=(-o DPkg::Lock::Timeout=900)
"${sudo[@]}" apt-get "${lock[@]}" update -qq
"${sudo[@]}" apt-get "${lock[@]}" install -y -qq --no-install-recommends "${missing[@]}"
