#!/usr/bin/env bash
# Reads the result files that the launcher end-to-end test kept after killing
# the launcher mid-run, with parsers that have nothing to do with Wine:
# each must be one well-formed document holding the records written before.
set -euo pipefail
folder="$1"
check() {  # <file> <expected Test names, one per line>
    local file="$folder/$1" expected="$2" names
    xmllint --noout "$file"
    names=$(python3 -c 'import sys, xml.etree.ElementTree as t
print("\n".join(e.get("name") for e in t.parse(sys.argv[1]).getroot().findall("Test")))' "$file")
    if [ "$names" != "$expected" ]; then
        printf '%s: Test names\n%s\nexpected\n%s\n' "$1" "$names" "$expected" >&2
        exit 1
    fi
    echo "$1: well-formed, $(echo "$names" | wc -l) Test record(s)"
}
check killed_result.xml "Part one"
check after_killed_result.xml "Part one
Scripted"
