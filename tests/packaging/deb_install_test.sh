#!/usr/bin/env bash
# The Debian package installs like any other program: it validates, starts and goes away.
set -euo pipefail
build=$1
work=$(mktemp -d)
cleanup() {
    if dpkg-query -W -f='${Status}' ripartino 2>/dev/null | grep -q 'ok installed'; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq ripartino >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing a package needs root"
    exit 0
fi

(cd "$work" && cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/ripartino_*.deb)
echo "built $(basename "$deb")"
dpkg-deb --field "$deb" Depends

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
test -x /usr/bin/ripartino
desktop-file-validate /usr/share/applications/org.ripartino.Ripartino.desktop
appstreamcli validate --no-net --pedantic /usr/share/metainfo/org.ripartino.Ripartino.metainfo.xml
test -f /usr/share/icons/hicolor/scalable/apps/ripartino.svg
for size in 16 32 48 64 128 256; do
    test -f "/usr/share/icons/hicolor/${size}x${size}/apps/ripartino.png"
done

# The installed program shows its start window on a real X server.
timeout 60 xvfb-run -a bash -c '/usr/bin/ripartino &
    for _ in $(seq 100); do
        xwininfo -root -tree | grep -q "\"Ripartino\"" && kill $! && exit 0
        sleep 0.1
    done
    exit 1' ||
    { echo "the installed program showed no window titled Ripartino"; exit 1; }
echo "installed, validated and started"
