#!/usr/bin/env bash
# Installs the build into a staging prefix and checks what a desktop expects to find there:
# the menu entry and the AppStream data under the application id, the icons, the manual pages,
# the shell completion, the licence and the changelog, all of one version.
# Usage: install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build_dir=$1 app_id=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cmake --install "$build_dir" --prefix "$stage/usr" >/dev/null

fail=0 icon=ostrova-settings.png
for file in bin/ostrova-settings bin/ostrova-cfg "share/applications/$app_id.desktop" \
  "share/metainfo/$app_id.metainfo.xml" share/man/man1/ostrova-{cfg,settings}.1.gz \
  share/bash-completion/completions/ostrova-cfg share/doc/ostrova-settings/{copyright,changelog.gz} \
  share/icons/hicolor/scalable/apps/ostrova-settings.svg \
  $(for n in 16 22 24 32 48 64 128 256; do echo "share/icons/hicolor/${n}x$n/apps/$icon"; done); do
  [[ -e $stage/usr/$file ]] || { echo "missing: $file"; fail=1; }
done
[[ -x $stage/usr/bin/ostrova-settings ]] || { echo "ostrova-settings is not executable"; fail=1; }

desktop=$stage/usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail=1
grep -qx 'Exec=ostrova-settings' "$desktop" || { echo "Exec is not the installed program"; fail=1; }
grep -qx 'Terminal=false' "$desktop" || { echo "the entry must not ask for a terminal"; fail=1; }
grep -qx 'Icon=ostrova-settings' "$desktop" || { echo "the entry names another icon"; fail=1; }

# The installed command-line tool runs from its new place, and tells the version that the
# AppStream release, the changelog and the manual pages carry.
version=$("$stage/usr/bin/ostrova-cfg" --version) || { echo "ostrova-cfg does not run"; fail=1; }
version=${version#ostrova-cfg }
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "ostrova-cfg --version: '$version'"; fail=1; }
# (No early exit in a pipe: pipefail would take the writer's broken pipe for a failure.)
changelog=$(zcat "$stage/usr/share/doc/ostrova-settings/changelog.gz")
[[ $changelog == "ostrova-settings ($version) "* ]] ||
  { echo "the changelog is not of $version"; fail=1; }
# The release date: the changelog entry's, in UTC.
released=$(date -u +%F -d "$(sed -n 's/^ -- .*  //p' <<<"$changelog" | sed -n 1p)")
for page in ostrova-cfg ostrova-settings; do
  zcat "$stage/usr/share/man/man1/$page.1.gz" |
    grep "^\.TH \"$page\" \"1\" \"$released\" \"Ostrova+ Settings $version\"" >/dev/null ||
    { echo "$page(1) is not of $version, $released"; fail=1; }
done

# AppStream: valid, and naming this entry, these programs and this release.
metainfo=$stage/usr/share/metainfo/$app_id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$stage/validate.log" 2>&1 ||
  { cat "$stage/validate.log"; fail=1; }
grep -q "<id>$app_id</id>" "$metainfo" || { echo "the AppStream id is not $app_id"; fail=1; }
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  { echo "the AppStream data launches another entry"; fail=1; }
for program in ostrova-settings ostrova-cfg; do
  grep -q "<binary>$program</binary>" "$metainfo" || { echo "AppStream lacks $program"; fail=1; }
done
grep -q "<release version=\"$version\" date=\"$released\">" "$metainfo" ||
  { echo "no AppStream release $version of $released"; fail=1; }
exit $fail
