#!/usr/bin/env bash
# The Debian package from a build configured for /usr: made with cpack, checked by lintian (its
# report printed), installed with apt-get, the installed sample book opened with --screenshot on
# the display the caller gives, and removed again, leaving none of its files behind.
#   scripts/test-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
(cd "$build" && rm -f bookshell_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/bookshell_*.deb)
echo "== package $(basename "$deb"): $(du -h "$deb" | cut -f1)"
echo "== lintian"
lintian --no-tag-display-limit "$deb" || true

if dpkg -s bookshell >/dev/null 2>&1; then
  echo "bookshell is installed already; the package test needs a machine without it" >&2
  exit 1
fi
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$deb" >/dev/null
mapfile -t files < <(dpkg -L bookshell | while read -r f; do [ -d "$f" ] || echo "$f"; done)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
status=0
if ! XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    timeout 120 /usr/bin/bookshell --screenshot "$home/sample.png" 2>"$home/errors"; then
  echo "!! the installed program did not open its sample book:" >&2
  cat "$home/errors" >&2
  status=1
fi
[ -s "$home/sample.png" ] || { echo "!! no screenshot of the installed sample book" >&2; status=1; }
[ ! -s "$home/errors" ] || { echo "!! the installed program said:" >&2; cat "$home/errors" >&2; status=1; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove --purge -y bookshell >/dev/null
for f in "${files[@]}"; do
  if [ -e "$f" ] || [ -L "$f" ]; then echo "!! left behind: $f" >&2; status=1; fi
done
[ $status -eq 0 ] && echo "== the package installed, opened its sample book and went without a trace (${#files[@]} files)"
exit $status
