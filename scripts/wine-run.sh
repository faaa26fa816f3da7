#!/usr/bin/env bash
# Runs one of our Windows programs under wine64 in the private prefix.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ondav_ensure_prefix
exec "$ONDAV_WINE" "$@"
