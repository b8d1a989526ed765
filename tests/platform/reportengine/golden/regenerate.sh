#!/usr/bin/env bash
# Refreshes the report engine's golden files (PDF text and pages as PNG) from the current
# build. Run it on purpose, then look at every changed PNG before committing it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../../.." && pwd)"
cmake --build "$ROOT/build" --target tst_reportpdf
QT_QPA_PLATFORM=offscreen VANTREL_UPDATE_GOLDEN=1 "$ROOT/build/tests/platform/reportengine/tst_reportpdf"
git -C "$ROOT" status --short -- tests/platform/reportengine/golden
