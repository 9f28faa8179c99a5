#!/usr/bin/env bash
# Builds two installers from the test build, the project's version and a newer
# one, and runs the installer test program (argument 1) on them under Wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/lib/bench.sh"
[ -f "$SUITE_BUILD/bench.env" ] && . "$SUITE_BUILD/bench.env"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
package() { "$root/tools/package" --test-build --no-build --allow-dirty --out "$out" "$@" | grep '\.msi$'; }
older=$(package)
version="${older##*-}"
version="${version%.msi}"
newer=$(package --as-version "${version%.*}.$((${version##*.} + 1))")

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
PACKAGE_OLDER=$(windows_path "$older")
PACKAGE_NEWER=$(windows_path "$newer")
export PACKAGE_OLDER PACKAGE_NEWER
# Wine would copy the Start-menu shortcuts into this machine's own desktop menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
"$SUITE_WINE" "$1"  # not exec: the packages are removed afterwards
