#!/usr/bin/env bash
# Builds the Debian package and checks it.
#
#   scripts/package.sh
#       installs what is missing, makes a Release build in build-release/ (with
#       Debian's hardening flags), packages it with CPack, checks the package
#       and leaves it as velmar-controller_<version>_<arch>.deb in the
#       project's folder.
#   scripts/package.sh --from BUILD [--probe LIBRARY]
#       packages an existing build folder into BUILD/package/ and checks it,
#       building and installing nothing: the test suite's way. Ends with 77
#       (skipped) when a packaging tool is missing or BUILD is a sanitizer
#       build, which is never packaged.
#
# The checks: lintian reports no error (its warnings and notes are shown),
# desktop-file-validate and appstreamcli validate --no-net report nothing, the
# package holds the programs, the languages and their translations, the
# desktop entry, the icon, the metadata and the manual pages, its
# dependencies come from the libraries linked, the packaged panel answers
# --version with the package's version, and the desktop entry's working
# folder holds the shipped languages. With --probe
# (tests/install/ChooserProbe.cpp, built in the test build) the packaged
# panel is also started as its desktop entry starts it, from a fresh home
# folder, and must show the language chooser listing those languages.
#
# VELMAR_PACKAGE_BUILD_DIR names another build folder than build-release/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/packages.sh

