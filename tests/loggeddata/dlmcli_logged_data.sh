#!/usr/bin/env bash
# dlmcli download, decode, export and erase against the simulated datalogger.
# Arguments: dlmcli, ql40982-sim, the demo project folder.
set -u
dlmcli=$1
simulator=$2
project=$3
work=$(mktemp -d)
sim_pid=
cleanup() {
    [[ -n "$sim_pid" ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
export VTL_MODBUS_COM1="$work/line"

start_simulator() {
    "$simulator" --link "$work/line" --project "$project" "$@" >"$work/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do [[ -L "$work/line" ]] && return; sleep 0.1; done
    fail "simulator did not start"
}
stop_simulator() { kill "$sim_pid"; wait "$sim_pid" 2>/dev/null; sim_pid=; }
# A data file as lines "DATE COMMAND VALUE...", as the simulator logs its records.
samples_of() {
    sed -e 's#<RECORD>#\n#g' "$1" | sed -n -E '/<DATE>/{
        s#<DATE>([^<]*)</DATE><COMMAND>([^<]*)</COMMAND>#\1 \2#
        s#<DATA>([^<]*)</DATA># \1#g
        s#<[^>]*>##g
        s#T# #
        p
    }'
}

# Five hours of history with hardware start and stop markers: about ten pages.
start_simulator --prefill 0.2 --markers --record-log "$work/records.txt" \
    --dump-image "$work/dump.bin" --erase-seconds 1
"$dlmcli" download --port 1 --project "$project" --out "$work/out.xml" --iso \
    --image "$work/image.bin" 2>"$work/err" || fail "download: $(cat "$work/err")"
# Not a terminal: a line every tenth of the pages, the last with all of them.
grep -q -E "^[0-9]+ %  ([0-9]+) of \1 pages$" "$work/err" || fail "no progress on stderr"
[[ $(grep -c " pages" "$work/err") -le 11 ]] || fail "progress more often than every tenth"
[[ $(samples_of "$work/out.xml") == "$(cat "$work/records.txt")" ]] \
    || fail "downloaded samples differ from what the simulator logged"
[[ $(wc -l <"$work/records.txt") -gt 100 ]] || fail "too little history to compare"

"$dlmcli" decode "$work/image.bin" --project "$project" --out "$work/image.xml" --iso 2>/dev/null \
    || fail "decode of the download's image"
cmp -s "$work/out.xml" "$work/image.xml" || fail "the kept image decodes differently"
"$dlmcli" decode "$work/dump.bin" --project "$project" --out "$work/dump.xml" --iso 2>/dev/null \
    || fail "decode of the simulator's image"
cmp -s "$work/out.xml" "$work/dump.xml" || fail "the simulator's image decodes differently"

"$dlmcli" export "$work/out.xml" --project "$project" --csv "$work/out.csv" --base hex --iso \
    2>/dev/null || fail "export"
[[ $(head -n 1 "$work/out.csv") == $'Description;Date;Time;Data Address;N° Point;Data;\r' ]] \
    || fail "CSV header: $(head -n 1 "$work/out.csv")"
[[ $(wc -l <"$work/out.csv") == $(($(wc -l <"$work/records.txt") + 1)) ]] \
    || fail "one CSV row per sample"
grep -q -E '^[^;]*;[0-9]{4}-[0-9]{2}-[0-9]{2};[0-9]{2}:[0-9]{2}:[0-9]{2};[0-9]+;[0-9]+;([0-9A-F]{4} [^;]*;)+'$'\r''$' \
    "$work/out.csv" || fail "CSV rows in hexadecimal: $(sed -n 2p "$work/out.csv")"

# Interrupted: not 0, and the pages read so far are in the image file. The whole memory, so
# that the download is still running when it is interrupted.
"$dlmcli" download --port 1 --project "$project" --out "$work/cut.xml" --image "$work/cut.bin" \
    --all 2>/dev/null &
download_pid=$!
sleep 1.5
kill -INT "$download_pid"
wait "$download_pid" && fail "an interrupted download ended with 0"
[[ -e "$work/cut.xml" ]] && fail "an interrupted download wrote samples"
[[ $(stat -c %s "$work/cut.bin") == 1081344 ]] || fail "image file size after interrupt"
cmp -s -n 264 "$work/cut.bin" "$work/dump.bin" || fail "first page not kept after interrupt"

# An image already on disk is replaced by one of at least as many pages.
cp "$work/image.bin" "$work/again.bin"
"$dlmcli" download --port 1 --project "$project" --out "$work/again.xml" --iso \
    --image "$work/again.bin" 2>"$work/err" || fail "download into an image: $(cat "$work/err")"
cmp -s "$work/again.bin" "$work/image.bin" || fail "the image of the same memory differs"
ls -A "$work" | grep -q '^\.' && fail "temporary files left: $(ls -A "$work" | grep '^\.')"

"$dlmcli" erase --port 1 2>"$work/err" || fail "erase: $(cat "$work/err")"
"$dlmcli" download --port 1 --project "$project" --out "$work/empty.xml" 2>/dev/null \
    || fail "download after erase"
[[ $(samples_of "$work/empty.xml") == "" ]] || fail "samples after erase"
# ... but never by one of fewer pages.
cp "$work/image.bin" "$work/kept.bin"
"$dlmcli" download --port 1 --project "$project" --out "$work/empty.xml" \
    --image "$work/kept.bin" 2>"$work/err" && fail "a smaller image replaced a larger one silently"
cmp -s "$work/kept.bin" "$work/image.bin" || fail "the larger image was overwritten"
grep -q "kept.bin keeps the" "$work/err" || fail "no reason for the kept image: $(cat "$work/err")"
stop_simulator

"$dlmcli" download --port 1 --project "$project" --out "$work/none.xml" --image "$work/kept.bin" \
    2>"$work/err" && fail "download without a device ended with 0"
cmp -s "$work/kept.bin" "$work/image.bin" || fail "a download that never started changed the image"
"$dlmcli" download --port 9 --project "$project" --out "$work/x.xml" 2>/dev/null; [[ $? == 1 ]] \
    || fail "port 9 accepted"
"$dlmcli" download --port 1 --project "$project" --out "$work/x.txt" 2>/dev/null; [[ $? == 1 ]] \
    || fail "an output that is neither .xml nor .csv accepted"
"$dlmcli" download --port 1 --out "$work/x.xml" 2>/dev/null; [[ $? == 2 ]] \
    || fail "download without --project"
head -c 1000 "$work/dump.bin" >"$work/short.bin"
"$dlmcli" decode "$work/short.bin" --project "$project" --out "$work/x.xml" 2>"$work/err" \
    && fail "a short image decoded"
grep -q "1081344" "$work/err" || fail "no reason for the short image"
echo "<RECORDS><RECORD/></RECORDS>" >"$work/bad.xml"
"$dlmcli" export "$work/bad.xml" --project "$project" --csv "$work/x.csv" 2>"$work/err" \
    && fail "a damaged data file exported"
grep -q "Attention!!! Error in file." "$work/err" || fail "no message for the damaged file"

# "-" is standard output.
"$dlmcli" export "$work/out.xml" --project "$project" --csv - --base hex --iso 2>/dev/null \
    | cmp -s - "$work/out.csv" || fail "the export on standard output differs"
"$dlmcli" decode "$work/image.bin" --project "$project" --out - --iso 2>/dev/null \
    | cmp -s - "$work/image.xml" || fail "the data file on standard output differs"
"$dlmcli" decode "$work/image.bin" --project "$project" --out - --format csv 2>/dev/null \
    | head -n 1 | grep -q '^Description;' || fail "--format csv on standard output"

# Only a regular file, or a link to one, is written or read; anything else is refused with the
# reason before it is read (a reader that took /dev/zero or the sparse file whole would run out of
# memory here) and stays as it was.
# The address sanitizer reserves its shadow memory up front: no limit for a sanitized build.
memory_limit=1000000
grep -q -a AddressSanitizer "$dlmcli" && memory_limit=unlimited
refused() {  # refused REASON PATH SUBCOMMAND ARGUMENTS...
    local reason=$1 path=$2 before
    shift 2
    before=$(stat -c %F "$path")
    (ulimit -v "$memory_limit"; timeout 20 "$dlmcli" "$@" --project "$project") 2>"$work/err"
    local status=$?
    [[ $status == 1 && $(stat -c %F "$path") == "$before" ]] || fail "$*: exit $status"
    grep -q "$reason" "$work/err" || fail "$*: $(cat "$work/err")"
}
mkfifo "$work/pipe.csv" "$work/pipe.xml"
mkdir "$work/folder.csv"
truncate -s 2G "$work/sparse.bin"
mknod -m 666 "$work/null.csv" c 1 3 2>/dev/null || ln -s /dev/null "$work/null.csv"
refused "it is a FIFO" "$work/pipe.csv" export "$work/out.xml" --csv "$work/pipe.csv"
refused "it is a folder" "$work/folder.csv" export "$work/out.xml" --csv "$work/folder.csv"
refused "it is a character device" "$work/null.csv" export "$work/out.xml" --csv "$work/null.csv"
refused "it is a FIFO" "$work/pipe.xml" export "$work/pipe.xml" --csv "$work/x.csv"
refused "it is a character device" /dev/zero export /dev/zero --csv "$work/x.csv"
refused "1081344" "$work/sparse.bin" decode "$work/sparse.bin" --out "$work/x.xml"
ln -s linked.csv "$work/link.csv"
"$dlmcli" export "$work/out.xml" --project "$project" --csv "$work/link.csv" 2>/dev/null
[[ -L "$work/link.csv" && -s "$work/linked.csv" ]] || fail "the link did not stay"
for name in cmdmb.xml DipCmd.xml PARGEN.XML; do
    "$dlmcli" export "$work/out.xml" --project "$project" --csv "$work/$name" 2>/dev/null \
        || [[ -e "$work/$name" ]] && fail "export over $name"
done

if ((failures)); then
    exit 1
fi
echo "dlmcli logged data: all checks passed"
