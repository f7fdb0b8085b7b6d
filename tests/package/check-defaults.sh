#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installing the package must not change which application opens an archive
# or a folder: every type the package's entries name, and every type the
# archivers name, opens with what opened it before, beside File Roller, Ark and
# Thunar and with none of them.
#
# The desktop's own resolution answers: xdg-mime and gio, over a data folder
# that holds nothing but what the packages unpack (the peers' real .deb files,
# from apt-get download, kept in BUILD_DIR/package-peers), indexed by
# update-desktop-database as dpkg's trigger indexes /usr/share/applications.
# usage: check-defaults.sh BUILD_DIR
set -euo pipefail
build=$1

for tool in xdg-mime gio update-desktop-database dpkg-deb cpack apt-get; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed, so the defaults are not checked (scripts/bootstrap.sh installs it)"
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

peers="$build/package-peers"
mkdir -p "$peers"
for name in file-roller ark thunar; do
  if ! compgen -G "$peers/${name}_*.deb" >/dev/null; then
    if ! (cd "$peers" && apt-get download "$name") >"$work/download.log" 2>&1; then
      cat "$work/download.log"
      echo "SKIPPED: apt-get download $name failed, so the defaults are not checked"
      exit 77
    fi
  fi
done

# A root of its own: the shared MIME database (for the types' parents) and
# whatever the packages unpacked into it.
new_root() { # ROOT [DEB]...
  local root=$1
  shift
  mkdir -p "$root/usr/share/applications" "$root/usr/bin"
  ln -s /usr/share/mime "$root/usr/share/mime"
  for package in "$@"; do
    dpkg-deb -x "$package" "$root"
  done
  update-desktop-database "$root/usr/share/applications"
}

# Only the root's data and programs (gio skips an entry whose program is not
# on PATH), an empty home, and no desktop that picks its own rules.
in_root() { # ROOT COMMAND...
  local root=$1
  shift
  env -i HOME="$work/home" LANG=C.UTF-8 PATH="$root/usr/bin:/usr/bin:/bin" \
    XDG_DATA_DIRS="$root/usr/share" XDG_DATA_HOME="$work/home/data" \
    XDG_CONFIG_DIRS="$work/no-config" XDG_CONFIG_HOME="$work/home/config" "$@"
}

# One line a type: the type, xdg-mime's answer, gio's.
defaults() { # ROOT
  local type
  while read -r type; do
    printf '%s xdg-mime=%s gio=%s\n' "$type" "$(in_root "$1" xdg-mime query default "$type")" \
      "$(in_root "$1" gio mime "$type" 2>&1 | head -n 1 | sed 's/.*: //; s/^No default.*/(none)/')"
  done <"$work/types"
}

# The types: what the package's entries name, and what the peers' name.
new_root "$work/all" "$peers"/*.deb "$deb"
sed -n 's/^MimeType=//p' "$work/all/usr/share/kio/servicemenus/ltd.vantorix.Trellin.Preview.desktop" | tr ';' '\n' >"$work/types"
sed -n 's/^Mimetypes=//p' "$work/all/usr/share/nemo/actions/trellin-preview.nemo_action" | tr ';' '\n' >>"$work/types"
sed -n 's/=.*//p' "$work/all/usr/share/applications/mimeinfo.cache" >>"$work/types"
sort -u -o "$work/types" "$work/types"
sed -i '/^$/d' "$work/types"
if ! grep -qx inode/directory "$work/types" || ! grep -qx application/x-compressed-tar "$work/types"; then
  echo "FAILED: the list of types to check is missing folders or tar.gz"
  exit 1
fi

failed=0
for peers_present in yes no; do
  root="$work/root-$peers_present"
  if [ "$peers_present" = yes ]; then
    echo "== with File Roller, Ark and Thunar: $(wc -l <"$work/types") types"
    new_root "$root" "$peers"/*.deb
  else
    echo "== with no archiver and no file manager"
    new_root "$root"
  fi
  defaults "$root" >"$work/before"
  dpkg-deb -x "$deb" "$root"
  update-desktop-database "$root/usr/share/applications"
  defaults "$root" >"$work/after"
  grep -E '^(inode/directory|application/x-compressed-tar|application/x-xz-compressed-tar|application/x-7z-compressed|application/zip) ' \
    "$work/after"
  if ! diff -U0 --label before --label "after installing" "$work/before" "$work/after"; then
    echo "FAILED: installing the package changed the default application of the types above"
    failed=1
  fi
done
exit $failed