usage() {
    echo "usage: scripts/package.sh [--from BUILD [--probe LIBRARY]]"
}
from=""
probe=""
while [ $# -gt 0 ]; do
    case "$1" in
        --from) [ $# -ge 2 ] || { usage >&2; exit 2; }; from=$2; shift 2 ;;
        --probe) [ $# -ge 2 ] || { usage >&2; exit 2; }; probe=$2; shift 2 ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
[ -n "$probe" ] && [ -z "$from" ] && { usage >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Packages the build folder $1 into the folder $2; prints the package's path.
make_package() {
    local build=$1 out=$2
    mkdir -p "$out"
    rm -f "$out"/velmar-controller_*.deb
    (cd "$build" && cpack -G DEB -B "$out" >"$work/cpack.log" 2>&1) || {
        cat "$work/cpack.log" >&2
        echo "cpack failed" >&2
        return 1
    }
    local debs=("$out"/velmar-controller_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "cpack made no package" >&2; return 1; }
    echo "${debs[0]}"
}

# Starts the unpacked panel under $1 as the desktop entry $2 starts it (in its
# Path folder), from a fresh home folder, with the probe; prints what the
# language chooser lists.
first_start() {
    local tree=$1 entry=$2
    local folder home
    folder=$(sed -n 's/^Path=//p' "$entry")
    home="$work/home"
    # Fresh but for one line: port 1 leads nowhere, so that no serial port of
    # the machine is opened by the check.
    mkdir -p "$home/.config/velmar-controller"
    printf '[Ports]\nCom1=/nonexistent/velmar-package-check\n' \
        >"$home/.config/velmar-controller/settings.ini"
    (cd "$tree$folder" &&
        env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
            LD_PRELOAD="$probe" VELMAR_PROBE_OUTPUT="$work/probe.txt" \
            timeout 30 "$tree/usr/bin/velmar-controller") >"$work/start.log" 2>&1 || {
        cat "$work/start.log" "$work/probe.txt" >&2 2>/dev/null || true
        return 1
    }
    cat "$work/probe.txt"
}

check_package() {
    local deb=$1
    local tree="$work/tree"
    local version depends
    version=$(dpkg-deb -f "$deb" Version)
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "== $(basename "$deb"): $(stat -c %s "$deb") bytes, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
    echo "Depends: $depends"

    echo "== lintian"
    local status=0
    lintian --fail-on error --display-info "$deb" >"$work/lintian.txt" 2>&1 || status=$?
    grep -v '^running with root privileges' "$work/lintian.txt" || true
    [ $status -eq 0 ] || fail "lintian reports errors (status $status)"
    echo "errors: $(grep -c '^E:' "$work/lintian.txt" || true)," \
        "warnings: $(grep -c '^W:' "$work/lintian.txt" || true)," \
        "notes: $(grep -c '^[IP]:' "$work/lintian.txt" || true)"

    echo "== contents (dpkg-deb -c)"
    dpkg-deb -c "$deb" | awk '{ print $NF }' | sed 's|^\./|/|' >"$work/contents.txt"
    local path
    for path in /usr/bin/velmar-controller /usr/bin/switcher-sim \
        /usr/share/velmar-controller/lang/English.lng \
        /usr/share/velmar-controller/lang/Italiano.lng \
        /usr/share/velmar-controller/lang/Italiano.qm \
        /usr/share/applications/velmar-controller.desktop \
        /usr/lib/systemd/system/velmar-controller-headless.service \
        /usr/share/icons/hicolor/scalable/apps/velmar-controller.svg \
        /usr/share/man/man1/velmar-controller.1.gz /usr/share/man/man1/switcher-sim.1.gz \
        /usr/share/doc/velmar-controller/copyright /usr/share/doc/velmar-controller/changelog.gz; do
        grep -qxF "$path" "$work/contents.txt" && echo "$path" || fail "the package lacks $path"
    done
    dpkg-deb -x "$deb" "$tree"
    local metainfo=("$tree"/usr/share/metainfo/*.metainfo.xml)
    if [ ${#metainfo[@]} -ne 1 ] || [ ! -f "${metainfo[0]}" ]; then
        fail "the package holds no single AppStream metainfo file"
        metainfo=()
    else
        echo "${metainfo[0]#"$tree"}"
        local id
        id=$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "${metainfo[0]}")
        [ "$(basename "${metainfo[0]}")" = "$id.metainfo.xml" ] ||
            fail "the metainfo file is not named after its id $id"
        grep -q '<screenshot' "${metainfo[0]}" || fail "the metainfo file has no screenshot"
        grep -q '<description>' "${metainfo[0]}" || fail "the metainfo file has no description"
    fi

    echo "== desktop-file-validate"
    local entry="$tree/usr/share/applications/velmar-controller.desktop"
    if [ -f "$entry" ]; then
        local out
        out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] &&
            echo "velmar-controller.desktop: clean" ||
            { echo "$out"; fail "desktop-file-validate reports problems"; }
    fi

    echo "== appstreamcli validate --no-net"
    if [ ${#metainfo[@]} -eq 1 ]; then
        appstreamcli validate --no-net "${metainfo[0]}" 2>&1 ||
            fail "appstreamcli validate reports problems"
        # The whole tree as well: the metadata's launchable names the packaged desktop entry.
        appstreamcli validate-tree --no-net "$tree" 2>&1 ||
            fail "appstreamcli validate-tree reports problems"
    fi

    echo "== the package's own facts"
    # The dependency line comes from dpkg-shlibdeps, so it names the Qt libraries linked.
    [[ "$depends" == *libqt6widgets6* && "$depends" == *libqt6serialport6* ]] ||
        fail "the dependencies do not come from the libraries linked: $depends"
    local answer
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$tree/usr/bin/velmar-controller" --version 2>&1) || true
    [ "$answer" = "velmar-controller $version" ] &&
        echo "velmar-controller --version: $answer" ||
        fail "the packaged panel answers --version with '$answer', not $version"
    local changelog_version
    changelog_version=$(zcat "$tree/usr/share/doc/velmar-controller/changelog.gz" >"$work/changelog" &&
        dpkg-parsechangelog -l "$work/changelog" -S Version 2>/dev/null) || true
    [ "$changelog_version" = "$version" ] ||
        fail "the changelog's newest entry is '$changelog_version', the package $version"
    if [ -f "$entry" ]; then
        grep -qx 'Exec=velmar-controller' "$entry" || fail "the desktop entry does not run velmar-controller"
        local folder languages
        folder=$(sed -n 's/^Path=//p' "$entry")
        languages=$(cd "$tree$folder" 2>/dev/null && ls -- *.lng 2>/dev/null || true)
        if [ -z "$folder" ] || [ -z "$languages" ]; then
            fail "the desktop entry's working folder '${folder}' holds no language file of the package"
        else
            echo "desktop entry Path=$folder holds:" $languages
            if [ -n "$probe" ]; then
                local listed
                listed=$(first_start "$tree" "$entry") ||
                    fail "the packaged panel did not show the language chooser at a fresh start"
                [ "$listed" = "$languages" ] &&
                    echo "first start, fresh home: the language chooser lists" $listed ||
                    fail "the language chooser lists '$listed' instead of '$languages'"
            fi
        fi
    fi
}

if [ -n "$from" ]; then
    build=$(cd "$from" && pwd)
    if grep -q '^VELMAR_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
        echo "skipped: $build is a sanitizer build, which is never packaged"
        exit 77
    fi
    missing=()
    for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog file lintian \
        desktop-file-validate appstreamcli; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "skipped: no ${missing[*]} (scripts/packages.sh's PACKAGING_PACKAGES)"
        exit 77
    fi
    deb=$(make_package "$build" "$build/package")
    check_package "$deb"
else
    ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"
    build="${VELMAR_PACKAGE_BUILD_DIR:-build-release}"
    case "$build" in /*) ;; *) build="$root/$build" ;; esac
    # Debian's own compiler and linker flags (hardening), without their debug
    # information and optimisation level: the package is stripped, and the
    # Release build type sets -O3.
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
    cmake --build "$build" -j "$(nproc)"
    deb=$(make_package "$build" "$build")
    check_package "$deb"
    if [ $failures -eq 0 ]; then
        rm -f "$root"/velmar-controller_*.deb
        cp "$deb" "$root/"
        echo "== the package: $root/$(basename "$deb")"
        echo "install it with: sudo apt install ./$(basename "$deb")"
    fi
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all package checks passed"
