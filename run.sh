#!/usr/bin/env bash
# Starts the demo: installs what is missing, builds, starts the switcher
# simulator on a pseudo-terminal and on UDP 127.0.0.1:2000, and runs the
# panel against it. The demo keeps its own storage folder under build/demo
# (never the user's ~/.config/velmar-controller); closing the panel stops
# the simulator.
#
#   ./run.sh                      the demo, on the current display
#   ./run.sh --screenshot FILE    the same demo headless: routes camera 5 to
#                                 monitor 2 and saves a picture of the panel
#
# VELMAR_BUILD_DIR names another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
. scripts/packages.sh

usage() {
    echo "usage: ./run.sh [--screenshot FILE.png]"
}
shot=""
case "${1:-}" in
    "") [ $# -eq 0 ] || { usage >&2; exit 2; } ;;
    --screenshot)
        [ $# -eq 2 ] && [ -n "$2" ] || { usage >&2; exit 2; }
        shot=$2
        case "$shot" in /*) ;; *) shot="$root/$shot" ;; esac
        ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
esac

if [ -z "$shot" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] &&
    [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: the panel needs one." >&2
    echo "Run the demo under a virtual X server:" >&2
    echo "    apt-get install xvfb xauth && xvfb-run -a ./run.sh" >&2
    echo "or take a picture of it headless:  ./run.sh --screenshot panel.png" >&2
    exit 1
fi

ensure_packages "${BUILD_PACKAGES[@]}"
[ -n "$shot" ] && ensure_packages xvfb xauth

build="${VELMAR_BUILD_DIR:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
targets=(velmar-controller switcher-sim)
[ -n "$shot" ] && targets+=(panel-shot)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# The demo's storage folder: port 1 is the simulator's line, and the site
# list offers the serial channel and the simulator's gateway.
demo="$build/demo"
config="$demo/config/velmar-controller"
tty="$demo/ttyVELMAR"
mkdir -p "$config"
settings="$config/settings.ini"
touch "$settings"
# Keeps whatever else the demo's settings hold; port 1 always maps to the
# simulator and the stored port number is dropped so that port 1 is used.
# The panel starts in the demo's folder, so the line is named from there
# (and no path of this machine shows on the panel).
awk '
    /^\[/ { section = $0 }
    section == "[Ports]" { next }
    section == "[Properties]" && /^CommPort=/ { next }
    { print }
    END { print "[Ports]"; print "Com1=./ttyVELMAR" }' "$settings" >"$settings.new"
mv "$settings.new" "$settings"
if [ ! -e "$config/RemoteIPVelmar.ini" ]; then
    printf '0.0.0.0\r\n127.0.0.1\r\n' >"$config/RemoteIPVelmar.ini"
fi
# The panel starts in a folder holding the shipped language files, each with
# its translation.
shopt -s nullglob
languages=(lang/*.lng "$build"/lang/*.qm)
[ ${#languages[@]} -gt 0 ] && cp -f "${languages[@]}" "$demo/"
shopt -u nullglob

sim_log="$demo/switcher-sim.log"
if [ -n "$shot" ]; then
    "$build/switcher-sim" --serial "$tty" --udp 127.0.0.1:2000 >"$sim_log" 2>&1 &
else
    "$build/switcher-sim" --serial "$tty" --udp 127.0.0.1:2000 &
fi
sim_pid=$!
stop_sim() {
    if kill -0 "$sim_pid" 2>/dev/null; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}
trap stop_sim EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Wait (up to 5 s) for the simulator's line to appear.
for _ in $(seq 50); do
    [ -L "$tty" ] && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        [ -n "$shot" ] && cat "$sim_log" >&2
        echo "The switcher simulator did not start (is UDP port 2000 in use?)." >&2
        exit 1
    fi
    sleep 0.1
done
[ -L "$tty" ] || { echo "The switcher simulator offered no serial line." >&2; exit 1; }

export XDG_CONFIG_HOME="$demo/config"
export XDG_STATE_HOME="$demo/state"
if [ -n "$shot" ]; then
    status=0
    (cd "$demo" && xvfb-run -a -s "-screen 0 1280x1024x24" "$build/panel-shot" "$shot") ||
        status=$?
    if [ $status -ne 0 ]; then
        echo "No picture taken; the simulator's log:" >&2
        cat "$sim_log" >&2
    fi
    exit $status
fi

echo "Switcher simulator: serial line $tty (the panel's port 1), UDP 127.0.0.1:2000."
echo "Its log follows. Close the panel to end the demo."
status=0
(cd "$demo" && "$build/velmar-controller") || status=$?
exit $status
