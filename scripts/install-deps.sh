#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tool need that are missing; does nothing
# when they are there. It never removes or replaces a package: where apt-get would, it stops and
# names what would go.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
          qt6-translations-l10n libgtest-dev libmodbus-dev libgl-dev fonts-dejavu-core
          poppler-utils cups-client clang-format)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# The tables print through LibreOffice Writer, and either of its builds will do: one that is there
# is kept. Otherwise the build that matches an installed LibreOffice core is taken, as the other
# would replace that core and every LibreOffice program on it.
if ! installed libreoffice-writer && ! installed libreoffice-writer-nogui; then
    if installed libreoffice-core-nogui; then
        packages+=(libreoffice-writer-nogui)
    else
        packages+=(libreoffice-writer)
    fi
fi

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -q
removals=$($sudo_cmd apt-get install -s -q --no-install-recommends "${missing[@]}" | awk '/^Remv /{print $2}')
if [ -n "$removals" ]; then
    echo "Not installed: apt-get would remove" $removals >&2
    echo "Install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
$sudo_cmd apt-get install -y -q --no-install-recommends --no-remove "${missing[@]}"
