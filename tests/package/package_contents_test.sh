#!/usr/bin/env bash
# What the shipped packages hold, read without Windows: the installer and the
# zip carry every file of build/dist and nothing else, the installer's version
# is the binaries' own, and tools/package refuses a tree with uncommitted changes.
# Where it installs and the upgrade family are proven by install_e2e_test.sh.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tools/lib/arch.sh"
dist="$SUITE_DIST_BUILD/dist"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # <description> <command...>: the command must succeed
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
same() { [ "$1" = "$2" ] || { printf 'expected: %s\n     got: %s\n' "$2" "$1"; return 1; }; }

"$root/tools/package" --no-build --allow-dirty --out "$work/pkg" >/dev/null || { echo "FAILED: tools/package"; exit 1; }
msi=$(ls "$work"/pkg/*.msi)
zip=$(ls "$work"/pkg/*.zip)
table() { msiinfo export "$msi" "$1" | tail -n +4 | tr -d '\r' > "$work/$1"; echo "$work/$1"; }
# Where each file lands is proven by installing (install_e2e_test.sh); here their names.
files=$(awk -F'\t' '{ print $3 }' "$(table File)" | LC_ALL=C sort)
check "the installer holds every file of build/dist and nothing else" \
    same "$files" "$(find "$dist" -type f -printf '%f\n' | LC_ALL=C sort)"
# Whatever only the tests use (doubles, test programs) must not ship.
test_only=$(comm -23 <(find "$SUITE_BUILD/testbin" -type f -printf '%f\n' | LC_ALL=C sort -u) \
                     <(find "$dist" -type f -printf '%f\n' | LC_ALL=C sort -u))
check "the installer holds no test double" same "$(grep -Fxf <(echo "$test_only") <<<"$files")" ""
unzip -q "$zip" -d "$work/zip"
check "the zip unpacks into $(basename "$zip" .zip), which is build/dist" diff -r "$work/zip/$(basename "$zip" .zip)" "$dist"

# Every language ships whole: each QDXLang folder holds every file name any of them holds.
language_files=$(find "$dist/QDXLang" -mindepth 2 -maxdepth 2 -type f -printf '%f\n' | LC_ALL=C sort -u)
for folder in "$dist"/QDXLang/*/; do
    check "QDXLang\\$(basename "$folder") holds every file of the other language folders" same \
        "$(comm -23 <(echo "$language_files") <(find "$folder" -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort))" ""
done

# The version resource's string table, read independently of tools/package.
version=$(awk -F'\t' '$1 == "ProductVersion" { print $2 }' "$(table Property)")
check "ProductVersion $version is testdeck.exe's" same \
    "$(i686-w64-mingw32-strings -el "$dist/testdeck.exe" | grep -A1 -x ProductVersion | tail -n 1)" "$version"
# This machine may run only the 64-bit test build, so the build itself proves
# what it can of the 32-bit folder: every binary is 32-bit, and the test module's
# entry is exported undecorated, as the launcher looks it up by name.
# The launcher runs elevated: every binary asks for a randomised base and no executable data.
hardened() { local flags; flags=$(i686-w64-mingw32-objdump -p "$1" | sed -n '/^DllCharacteristics/,/^SizeOf/p')
             grep -qw DYNAMIC_BASE <<<"$flags" && grep -qw NX_COMPAT <<<"$flags"; }
while IFS= read -r -d '' binary; do
    check "${binary#"$dist/"} is a 32-bit binary" same \
        "$(i686-w64-mingw32-objdump -f "$binary" | sed -n 's/.*file format //p')" "pei-i386"
    check "${binary#"$dist/"} has DYNAMIC_BASE and NX_COMPAT" hardened "$binary"
done < <(find "$dist" -type f \( -name '*.exe' -o -name '*.dll' \) -print0)
exports() { i686-w64-mingw32-objdump -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && NR > 1 { print $NF }'; }
check "video.dll exports StartTest alone, undecorated" same "$(exports "$dist/video.dll")" "StartTest"
imports() { i686-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'; }
check "video.dll takes ddraw.dll and d3d8.dll from the system folder, not at load time" \
    same "$(imports "$dist/video.dll" | grep -ix -e ddraw.dll -e d3d8.dll)" ""
expected_shortcuts="Quick Check	[INSTALLDIR]testdeck.exe	/quick"
[ -f "$dist/discprobe.exe" ] && expected_shortcuts+=$'\n'"Optical Media Check	[INSTALLDIR]discprobe.exe	"
check "Start-menu shortcuts for the programs of build/dist" same \
    "$(awk -F'\t' '{ print $3 "\t" $5 "\t" $6 }' "$(table Shortcut)" | sort)" "$(sort <<<"$expected_shortcuts")"

# The event source (root 2 = HKLM): its message file is the installed launcher;
# the row named "-" deletes the key when the product is uninstalled.
key='SYSTEM\CurrentControlSet\Services\EventLog\Application\Orlix Hardware Diagnostics'
check "the installer registers the event source and removes it on uninstall" same \
    "$(awk -F'\t' '$2 == 2 { print $2 "\t" $3 "\t" $4 "\t" $5 }' "$(table Registry)" | sort)" \
    "$(printf '2\t%s\t%s\t%s\n' "$key" - '' "$key" EventMessageFile '[INSTALLDIR]testdeck.exe' \
                                "$key" TypesSupported '#7' | sort)"
# Each shortcut's component has its key path under HKCU (root 1).
check "every shortcut's component has an HKCU value as its key path" same \
    "$(awk -F'\t' 'NR == FNR { root[$1] = $2; next } { print $1 "\t" root[$6] }' \
        "$(table Registry)" "$(table Component)" | grep -E '^(QuickCheck|OpticalChecker)Shortcut' | sort)" \
    "$(awk -F'\t' '{ print $4 "\t1" }' "$(table Shortcut)" | sort)"
# The result folder's levels are made with the launcher's descriptor.
sddl='D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)'
check "the installer makes the result folder's levels with the protected descriptor" same \
    "$(awk -F'\t' '{ print $2 "\t" $3 "\t" $4 }' "$(table MsiLockPermissionsEx)" | sort)" \
    "$(for d in DataMakerFolder DataProductFolder ResultFolder; do printf '%s\tCreateFolder\t%s\n' "$d" "$sddl"; done)"
check "the result folder's levels are CreateFolder rows under CommonAppDataFolder" same \
    "$(awk -F'\t' '{ print $1 }' "$(table CreateFolder)" | sort)" "$(printf '%s\n' DataMakerFolder DataProductFolder ResultFolder)"

# tools/package in a git checkout of its own, packaging the same build.
repo="$work/repo"
mkdir -p "$repo"
cp -r "$root/tools" "$root/packaging" "$repo/"
git -C "$repo" init -q && git -C "$repo" add . &&
    git -C "$repo" -c user.name=test -c user.email=test@localhost commit -q -m tree
package_in_repo() { SUITE_BUILD_ROOT="$SUITE_DIST_BUILD" "$repo/tools/package" --no-build --out "$work/repo-pkg" "$@" \
                        >/dev/null 2>&1; }
check "a clean tree is packaged" package_in_repo
echo "# changed" >> "$repo/packaging/harvest"
check "a changed tree is refused" eval '! package_in_repo'
check "--allow-dirty packages a changed tree" package_in_repo --allow-dirty

[ "$failures" -eq 0 ]
