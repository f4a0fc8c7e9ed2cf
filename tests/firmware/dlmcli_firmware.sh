#!/usr/bin/env bash
# dlmcli bank and merge: outputs and exit statuses. Arguments: dlmcli, firmware-gen.
set -u
dlmcli=$1
generator=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
expect() {  # expect STATUS DESCRIPTION COMMAND...
    local want=$1 what=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [[ $got != "$want" ]]; then
        echo "FAIL: $what: exit $got, expected $want; stderr: $(cat "$work/err")"
        failures=$((failures + 1))
    fi
}

mkdir -p "$work/Plant/bin"
printf '<cmdmb><row dataaddress="100" npoint="2"/></cmdmb>' >"$work/Plant/cmdmb.xml"
printf '<GenericParameter><a>3</a><b>0</b><c>1</c></GenericParameter>' >"$work/Plant/pargen.xml"
"$generator" "$work/base.sx" --code-bytes 65536 --record-count
"$generator" "$work/broken.sx" --code-bytes 4096 --no-terminator

expect 0 "bank" "$dlmcli" bank "$work/Plant"
[[ $(stat -c %s "$work/Plant/bin/bankg.c") == 117824 ]] || { echo "FAIL: bankg.c size"; failures=$((failures + 1)); }
expect 0 "merge" "$dlmcli" merge "$work/Plant" --base "$work/base.sx"
[[ -s "$work/Plant/New_base.sx" ]] || { echo "FAIL: no merged file"; failures=$((failures + 1)); }
srec_cmp "$work/Plant/New_base.sx" "$work/Plant/New_base.sx" >/dev/null 2>"$work/err" ||
    { echo "FAIL: the merged file does not read back: $(cat "$work/err")"; failures=$((failures + 1)); }
mkdir "$work/Plant/held" && mv "$work/Plant/New_base.sx" "$work/Plant/held/" && mkdir "$work/Plant/New_base.sx"
expect 1 "merge whose final name is held by a folder" "$dlmcli" merge "$work/Plant" --base "$work/base.sx"
grep -q "Cannot write file" "$work/err" || { echo "FAIL: no message for the final name"; failures=$((failures + 1)); }
rmdir "$work/Plant/New_base.sx"
# Bases the merge cannot use: never silent.
: >"$work/empty.sx"
iconv -f ASCII -t UTF-16 "$work/base.sx" >"$work/utf16.sx"
for base in broken empty utf16; do
    expect 1 "merge of the $base base" "$dlmcli" merge "$work/Plant" --base "$work/$base.sx"
    grep -q "has no end record (S9)" "$work/err" || { echo "FAIL: no message for the $base base"; failures=$((failures + 1)); }
done
mkfifo "$work/pipe.sx"
expect 1 "merge of a FIFO" timeout 20 "$dlmcli" merge "$work/Plant" --base "$work/pipe.sx"
grep -q "it is a FIFO, not a regular file" "$work/err" || { echo "FAIL: no reason for the FIFO base"; failures=$((failures + 1)); }
# CR alone ends a line as LF and CR LF do.
tr -d '\r' <"$work/base.sx" | tr '\n' '\r' >"$work/cr.sx"
expect 0 "merge of a base with CR line ends" "$dlmcli" merge "$work/Plant" --base "$work/cr.sx"
cmp -s "$work/Plant/New_cr.sx" "$work/Plant/held/New_base.sx" || { echo "FAIL: the CR base merges differently"; failures=$((failures + 1)); }
expect 2 "merge without a value for --base" "$dlmcli" merge "$work/Plant" --base

printf '<Dip-Switch><a>on</a></Dip-Switch>' >"$work/Plant/DipCmd.xml"
expect 1 "bank abandoned" "$dlmcli" bank "$work/Plant"
rm -rf "$work/Plant/bin" "$work/Plant/DipCmd.xml"
expect 1 "bank without a bin folder" "$dlmcli" bank "$work/Plant"
expect 1 "merge without a bin folder" "$dlmcli" merge "$work/Plant" --base "$work/base.sx"
grep -q "Directory Bin Not Found,Abort Procedure" "$work/err" || { echo "FAIL: message on stderr"; failures=$((failures + 1)); }

((failures == 0)) && echo "all dlmcli firmware checks passed"
exit $((failures == 0 ? 0 : 1))
