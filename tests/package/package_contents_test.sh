#!/usr/bin/env bash
# What the shipped packages hold, read without Windows: the installer and the
# zip carry every file of build/dist and nothing else, the installer's version
# is the binaries' own, and tools/package refuses a tree with uncommitted changes.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/lib/arch.sh"
dist="$SUITE_DIST_BUILD/dist"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passes=0 failures=0
check() {  # <description> <command...>: the command must succeed
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
        passes=$((passes + 1))
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}
same() { [ "$1" = "$2" ] || { printf 'expected: %s\n     got: %s\n' "$2" "$1"; return 1; }; }

"$root/tools/package" --no-build --allow-dirty --out "$work/pkg" >/dev/null || { echo "FAILED: tools/package"; exit 1; }
msi=$(ls "$work"/pkg/*.msi)
zip=$(ls "$work"/pkg/*.zip)
# awk tells the tables apart by their file names.
table() { msiinfo export "$msi" "$1" | tail -n +4 | tr -d '\r' > "$work/$1"; echo "$work/$1"; }
installed_files() {
    awk -F'\t' '
        FILENAME ~ /Directory$/ { parent[$1] = $2; name[$1] = $3; next }
        FILENAME ~ /Component$/ { folder[$1] = $3; next }
        {
            path = $3; d = folder[$2]
            while (d != "INSTALLDIR" && d != "") { path = name[d] "/" path; d = parent[d] }
            if (d == "") path = "(outside the program folder) " path
            print path
        }' "$(table Directory)" "$(table Component)" "$(table File)" | LC_ALL=C sort
}
property() { awk -F'\t' -v name="$1" '$1 == name { print $2 }' "$(table Property)"; }
shipped=$(cd "$dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)

check "the installer holds every file of build/dist and nothing else" same "$(installed_files)" "$shipped"
# Whatever only the tests use (doubles, test programs) must not ship.
test_only=$(comm -23 <(find "$SUITE_BUILD/testbin" -type f -printf '%f\n' | LC_ALL=C sort -u) \
                     <(find "$dist" -type f -printf '%f\n' | LC_ALL=C sort -u))
check "the installer holds no test double" \
    same "$(awk -F'\t' '{ print $3 }' "$(table File)" | grep -Fxf <(echo "$test_only"))" ""
unzip -q "$zip" -d "$work/zip"
top=$(basename "$zip" .zip)
check "the zip unpacks into $top, which is build/dist" diff -r "$work/zip/$top" "$dist"

# The version resources' string table, read independently of tools/package.
string_version() { i686-w64-mingw32-strings -el "$1" | grep -A1 -x ProductVersion | tail -n 1; }
version=$(property ProductVersion)
check "ProductVersion $version is testdeck.exe's" same "$(string_version "$dist/testdeck.exe")" "$version"
while IFS= read -r -d '' binary; do
    check "${binary#"$dist/"} carries version $version" same "$(string_version "$binary")" "$version"
done < <(find "$dist" -type f \( -name '*.exe' -o -name '*.dll' \) -print0)
# This machine may run only the 64-bit test build, so the build itself proves
# what it can of the 32-bit folder: every binary is 32-bit, and the test module's
# entry is exported undecorated, as the launcher looks it up by name.
while IFS= read -r -d '' binary; do
    check "${binary#"$dist/"} is a 32-bit binary" same \
        "$(i686-w64-mingw32-objdump -f "$binary" | sed -n 's/.*file format //p')" "pei-i386"
done < <(find "$dist" -type f \( -name '*.exe' -o -name '*.dll' \) -print0)
exports() { i686-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && NR > 1 { print $NF }'; }
check "video.dll exports StartTest alone, undecorated" same "$(exports "$dist/video.dll")" "StartTest"
check "the package names carry the version" same "$(basename "$msi") $(basename "$zip")" \
    "OrlixHardwareDiagnostics-$version.msi OrlixHardwareDiagnostics-$version.zip"

# Per machine, 32-bit, under the maker's and the product's names; the upgrade
# code must never change, or a newer version would install beside an older one.
check "installs per machine" same "$(property ALLUSERS)" "1"
check "Programs and Features names the product and its maker" same \
    "$(property ProductName) / $(property Manufacturer)" "Orlix Hardware Diagnostics / Quenby Corporation"
check "is a 32-bit package" same "$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')" "Intel;1033"
check "the upgrade code is the suite's" same "$(property UpgradeCode)" "{31A8A74E-2887-4591-B131-932EAF47888A}"
check "installs into Program Files\\Quenby Corporation\\Orlix Hardware Diagnostics" same \
    "$(awk -F'\t' '{ print $1 "<" $2 "=" $3 }' "$(table Directory)" | grep -E '^(INSTALLDIR|MakerFolder)<' | sort)" \
    "$(printf '%s\n' 'INSTALLDIR<MakerFolder=Orlix Hardware Diagnostics' 'MakerFolder<ProgramFilesFolder=Quenby Corporation')"
expected_shortcuts="Quick Check	[INSTALLDIR]testdeck.exe	/quick"
[ -f "$dist/discprobe.exe" ] && expected_shortcuts+=$'\n'"Optical Media Check	[INSTALLDIR]discprobe.exe	"
check "Start-menu shortcuts for the programs of build/dist" same \
    "$(awk -F'\t' '{ print $3 "\t" $5 "\t" $6 }' "$(table Shortcut)" | sort)" "$(sort <<<"$expected_shortcuts")"
check "the shortcuts' folder is in the Start menu's programs" same \
    "$(awk -F'\t' '$1 == "MenuFolder" { print $2 "=" $3 }' "$(table Directory)")" \
    "ProgramMenuFolder=Orlix Hardware Diagnostics"

# Each version is its own product of the one upgrade family.
"$root/tools/package" --no-build --allow-dirty --as-version 99.0.0 --out "$work/next" >/dev/null
next="$work/next/OrlixHardwareDiagnostics-99.0.0.msi"
other_property() { msiinfo export "$next" Property | tr -d '\r' | awk -F'\t' -v name="$1" '$1 == name { print $2 }'; }
check "a newer version has its own product code" test "$(other_property ProductCode)" != "$(property ProductCode)"
check "a newer version keeps the upgrade code" same "$(other_property UpgradeCode)" "$(property UpgradeCode)"

# tools/package in a git checkout of its own, packaging the same build.
repo="$work/repo"
mkdir -p "$repo"
cp -r "$root/tools" "$root/packaging" "$repo/"
git -C "$repo" init -q && git -C "$repo" add . &&
    git -C "$repo" -c user.name=test -c user.email=test@localhost commit -q -m tree
package_in_repo() { SUITE_BUILD_ROOT="$SUITE_DIST_BUILD" "$repo/tools/package" --no-build --out "$work/repo-pkg" "$@" \
                        >/dev/null 2>&1; }
refused() { ! package_in_repo "$@"; }
check "a clean tree is packaged" package_in_repo
echo "# changed" >> "$repo/packaging/harvest"
check "a changed file is refused" refused
check "--allow-dirty packages a changed tree" package_in_repo --allow-dirty
git -C "$repo" checkout -q -- packaging/harvest
touch "$repo/packaging/new-file"
check "an untracked file is refused" refused

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
