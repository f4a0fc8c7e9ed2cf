#!/usr/bin/env bash
# dlmcli readback against the simulated datalogger, and dlmcli check. Arguments: dlmcli,
# ql40982-sim.
set -u
dlmcli=$1
simulator=$2
work=$(mktemp -d)
sim_pid=
trap '[[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null; wait; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

printf '300 4 0\n301 0x0102 0\n0 0 0\n' >"$work/table.txt"
"$simulator" --link "$work/line" --command-table "$work/table.txt" --serial 1000,3,0 \
    >"$work/sim.log" 2>&1 </dev/null &
sim_pid=$!
for _ in $(seq 100); do [[ -L "$work/line" ]] && break; sleep 0.1; done

VTL_MODBUS_COM2="$work/line" "$dlmcli" readback --port 2 --into "$work/Back" \
    >"$work/out" 2>"$work/err" || fail "readback exit status $?: $(cat "$work/err")"
[[ "$(cat "$work/out")" == "$work/Back" ]] || fail "readback printed $(cat "$work/out")"
[[ -d "$work/Back/Bin" ]] || fail "no Bin folder"
grep -q '<timeoutmb>1000</timeoutmb>' "$work/Back/ParGen.Xml" || fail "serial settings missing"
listing=$("$dlmcli" commands "$work/Back" | tail -n +2 | awk '{print $1, $2, $3}')
[[ "$listing" == $'0 300 4\n1 301 2' ]] || fail "commands read back: $listing"
"$dlmcli" check "$work/Back" >/dev/null || fail "the read-back project does not pass check"

# A port nobody serves: the open fails with the program's message.
VTL_MODBUS_COM3="$work/nothing" "$dlmcli" readback --port 3 --into "$work/None" 2>"$work/err" \
    && fail "readback on a dead port succeeded"
grep -q "Error open port for download data" "$work/err" || fail "no message for the dead port"
[[ -e "$work/None" ]] && fail "a dead port made the project folder"
"$dlmcli" readback --port 0 2>/dev/null; [[ $? == 2 ]] || fail "port 0 accepted"
"$dlmcli" readback --port 1 --to x 2>/dev/null; [[ $? == 2 ]] || fail "--to accepted"

# check: every failing row, with the editor's message and position.
mkdir -p "$work/Bad"
printf '%s' '<cmdmb><row dataaddress="1" npoint="0" scale="0" unita="" description=""/><row dataaddress="2" npoint="1" scale="0" unita="" description=""/><row dataaddress="" npoint="" scale="" unita="" description=""/><row dataaddress="70000" npoint="1" scale="0" unita="" description=""/></cmdmb>' >"$work/Bad/cmdmb.xml"
"$dlmcli" check "$work/Bad" 2>"$work/err" && fail "check passed a bad project"
expected=$'Value of range [1..127] column n° point 1\nValue of range [0..65535] column Data Address 4'
[[ "$(cat "$work/err")" == "$expected" ]] || fail "check reported: $(cat "$work/err")"

# check: a project without cmdmb.xml has no commands to check.
mkdir -p "$work/NoCommands"
"$dlmcli" check "$work/NoCommands" >"$work/out" 2>"$work/err" && fail "check passed a project without cmdmb.xml"
grep -q "cmdmb.xml: no such file" "$work/err" || fail "check reported: $(cat "$work/err")"

if ((failures)); then
    exit 1
fi
echo "dlmcli readback and check: all checks passed"
