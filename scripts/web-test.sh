#!/usr/bin/env bash
# Builds the web page and drives it in headless Chromium (puppeteer-core from tests/web).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build-web.sh"
cd "$root/tests/web"
[ -d node_modules/puppeteer-core ] || npm ci --no-audit --no-fund
node web_test.mjs "$root/build-web/web" "$root/build-web/native/generated"
node app_test.mjs "$root/build-web/web" "$root/build-web/native/generated"
