#!/bin/sh
# Plays the web build (made by scripts/web.sh in build-web/) in headless Chromium: serves
# it on 127.0.0.1, drives the page through the DevTools protocol and prints the budgets.
# Screenshots of every step go to build-web-shots/ (or the folder given).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
site=$root/build-web
shots=${1:-$root/build-web-shots}
[ -f "$site/velmora.wasm" ] || { echo "no web build in $site: run scripts/web.sh first" >&2; exit 1; }
# puppeteer-core drives the system's chromium; it downloads no browser of its own.
[ -d "$root/web/node_modules/puppeteer-core" ] || (cd "$root/web" && npm ci --no-audit --no-fund)
exec node "$root/web/play_test.mjs" "$site" "$shots"
