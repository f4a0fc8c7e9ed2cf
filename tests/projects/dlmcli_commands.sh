#!/usr/bin/env bash
# dlmcli commands: the list as the loader builds it, and the exit statuses. Argument: dlmcli.
set -u
dlmcli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$work/Plant"
# Upper-case name, a Latin-1 degree sign, and a damaged second row that stops the load there.
printf '<?xml version="1.0" encoding="ISO-8859-1"?><cmdmb><row dataaddress="70000" npoint="2" scale="1" unita="\xb0C" description="Boiler"/><row dataaddress="5" npoint="3"/></cmdmb>' >"$work/Plant/CMDMB.XML"

out=$("$dlmcli" commands "$work/Plant") || fail "exit status $?"
lines=$(printf '%s\n' "$out" | tail -n +2)
expected=$(printf '%-4s %-7s %-6s %-8s %-10s %s\n%-4s %-7s %-6s %-8s %-10s %s' \
    0 4464 2 1 "°C" Boiler 1 5 3 0 "" "")
[[ "$(printf '%s' "$lines" | sed 's/ *$//')" == "$(printf '%s' "$expected" | sed 's/ *$//')" ]] \
    || fail "listing was:
$out"

"$dlmcli" commands "$work/Missing" 2>"$work/err" && fail "missing folder accepted"
grep -q "Project folder not found" "$work/err" || fail "no reason for the missing folder"
"$dlmcli" commands 2>/dev/null; [[ $? == 2 ]] || fail "no usage status without a folder"

mkdir -p "$work/Empty"
[[ $("$dlmcli" commands "$work/Empty" | wc -l) == 1 ]] || fail "empty project lists commands"

# --help to stdout with success; --version names the program folder, here the build's.
"$dlmcli" --help >"$work/out" || fail "--help exit status $?"
grep -q '^  dlmcli status --port N' "$work/out" || fail "--help lists no subcommands"
version=$("$dlmcli" --version) || fail "--version exit status $?"
[[ "$version" == "dlmcli "[0-9]*.[0-9]*$'\n'"program folder: $(cd "$(dirname "$dlmcli")" && pwd -P)" ]] \
    || fail "--version printed $version"

if ((failures)); then
    exit 1
fi
echo "dlmcli commands: all checks passed"
