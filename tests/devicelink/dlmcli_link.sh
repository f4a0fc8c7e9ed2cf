#!/usr/bin/env bash
# dlmcli status, run, stop and clock against the simulated datalogger, through the same library
# as the program. Arguments: dlmcli, ql40982-sim.
set -u
dlmcli=$1
simulator=$2
work=$(mktemp -d)
simulator_pid=""
cleanup() {
    [[ -n "$simulator_pid" ]] && kill "$simulator_pid" 2>/dev/null && wait "$simulator_pid"
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() {  # expect STATUS DESCRIPTION COMMAND...
    local want=$1 what=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [[ $got == "$want" ]] || fail "$what: exit $got, expected $want; stderr: $(cat "$work/err")"
}
say() {  # one command on the simulator's control socket
    python3 - "$work/line.control" "$1" <<'END'
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
s.sendall(sys.argv[2].encode() + b"\n")
print(s.recv(512).decode(), end="")
END
}

"$simulator" --link "$work/line" --control "$work/line.control" >"$work/sim.log" 2>&1 &
simulator_pid=$!
for _ in $(seq 100); do [[ -L "$work/line" ]] && break; sleep 0.1; done
export VTL_MODBUS_COM3="$work/line"

expect 0 "status" "$dlmcli" status --port 3
grep -qE '^clock [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$work/out" || fail "clock line: $(cat "$work/out")"
grep -qx 'state STOP' "$work/out" || fail "state line: $(cat "$work/out")"
[[ $(wc -l <"$work/out") == 2 ]] || fail "status prints two lines"

expect 0 "run" "$dlmcli" run --port 3
[[ $(say status) == "OK state 1" ]] || fail "run did not start logging"
expect 0 "stop" "$dlmcli" stop --port 3
[[ $(say status) == "OK state 2" ]] || fail "stop did not stop logging"

expect 0 "clock set" "$dlmcli" clock set --port 3 31 12 30 23 59 50
expect 0 "clock" "$dlmcli" clock --port 3
grep -qE '^clock 2030-12-31 23:59:5[0-9]$' "$work/out" || fail "clock read back: $(cat "$work/out")"
expect 0 "clock set now" "$dlmcli" clock set --port 3 now
grep -q "^clock $(date +%Y-%m-%d) " <("$dlmcli" clock --port 3) || fail "clock set now"
expect 1 "clock set with a bad month" "$dlmcli" clock set --port 3 1 13 30 0 0 0
grep -qx 'Month is wrong' "$work/err" || fail "no message for month 13: $(cat "$work/err")"

say "set 120 7" >/dev/null
say "set 101 13" >/dev/null
expect 1 "status with odd values" "$dlmcli" status --port 3
grep -qx 'state 7 (unknown)' "$work/out" || fail "odd state: $(cat "$work/out")"
grep -q '^clock not valid: .* 13 ' "$work/out" || fail "odd clock: $(cat "$work/out")"
say "unset all" >/dev/null

say "fault ignore-write 121" >/dev/null
expect 1 "run without an answer" "$dlmcli" run --port 3
grep -q 'did not take the command' "$work/err" || fail "no message for the lost command"
say "fault silent on" >/dev/null
expect 1 "status of a silent device" "$dlmcli" status --port 3
say "fault silent off" >/dev/null

expect 1 "missing device" env VTL_MODBUS_COM4="$work/nothing" "$dlmcli" status --port 4
grep -qx 'Error open port for download data' "$work/err" || fail "open failure text: $(cat "$work/err")"
grep -q "$work/nothing, named by VTL_MODBUS_COM4, does not exist" "$work/err" || fail "open failure detail: $(cat "$work/err")"
expect 2 "no port" "$dlmcli" status
expect 2 "port 0" "$dlmcli" status --port 0
expect 2 "stray argument" "$dlmcli" run --port 3 now

if ((failures)); then
    exit 1
fi
echo "dlmcli link: all checks passed"
