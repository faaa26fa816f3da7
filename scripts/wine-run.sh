#!/usr/bin/env bash
# Runs one of our Windows programs under Wine in the private prefix of its
# architecture (ONDAV_ARCH, default x86_64).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ondav_ensure_prefix
exec "$ONDAV_WINE" "$@"
