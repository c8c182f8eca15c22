#!/bin/sh
# The renderer as scripts use it: exit codes, formats, and a bypassed render that gives
# back its input exactly.
set -u
render="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # expected-exit-code description command...
    code=$1; what=$2; shift 2
    "$@" >"$work/stdout" 2>"$work/stderr"
    got=$?
    if [ "$got" -ne "$code" ]; then
        echo "FAIL: $what: exit $got, expected $code"; cat "$work/stderr"
        failures=$((failures + 1))
    fi
}

expect 0 "demo render" "$render" --quiet "$work/demo.wav"
[ -s "$work/demo.wav" ] || { echo "FAIL: no demo output"; failures=$((failures + 1)); }
expect 0 "help" "$render" --help
grep -q "usage: tarva-render" "$work/stdout" || { echo "FAIL: help text"; failures=$((failures + 1)); }
expect 0 "program list" "$render" --list-programs
grep -q "16  16th slapback" "$work/stdout" || { echo "FAIL: program list"; failures=$((failures + 1)); }
expect 0 "parameter list" "$render" --program doubler --list-parameters
grep -q "Dlyx2 .* on" "$work/stdout" || { echo "FAIL: parameter list"; failures=$((failures + 1)); }

expect 1 "unknown program" "$render" --program nosuch "$work/x.wav"
expect 1 "program out of range" "$render" --program 17 "$work/x.wav"
expect 1 "unknown parameter" "$render" --set Nope=0.5 "$work/x.wav"
expect 1 "value not a number" "$render" --set Fbck=loud "$work/x.wav"
expect 1 "unknown option" "$render" --frobnicate "$work/x.wav"
expect 1 "no output" "$render"
expect 1 "bad block size" "$render" --block 0 "$work/x.wav"
expect 2 "missing input" "$render" "$work/missing.wav" "$work/x.wav"
expect 2 "unknown output format" "$render" --quiet "$work/x.mp9"
expect 3 "plug-in that does not load" "$render" --plugin "$work/nothing.so" "$work/x.wav"

# Power off passes the input through untouched: float WAV in, the same samples out.
expect 0 "bypassed render" "$render" --quiet --set Power=0 "$work/demo.wav" "$work/bypass.wav"
cmp -s "$work/demo.wav" "$work/bypass.wav" || { echo "FAIL: bypass changed the audio"; failures=$((failures + 1)); }

# A preset and a bank whose every value is 0.25 switch the power off: their renders
# give back the input. (Records are in this machine's byte order: "AVRT" is the
# little-endian identifier.)
program() { printf '%s' "$1"; head -c $((24 - ${#1})) /dev/zero; i=0; while [ $i -lt 18 ]; do printf '\000\000\200\076'; i=$((i + 1)); done; }
{ printf 'AVRT\041'; program bypass; } >"$work/bypass.qel"
{ printf 'AVRT\067'; n=0; while [ $n -lt 17 ]; do program "quiet$n"; n=$((n + 1)); done; } >"$work/bypass.qeb"
expect 0 "preset render" "$render" --quiet --preset "$work/bypass.qel" "$work/demo.wav" "$work/preset.wav"
cmp -s "$work/demo.wav" "$work/preset.wav" || { echo "FAIL: the preset was not applied"; failures=$((failures + 1)); }
expect 0 "bank render" "$render" --quiet --bank "$work/bypass.qeb" --program quiet3 "$work/demo.wav" "$work/bank.wav"
cmp -s "$work/demo.wav" "$work/bank.wav" || { echo "FAIL: the bank program was not applied"; failures=$((failures + 1)); }
expect 2 "preset of another plug-in" "$render" --preset "$work/demo.wav" "$work/demo.wav" "$work/x.wav"
expect 2 "missing bank" "$render" --bank "$work/none.qeb" "$work/x.wav"
expect 1 "preset and bank together" "$render" --preset a.qel --bank b.qeb "$work/x.wav"

for format in flac aiff ogg; do
    expect 0 "$format output" "$render" --quiet --program lezlie --block 333 "$work/demo.wav" "$work/out.$format"
    [ -s "$work/out.$format" ] || { echo "FAIL: no $format output"; failures=$((failures + 1)); }
done
expect 0 "resampled render" "$render" --quiet --rate 48000 --tempo 90 --program "8th fast tape" "$work/demo.wav" "$work/48k.wav"

[ "$failures" -eq 0 ] && echo "renderer: all checks passed"
exit "$failures"
