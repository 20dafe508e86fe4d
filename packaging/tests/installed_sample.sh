#!/usr/bin/env bash
# Runs an installed morva-cli on the sample, the way scripts/demo does, from the root folder
# and without LD_LIBRARY_PATH or registered components, and checks that it generates the same
# bytes and prints the same logs as the build tree's morva-cli. Also checks that no file of the
# installation names the source or build folder, unless --debug-build says that the build
# keeps its debugging information and assertions (which name the source files).
# Usage: installed_sample.sh PREFIX BUILD-DIR SOURCE-DIR [--debug-build]
#        (PREFIX holds bin/ and share/)
set -uo pipefail
prefix=$(realpath "$1") build=$(realpath "$2") source=$(realpath "$3") debug=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# generate LABEL CLI SAMPLES: the demo's steps into $work/run, kept as $work/LABEL.
generate() {
    local label=$1 cli=$2 samples=$3 run=$work/run
    mkdir -p "$run/samples"
    cp "$samples"/*.tpx "$samples"/*.sql "$run/samples/"
    : >"$run/components.ini"
    (
        cd / || exit 1
        unset LD_LIBRARY_PATH
        export MORVA_COMPONENTS=$run/components.ini MORVA_SETTINGS=$run/Morva.ini
        opts=(--database-dir "$run/Database" --output-dir "$run/Output")
        "$cli" "${opts[@]}" sql ORDERENTRY "$run/samples/order_entry.sql"
        "$cli" "${opts[@]}" schema create ORDERENTRY Main --type Demo --label "Order entry"
        "$cli" "${opts[@]}" dump ORDERENTRY Main
        for script in "$run"/samples/*.tpx; do
            "$cli" "${opts[@]}" run "$script" --db ORDERENTRY --schema Main
            echo "exit $?"
        done
        "$cli" "${opts[@]}" alias tables ORDERENTRY
    ) >"$run/log.txt" 2>&1
    rm -f "$run/components.ini"
    mv "$run" "$work/$label"
}

generate build "$build/bin/morva-cli" "$source/samples"
generate installed "$prefix/bin/morva-cli" "$prefix/share/morva/samples"

if ! ls "$work/build/Output" | grep -q .; then
    echo "the build tree's morva-cli generated nothing:"
    cat "$work/build/log.txt"
    status=1
fi
if ! diff -r "$work/build" "$work/installed"; then
    echo "the installed morva-cli does not generate what the build tree's does"
    status=1
fi
# The template library is installed whole: every script and README, nothing else.
if ! diff -r "$source/templates" "$prefix/share/morva/templates"; then
    echo "the installed template library differs from the source's"
    status=1
fi
if [[ $debug != --debug-build ]] && grep -rl --binary-files=text -F "$source" "$prefix"; then
    echo "installed files name the source or build folder $source"
    status=1
fi
((status == 0)) && echo "installed morva-cli generates the same $(find "$work/build/Output" -type f | wc -l) files"
exit $status
