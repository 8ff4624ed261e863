# Debian packages Kugelfon needs; sourced by ./run and ./check.

KUGELFON_BUILD_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libasound2-dev libcups2-dev libxcb1-dev"
KUGELFON_RUNTIME_PACKAGES="libqt6widgets6 libqt6printsupport6 libcups2 libasound2 libasound2-plugins fonts-liberation2 qt6-translations-l10n qt6-qpa-plugins"
# What the tests start or call: a private sound server and print server with
# a PDF printer, pdftotext/pdfinfo for the printed tickets, the desktop,
# metainfo and package checkers, and Qt's platform headers, through which a
# test plugs screens in and out; a private X server with RandR monitors,
# openbox and the X tools that look at its windows.
KUGELFON_TEST_PACKAGES="pulseaudio pulseaudio-utils cups cups-client printer-driver-cups-pdf poppler-utils desktop-file-utils appstream lintian qt6-base-private-dev xvfb openbox x11-utils x11-xserver-utils xdotool"
# A private Wayland compositor with Qt's Wayland platform, for the test of
# which platform the program takes.
KUGELFON_TEST_PACKAGES="$KUGELFON_TEST_PACKAGES weston qt6-wayland"
# The Windows build and its tests under Wine (tools/windows-check.sh): the
# mingw-w64 cross compiler, NSIS for the installer, Wine, and the screen,
# input and screenshot tools of the installer's test.
KUGELFON_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix nsis wine64 xvfb x11-utils xdotool imagemagick qt6-translations-l10n"
# The installed program played on a desktop with openbox, its calls heard by a
# private PulseAudio, its tickets printed by a private cupsd into PDFs.
KUGELFON_WINDOWS_PACKAGES="$KUGELFON_WINDOWS_PACKAGES openbox pulseaudio pulseaudio-utils cups cups-client printer-driver-cups-pdf poppler-utils"

# ensure_packages PKG...: installs what is missing (as root), or prints the one
# command that would and fails.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installiere fehlende Pakete: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    else
        echo "Es fehlen Pakete. Bitte einmal ausführen:"
        echo "sudo apt-get install ${missing[*]}"
        exit 1
    fi
}
