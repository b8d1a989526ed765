#!/usr/bin/env bash
# Installs what is missing, builds, starts a throwaway PostgreSQL on a free loopback port,
# runs every test with ctest and stops the server, also when tests fail.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$ROOT/scripts/common.sh"

vantrel_install_packages
BUILD_DIR="$ROOT/build"
if [ "${VANTREL_SANITIZE:-0}" = "1" ]; then
    BUILD_DIR="$ROOT/build-sanitize"
    vantrel_build "$BUILD_DIR" -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF
else
    vantrel_build "$BUILD_DIR"
fi

. "$ROOT/scripts/pgtest.sh"
pgtest_start
trap pgtest_stop EXIT

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_RUNTIME_DIR="$PGTEST_DIR/xdg"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export VANTREL_REQUIRE_PG=1

cd "$BUILD_DIR"
if [ "${VANTREL_SANITIZE:-0}" = "1" ]; then
    # The libraries without windows; the window tests carry QtWebEngine's own findings.
    ctest --output-on-failure --parallel "$(nproc)" -LE window "$@"
else
    ctest --output-on-failure --parallel "$(nproc)" "$@"
fi
