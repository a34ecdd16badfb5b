#!/usr/bin/env bash
# Serves the web page on this machine (building it first when it is not there yet) and prints
# its address. TOLVARO_WEB_PORT chooses the port (8080 by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
web="$root/build-web/web"
port=${TOLVARO_WEB_PORT:-8080}
if [ ! -f "$web/index.html" ] || [ ! -f "$web/tolvaro.wasm" ]; then
  "$root/scripts/build-web.sh"
fi
echo "Tolvaro: http://127.0.0.1:$port/"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web"
