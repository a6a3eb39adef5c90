#!/usr/bin/env bash
# Checks the Debian package with the tools of its ecosystem: lintian (no error and no warning),
# appstreamcli on its AppStream data, desktop-file-validate on its menu entry, and man and
# lexgrog on its manual pages. Builds the package first unless one is given.
# Usage: scripts/check-package.sh [PACKAGE.deb]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" lintian appstream desktop-file-utils man-db
if (($# > 0)); then
  deb=$1
else
  deb=$("$root/scripts/package.sh" | tail -1)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

echo "lintian $(basename "$deb"):"
# Informational and pedantic tags are shown, but only errors and warnings fail.
lintian --fail-on error,warning --display-info --pedantic "$deb" >"$work/lintian.log" 2>&1 ||
  { echo "lintian: errors or warnings"; fail=1; }
grep -v 'running with root privileges' "$work/lintian.log" || echo "(no tags)"

dpkg-deb -x "$deb" "$work/root"
share=$work/root/usr/share
for metainfo in "$share"/metainfo/*.metainfo.xml; do
  appstreamcli validate --no-net "$metainfo" || fail=1
  id=$(basename "$metainfo" .metainfo.xml)
  desktop-file-validate "$share/applications/$id.desktop" || fail=1
  echo "desktop-file-validate $id.desktop: passed"
done
for page in "$share"/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANPAGER=cat man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || { echo "$warnings"; fail=1; }
  lexgrog "$page" || fail=1
done
((fail == 0)) && echo "package: lintian, AppStream, desktop entry and manual pages are clean"
exit $fail
