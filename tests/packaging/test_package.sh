#!/bin/sh
# Builds the Debian package, unpacks it into a scratch root and checks what a
# technician gets from it: the files in their places and nothing else, the
# run-time dependencies, a valid menu entry, and an installed program that
# starts in demo mode on an X display, with the simulator beside it, and
# reads the INI file beside it.
set -eu

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

# Under the virtual X server: the installed program in demo mode, with an INI
# file beside it that asks for 0 attempts, a value it must refuse with a
# message box of its own title at start.
run_installed_program() { # <program>
    "$1" --demo &
    program=$!
    trap 'kill "$program" 2>/dev/null || true' EXIT
    polls=0
    until xwininfo -root -tree | grep -q '"Meridal - Ini-File"'; do
        kill -0 "$program" 2>/dev/null || fail "the installed program ended at start"
        polls=$((polls + 1))
        [ "$polls" -le 150 ] || fail "no message about NumberOfAttempts; windows: $(xwininfo -root -tree | grep '"')"
        sleep 0.2
    done
    sleep 3
    kill -0 "$program" 2>/dev/null || fail "the installed program ended after it had started"
}

if [ "${1:-}" = --run-installed ]; then
    run_installed_program "$2"
    exit 0
fi

deb=$("$(dirname "$0")/../../scripts/package.sh")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# Exactly these files: no test, no benchmark, no library.
expected='etc/KORVALMeridal.ini
usr/bin/Meridal
usr/bin/meridal-sim
usr/share/applications/meridal.desktop
usr/share/icons/hicolor/scalable/apps/meridal.svg
usr/share/man/man1/meridal-sim.1'
files=$(cd "$root" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the package holds: $files"
[ -x "$root/usr/bin/Meridal" ] && [ -x "$root/usr/bin/meridal-sim" ] || fail "the programs are not executable"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
    echo "$depends" | grep -qw -- "$package" || fail "Depends lacks $package: $depends"
done
echo "$depends" | grep -q -- '-dev' && fail "Depends names a development package: $depends"

dpkg-deb -e "$deb" "$scratch/control"
grep -qx /etc/KORVALMeridal.ini "$scratch/control/conffiles" || fail "the INI file is no conffile"

entry=$root/usr/share/applications/meridal.desktop
desktop-file-validate "$entry" || fail "invalid menu entry"
for line in 'Name=KORVAL Meridal' 'Exec=Meridal' 'Icon=meridal' 'Categories=Utility;Development;'; do
    grep -qxF "$line" "$entry" || fail "the menu entry lacks $line"
done
grep -q '^\.TH MERIDAL-SIM 1' "$root/usr/share/man/man1/meridal-sim.1" || fail "no manual page of meridal-sim"

sed 's/^NumberOfAttempts=3$/NumberOfAttempts=0/' "$root/etc/KORVALMeridal.ini" >"$root/usr/bin/KORVALMeridal.ini"
grep -qx NumberOfAttempts=0 "$root/usr/bin/KORVALMeridal.ini" || fail "the sample has no line NumberOfAttempts=3"
mkdir "$scratch/config"
XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=xcb \
    xvfb-run -a sh "$0" --run-installed "$root/usr/bin/Meridal"
echo "The package installs and its program starts."
