#!/bin/sh
# The web build's time from opening the page to the title, in headless Chromium on this
# machine: the page is opened N times (5 unless given) by the browser play test, which
# stops at the title; prints each time and the median. Needs build-web/ (scripts/web.sh).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
[ -f "$root/build-web/velmora.wasm" ] || { echo "no web build in $root/build-web: run scripts/web.sh first" >&2; exit 1; }
[ -d "$root/web/node_modules/puppeteer-core" ] || (cd "$root/web" && npm ci --no-audit --no-fund)
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
for _ in $(seq "$runs"); do
    node "$root/web/play_test.mjs" "$root/build-web" "$shots" --title-only |
        sed -n 's/^budget: page open to title \([0-9.]*\) s.*/\1/p'
done | sort -n | awk '{ t[NR] = $1; print "page open to title: " $1 " s" }
    END { if (NR == 0) exit 1; print "median of " NR ": " (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2) " s" }'
