#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing (Debian 12, as root).
set -euo pipefail
# apt verifies downloads as its own user, who needs a temporary folder open to all.
[ "$(stat -c %a /tmp)" = 1777 ] || export TMPDIR=/var/tmp
missing=()
for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
