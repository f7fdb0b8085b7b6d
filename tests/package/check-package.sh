#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a built tree and checks it as a user and the
# archive's checkers would: its contents, lintian, the desktop entries, the
# metainfo, and the unpacked package running in place.
# usage: check-package.sh BUILD_DIR FOLDER_TO_PREVIEW
set -euo pipefail
build=$1
folder=$2

for tool in lintian desktop-file-validate appstreamcli dpkg-deb cpack; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the package is not checked (scripts/bootstrap.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(echo "$work"/trellin_*.deb)
echo "== $(basename "$deb"): contents"
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | tee "$work/contents"
echo "== control"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends

failed=0
check() { if ! "$@"; then echo "FAILED: $*"; failed=1; fi; }

for path in usr/bin/trellin-preview usr/bin/trellin-settings \
    "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/trellin/preview-plugin.so" \
    "usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/trellin/trellin-settings-window" \
    usr/share/applications/ltd.vantorix.Trellin.Preview.desktop \
    usr/share/applications/ltd.vantorix.Trellin.Settings.desktop \
    usr/share/kio/servicemenus/ltd.vantorix.Trellin.Preview.desktop \
    usr/share/nemo/actions/trellin-preview.nemo_action \
    usr/share/metainfo/ltd.vantorix.Trellin.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/ltd.vantorix.Trellin.svg \
    usr/share/man/man1/trellin-preview.1.gz usr/share/man/man1/trellin-settings.1.gz \
    usr/share/doc/trellin/copyright usr/share/doc/trellin/changelog.gz; do
  check grep -qx "./$path" "$work/contents"
done

# What each user added to their own home (the Thunar action, the GNOME Files
# script) takes itself out once the programs are gone: removing the package
# never reaches into home folders.
echo "== maintainer scripts"
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm; do
  if [ -e "$work/control/$script" ]; then
    echo "$script"
    if grep -nE 'HOME|/home|~|passwd|\.config|\.local|uca\.xml|nautilus' "$work/control/$script"; then
      echo "FAILED: $script reaches into home folders"
      failed=1
    fi
  fi
done

# Without Qt's translations the dialogs' buttons stay in English.
check grep -qw qt6-translations-l10n <(dpkg-deb -f "$deb" Recommends)

echo "== lintian"
if ! lintian --fail-on error --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1; then
  echo "FAILED: lintian found errors"
  failed=1
fi
grep -v "running with root privileges" "$work/lintian.log" || echo "(no tags)"

dpkg-deb -x "$deb" "$work/root"
echo "== desktop-file-validate"
check desktop-file-validate "$work"/root/usr/share/applications/*.desktop
echo "== appstreamcli validate"
check appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml

echo "== the unpacked package runs in place"
mkdir -p "$work/config" "$work/cache"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset LC_ALL LC_MESSAGES LANGUAGE
check env LANG=de_DE.UTF-8 "$work/root/usr/bin/trellin-preview" --text "$folder" >"$work/text"
head -n 1 "$work/text"
check grep -q "Größe" "$work/text"
check "$work/root/usr/bin/trellin-settings" list >/dev/null
# The command line needs no widgets; its window is a program of its own.
if objdump -p "$work/root/usr/bin/trellin-settings" | grep -q 'NEEDED.*Widgets'; then
  echo "FAILED: trellin-settings links Qt Widgets"
  failed=1
fi

exit $failed
