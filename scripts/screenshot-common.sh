# Shared by the screenshot scripts: dlmanager on the demo project under its own Xvfb, from a
# copy of the build's program folder (so the build's settings stay as they are), with the
# simulated QL40982 on Com1. Source it, then call start_demo BUILD_DIR [SIMULATOR OPTIONS...].
# The windows are driven by their Alt letters.

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$tool is missing; run scripts/install-deps" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_demo() {  # start_demo BUILD_DIR [SIMULATOR OPTIONS...]; sets window and dlmanager_pid
    start_display_and_simulator "$@"
    VTL_MODBUS_COM1="$work/line" QT_QPA_PLATFORM=xcb "$work/program/dlmanager" \
        >"$work/dlmanager.log" 2>&1 &
    dlmanager_pid=$!
    pids+=($dlmanager_pid)
    window=$(xdotool search --sync --limit 1 --name '^QL40982 Datalogger Manager')
    sleep 1
}

# The program folder copied into $work/program, Xvfb as $DISPLAY and the simulator on
# $work/line (with its control socket beside it, for Burnix.exe).
start_display_and_simulator() {  # BUILD_DIR [SIMULATOR OPTIONS...]
    local program_folder="$1/bin"
    shift
    [[ -x "$program_folder/dlmanager" && -x "$program_folder/ql40982-sim" ]] \
        || { echo "build first: make" >&2; exit 1; }
    mkdir "$work/program"
    cp -r "$program_folder"/{dlmanager,libVTL_Modbus.so,MASTER,PROJECTS,Pictures,Burnix.exe} \
        "$work/program/"
    printf '[lastproj]\nprojectname=Demo\n\n[ComPort]\nNumber=0\n' > "$work/program/Quandor.ini"

    # Xvfb picks a free display and tells it on the descriptor we give it.
    exec {display_fd}<> <(:)
    Xvfb -displayfd "$display_fd" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    read -r -t 10 display <&"$display_fd" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$display"

    "$program_folder/ql40982-sim" --link "$work/line" --control "$work/line.control" \
        --project "$work/program/PROJECTS/Demo" "$@" >"$work/sim.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do [[ -L "$work/line" ]] && break; sleep 0.1; done
}

# Without a window manager a closed dialog does not hand the keyboard back to the main window.
press() {  # press KEY: a key to the main window
    xdotool windowfocus --sync "$window" key "$1"
    sleep 0.5
}

answer() {  # answer KEY: a key to the dialog just opened, which has the keyboard
    xdotool key "$1"
    sleep 0.5
}

pixel() {  # pixel X Y of the main window: its colour as #RRGGBB
    import -window "$window" "$work/window.png"
    convert "$work/window.png" -crop "1x1+$1+$2" -format '#%[hex:u.p{0,0}]' info: | cut -c1-7
}

# "Connect", "Set Communication Port", "OK" on Com1, until the link lamp is green.
connect_com1() {
    # By their Alt letters, as a technician without a mouse would.
    press alt+c                # "Connect"
    press alt+p                # "Set Communication Port"
    xdotool search --sync --limit 1 --name '^Select Communicatio Port$' >/dev/null
    answer Return              # "OK"
    xdotool mousemove --window "$window" 700 500       # no hover highlight in the picture
    # The link lamp sits at the left end of the status bar.
    for _ in $(seq 40); do
        [[ $(pixel 18 $((700 - 17))) == "#00FF00" ]] && break
        sleep 0.25
    done
    [[ $(pixel 18 $((700 - 17))) == "#00FF00" ]] || { echo "the link lamp did not turn green" >&2; exit 1; }
}

take_picture() {  # take_picture OUTPUT_PNG
    sleep 0.5
    mkdir -p "$(dirname "$1")"
    import -window "$window" "$1"
    echo "$1"
}
