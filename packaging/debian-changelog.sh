#!/usr/bin/env bash
# Writes CHANGELOG.md as a Debian changelog, the form a package's changelog.gz takes: one entry per
# "## <version> (<yyyy-mm-dd>)" section, its "- " items as "  * " items, lines of text in between
# as items of their own.
#   packaging/debian-changelog.sh CHANGELOG.md > changelog
set -euo pipefail

signature="Quenzo developers <quenzo@example.com>"
version=""
date=""

finish() {
  [[ -n "$version" ]] || return 0
  echo
  echo " -- $signature  $(LC_ALL=C date -u -R -d "$date 12:00:00")"
}

while IFS= read -r line || [[ -n "$line" ]]; do
  if [[ "$line" =~ ^##\ ([^ ]+)\ \(([0-9]{4}-[0-9]{2}-[0-9]{2})\) ]]; then
    if [[ -n "$version" ]]; then
      finish
      echo
    fi
    version=${BASH_REMATCH[1]}
    date=${BASH_REMATCH[2]}
    echo "quenzo ($version) unstable; urgency=medium"
    echo
  elif [[ -z "$version" || -z "$line" ]]; then
    continue
  elif [[ "$line" == "- "* ]]; then
    echo "  * ${line#- }"
  elif [[ "$line" == "  "* ]]; then
    echo "    ${line#  }"
  else
    echo "  * $line"
  fi
done <"$1"
finish
