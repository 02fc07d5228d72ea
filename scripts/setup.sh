#!/usr/bin/env bash
# Installs the Debian packages Tabrel needs to build, run and test, when any is missing;
# with --fuzz, also what the fuzz targets need.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config  # compiler and build tools
    libfmt-dev                        # text formatting
    libcli11-dev                      # command line of tabrel-cli
    libsqlite3-dev                    # Palm Desktop 6.x databases
    mdbtools-dev mdbtools             # Palm Desktop 6.x Jet files (libmdb; mdb-export in tests)
    libgtest-dev libgmock-dev         # unit tests
    tzdata                            # time zones the date tests set
    qt6-base-dev                      # the wizard (Qt 6 Widgets)
)
# npm's mdb-reader, the tests' second Jet reader, needs Node.js and npm; one the machine
# already has (from any source) serves, and Debian's npm would conflict with some of them.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
# scripts/fuzz.sh asks for the fuzzer too.
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)  # libFuzzer and clang's sanitizers
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
