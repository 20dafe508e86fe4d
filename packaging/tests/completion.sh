#!/usr/bin/env bash
# Runs the bash completion of morva-cli on command lines and checks its candidates.
# Usage: completion.sh COMPLETION-FILE
set -u
source "$1" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir -p Database/SHOP/Schema Database/ORDERS other/ARCHIVE/Schema scripts
touch Database/SHOP/Schema/Main.CSF Database/SHOP/Schema/reports.csf Database/SHOP/Schema/notes.txt
touch other/ARCHIVE/Schema/Old.CSF Database/SHOP/CUSTOMER
touch gen.tpx OLD.TPX orders.sql model.json readme.txt

failures=0
# check "command line" "expected candidates": a trailing space in the line completes a new word.
check() {
    local line=$1 expected=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _morva_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    got=${got% }
    if [[ $got != "$expected" ]]; then
        echo "FAIL '$line': got [$got], expected [$expected]"
        failures=$((failures + 1))
    fi
}

# Commands and options.
check "morva-cli " "alias compile dfm dump import lint odbc run schema sql"
check "morva-cli s" "schema sql"
check "morva-cli --" "--database-dir --help --output-dir --settings --version"
check "morva-cli run gen.tpx --" "--check --database-dir --db --diff --help --lf --output-dir --prune --schema --settings"
check "morva-cli schema create --r" "--replace"
check "morva-cli schema " "create list"
check "morva-cli alias " "build list tables"

# Database names from the database folder, default and --database-dir (before or after the
# command), and schema names (*.CSF in any letter case) of the database named on the line.
check "morva-cli dump " "ORDERS SHOP"
check "morva-cli dump S" "SHOP"
check "morva-cli --database-dir other dump " "ARCHIVE"
check "morva-cli dump --database-dir other " "ARCHIVE"
check "morva-cli dump SHOP " "Main reports"
check "morva-cli run gen.tpx --db " "ORDERS SHOP"
check "morva-cli run gen.tpx --db SHOP --schema " "Main reports"
check "morva-cli run gen.tpx --db SHOP --schema M" "Main"
check "morva-cli --database-dir other run gen.tpx --db ARCHIVE --schema " "Old"
check "morva-cli schema list " "ORDERS SHOP"
check "morva-cli dump NOSUCH " ""

# Files: templates for compile and run, SQL scripts for sql, JSON for import (and folders).
check "morva-cli run " "Database OLD.TPX gen.tpx other scripts"
check "morva-cli compile g" "gen.tpx"
check "morva-cli lint gen.tpx g" "gen.tpx"
check "morva-cli lint --check near" "near-miss-tag"
check "morva-cli sql " "ORDERS SHOP"
check "morva-cli sql SHOP " "Database orders.sql other scripts"
check "morva-cli sql SHOP orders.sql o" "orders.sql other"
check "morva-cli import SHOP " "Database model.json other scripts"
# The dialect takes one of its two values and does not count as the database.
check "morva-cli sql --dialect " "auto classic"
check "morva-cli sql --dialect auto " "ORDERS SHOP"
check "morva-cli sql --d" "--database-dir --dialect"
check "morva-cli import SHOP model.json --" "--database-dir --help --keep-dangling --output-dir --replace --settings"
check "morva-cli --database-dir " "Database other scripts"

if ((failures)); then
    echo "$failures completion case(s) failed"
    exit 1
fi
echo "all completion cases passed"
