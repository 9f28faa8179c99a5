#!/usr/bin/env bash
# Reads the result files that the launcher end-to-end test kept (a failed run
# and a second one into the same file; a launcher killed mid-run and the run
# after it) with parsers that have nothing to do with Wine: each must be one
# well-formed document holding the records written before.
set -euo pipefail
check() {  # <file> <expected "name result sub-results..." of each Test, one per line>
    local file="$1/$2" tests
    xmllint --noout "$file"
    tests=$(python3 -c 'import sys, xml.etree.ElementTree as t
for e in t.parse(sys.argv[1]).getroot().findall("Test"):
    print(e.get("name"), e.get("OverallResult"), *[s.get("Result") for s in e.findall("SubTest")])' "$file")
    [ "$tests" = "$3" ] || { printf '%s: Test records\n%s\nexpected\n%s\n' "$2" "$tests" "$3" >&2; exit 1; }
    echo "$2: well-formed, $(echo "$tests" | wc -l) Test record(s)"
}
check "$1" second_run_result.xml $'Scripted Fail\nScripted Fail Fail'
# The module under way when the launcher was killed: its sub-results in a failed record.
check "$1" killed_result.xml $'First Pass Pass\nScripted Fail Pass Fail'
check "$1" after_killed_result.xml $'First Pass Pass\nScripted Fail Pass Fail\nScripted Pass'
