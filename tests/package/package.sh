#!/usr/bin/env bash
# The Debian package, as a user gets it: built from this tree, checked by lintian, installed with
# apt-get, the installed programs started with a fresh HOME, and removed again. It needs root
# and the packaging tools; elsewhere it is skipped and says why. Arguments: source, build.
set -u
source_dir=$1
build=$2

skip() {
    echo "SKIPPED: $*"
    exit 77
}
((EUID == 0)) || skip "installing a package needs root"
for tool in cpack dpkg-shlibdeps file lintian appstreamcli apt-get; do
    command -v "$tool" >/dev/null || skip "$tool is missing (scripts/install-deps installs it)"
done
case $(dpkg-query -W -f='${db:Status-Status}' dlmanager 2>/dev/null) in
    "" | not-installed | config-files) ;;
    *) skip "dlmanager is installed on this machine, and the test would replace it" ;;
esac

work=$(mktemp -d)
installed=0
program_pid=""
simulator_pid=""
cleanup() {
    for pid in $program_pid $simulator_pid; do
        kill -KILL "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if ((installed)); then
        DEBIAN_FRONTEND=noninteractive dpkg --purge dlmanager >/dev/null 2>&1 ||
            echo "FAIL: dlmanager could not be removed"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# wait_for SECONDS COMMAND...: until the command succeeds, at most that long.
wait_for() {
    local tenths=$(($1 * 10))
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
catches_sigterm() {  # the handler that closes the window in order is in place
    local mask
    mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
    [[ -n $mask ]] && (((0x$mask >> 14) & 1))
}

deb=$("$source_dir/scripts/make-package" "$build" "$work") || {
    echo "FAIL: the package was not built"
    exit 1
}
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 ||
    fail "lintian: $(grep -v 'root privileges' "$work/lintian")"

export DEBIAN_FRONTEND=noninteractive
installed=1
apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=120 "$deb" \
    >"$work/apt" 2>&1 || {
    echo "FAIL: apt-get install: $(cat "$work/apt")"
    exit 1
}
appstreamcli validate --no-net /usr/share/metainfo/example.vartelo.dlmanager.metainfo.xml \
    >"$work/appstream" 2>&1 || fail "appstream: $(cat "$work/appstream")"
grep -qx 'Name=QL40982 Datalogger Manager' /usr/share/applications/example.vartelo.dlmanager.desktop ||
    fail "no menu entry"

# The installed program, as a user who has never started it.
home="$work/home"
folder="$home/.local/share/dlmanager"
mkdir "$home"
touch "$work/before-start"
as_user=(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen)
"${as_user[@]}" /usr/bin/dlmanager >"$work/dlmanager.log" 2>&1 &
program_pid=$!
wait_for 20 catches_sigterm "$program_pid" || fail "dlmanager did not start: $(cat "$work/dlmanager.log")"
for file in MASTER/Flash_Application.sx PROJECTS/Projects_init/cmdmb.xml; do
    cmp -s "/usr/lib/dlmanager/$file" "$folder/$file" || fail "$file not in the per-user folder"
done
kill -TERM "$program_pid"
wait "$program_pid" || fail "dlmanager ended with $? on SIGTERM: $(cat "$work/dlmanager.log")"
program_pid=""
grep -q '^\[lastproj\]' "$folder/Quandor.ini" 2>/dev/null || fail "no settings written at exit"
changed=$(find /usr/lib/dlmanager -newer "$work/before-start")
[[ -z $changed ]] || fail "written under /usr: $changed"

version=$("${as_user[@]}" /usr/bin/dlmcli --version) || fail "dlmcli --version: exit $?"
[[ $version == *$'\n'"program folder: $folder" ]] || fail "dlmcli --version printed: $version"
"${as_user[@]}" /usr/bin/ql40982-sim --link "$work/line" >"$work/simulator.log" 2>&1 &
simulator_pid=$!
wait_for 10 test -L "$work/line" || fail "the simulator did not start: $(cat "$work/simulator.log")"
"${as_user[@]}" VTL_MODBUS_COM1="$work/line" /usr/bin/dlmcli status --port 1 >"$work/status" 2>&1 ||
    fail "dlmcli status: $(cat "$work/status")"
grep -qx 'state STOP' "$work/status" || fail "dlmcli status printed: $(cat "$work/status")"
completion=$(bash -c 'source /usr/share/bash-completion/completions/dlmcli
    COMP_WORDS=(dlmcli st) COMP_CWORD=1; _dlmcli; echo "${COMPREPLY[*]}"')
[[ $completion == "status stop" ]] || fail "completion of 'dlmcli st': $completion"

kill "$simulator_pid" && wait "$simulator_pid"
simulator_pid=""
dpkg --purge dlmanager >"$work/purge" 2>&1 || fail "removal: $(cat "$work/purge")"
installed=0
[[ ! -e /usr/lib/dlmanager && ! -e /usr/bin/dlmanager ]] || fail "files left after the removal"

if ((failures)); then
    exit 1
fi
echo "package: built, lintian clean, installed, run and removed"
