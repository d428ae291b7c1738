#!/usr/bin/env bash
# Builds the Debian package korvo-ide_VERSION_ARCH.deb in the package build
# folder (KORVO_PACKAGE_DIR, build-package unless set) with Debian's compiler
# and linker flags, and prints its path.
# --check also runs lintian on it, installs it with dpkg into a scratch root
# and runs korvo --version from there.
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
case "${1:-}" in
--check) check=true ;;
"") ;;
*)
    echo "usage: tools/package.sh [--check]" >&2
    exit 2
    ;;
esac

# dpkg-shlibdeps (dpkg-dev) finds the libraries the programs need; CPack
# asks file which files are programs.
packages=(dpkg-dev file)
$check && packages+=(lintian)
tools/deps.sh "${packages[@]}"

build="${KORVO_PACKAGE_DIR:-build-package}"
# Debian's flags with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVO_BUILD_TESTS=OFF \
    -DKORVO_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/korvo-ide_*.deb | head -n 1)
echo "$deb"
$check || exit 0

echo "lintian:"
lintian --fail-on error "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
# The scratch root holds no libraries: the programs run on the host's, and
# apt checks below that the declared dependencies can be installed.
if ! log=$(dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless \
    -i "$deb" 2>&1); then
    echo "$log" >&2
    exit 1
fi
version=$("$root/usr/bin/korvo" --version)
echo "installed in a scratch root: $version"
[[ $version == "Korvo IDE $(dpkg-deb -f "$deb" Version)" ]]
apt-get install --simulate "$(realpath "$deb")" >/dev/null
echo "dependencies: $(dpkg-deb -f "$deb" Depends)"
