#!/usr/bin/env bash
# Fails with a clear message when a locale (default it_IT.UTF-8) is not installed, so that a
# test asking for Italian settings does not quietly run under C ones. scripts/setup.sh
# generates it_IT.UTF-8.   Usage: scripts/need_locale.sh [LOCALE]
set -euo pipefail
want=${1:-it_IT.UTF-8}
listed=$(echo "$want" | sed 's/\.UTF-\?8$/.utf8/I')
locale -a 2>/dev/null | grep -qixF "$listed" && exit 0
echo "the $want locale is not installed (locale -a lacks $listed): run scripts/setup.sh" >&2
exit 1
