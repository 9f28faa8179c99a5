# Which Wine runs the tests. The suite ships 32-bit programs; where this
# machine's kernel cannot execute 32-bit code at all (no IA32 emulation, so the
# 32-bit Wine loader fails with "Exec format error") the tests run a 64-bit
# build of the same sources under the 64-bit Wine instead.

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    SUITE_ARCH=x86
    SUITE_WINE=/usr/lib/wine/wine
else
    SUITE_ARCH=x64
    SUITE_WINE=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
fi
SUITE_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# build/ always holds the shipped 32-bit program folder, build/dist. Another
# root (SUITE_BUILD_ROOT) lets several people build and test side by side.
SUITE_DIST_BUILD="${SUITE_BUILD_ROOT:-$SUITE_ROOT/build}"
if [ "$SUITE_ARCH" = x86 ]; then
    SUITE_BUILD="$SUITE_DIST_BUILD"
else
    SUITE_BUILD="$SUITE_DIST_BUILD/x64"
fi
export SUITE_ARCH SUITE_WINE SUITE_ROOT SUITE_BUILD SUITE_DIST_BUILD
