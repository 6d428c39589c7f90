#!/usr/bin/env bash
# Installs the Debian packages in scripts/packages.txt that are missing and generates the
# it_IT.UTF-8 locale the tests ask for; quick when everything is there.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
missing=()
for package in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Italian regional settings: the decimal comma the tests check on screen and on paper.
if ! locale -a 2>/dev/null | grep -qix 'it_IT\.utf-\?8'; then
    echo "Generating the it_IT.UTF-8 locale"
    "${as_root[@]}" sed -i 's/^# *\(it_IT\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^it_IT\.UTF-8 UTF-8' /etc/locale.gen ||
        echo 'it_IT.UTF-8 UTF-8' | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
    "${as_root[@]}" locale-gen >/dev/null
fi
