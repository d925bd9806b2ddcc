#!/bin/sh
# Installs what building and testing Quelmo needs on Debian/Ubuntu.
# Does nothing when everything is already there; safe to run on every build.
set -eu

need=""
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for pkg in cmake make g++ clang libclang-rt-14-dev clang-format clang-tidy \
           googletest libgtest-dev libgmock-dev libbenchmark-dev \
           g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
           wine wine32:i386 xvfb imagemagick xdotool x11-utils nsis; do
    have_pkg "$pkg" || need="$need $pkg"
done

if [ -z "$need" ]; then
    exit 0
fi

echo "bootstrap: installing:$need"
SUDO=""
if [ "$(id -u)" != 0 ]; then
    have_cmd sudo || { echo "bootstrap: need root or sudo to install:$need" >&2; exit 1; }
    SUDO=sudo
fi
case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
    *" i386 "*) ;;
    *) $SUDO dpkg --add-architecture i386 ;;
esac
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $need
