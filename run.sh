#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vantrel.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
. "$ROOT/scripts/common.sh"

vantrel_install_packages
vantrel_build "$ROOT/build"
echo "Vantrel is built (build/app/vantrel). Its window, the login and the main frame come next; for now the build and the tests are what runs."
