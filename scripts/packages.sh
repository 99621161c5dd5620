# Installs the Debian packages that are missing; sourced by run.sh and test.sh.
# Usage: ensure_packages PACKAGE...
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ "${#missing[@]}" -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What the build and the tests need.
# qt6-l10n-tools: lrelease compiles lang/*.ts into the .qm translations;
# qt6-translations-l10n: Qt's own texts (message box buttons, file dialogs)
# in the language chosen.
# libsqlite3-dev: the event log's tests put a small disk of their own under
# SQLite (the library Qt's driver uses).
# The accessibility test runs the window on a desktop of its own: a virtual X
# server, a D-Bus session bus and the accessibility bus (at-spi2-core).
# The browser panel is served with Qt HttpServer and WebSockets; its test
# drives Debian's headless Chromium through WebDriver (chromium-driver,
# python3-selenium). libmosquitto-dev: the message bus's MQTT client; its
# tests run a real broker (mosquitto) and read it with mosquitto-clients.
BUILD_PACKAGES=(cmake ninja-build g++ lld ccache qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
                qt6-l10n-tools qt6-translations-l10n libqt6sql6-sqlite libsqlite3-dev libsdl2-dev
                fonts-dejavu-core xvfb dbus-daemon dbus-session-bus-common at-spi2-core
                qt6-httpserver-dev qt6-websockets-dev chromium chromium-driver python3-selenium
                libmosquitto-dev mosquitto mosquitto-clients)

# What scripts/package.sh needs to build and check the Debian package (the
# test suite's package check runs when these are present).
PACKAGING_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream)
