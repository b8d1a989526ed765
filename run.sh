#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vantrel (the login comes first).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$ROOT/scripts/common.sh"

vantrel_install_packages
vantrel_build "$ROOT/build"
exec "$ROOT/build/app/vantrel" "$@"
