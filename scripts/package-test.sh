#!/usr/bin/env bash
# Makes the Debian package from a finished build, checks what it holds, installs it and runs
# what was installed:
#   scripts/package-test.sh [BUILD_DIR]          (default: build/release)
# In CI (CI=true, as root, on a machine made for the run) the package is installed with
# apt-get, which also proves its dependencies, and purged afterwards. Anywhere else it is
# unpacked into a fresh root under /tmp and run from there: the system is not touched.
# VNX_PACKAGE_INSTALL=apt or =root chooses the way by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build/release}" && pwd)"

fail() {
  echo "package test: $*" >&2
  exit 1
}

version="$("$build/src/cli/vnx-check" --version | awk '{print $2}')"
arch="$(dpkg --print-architecture)"
deb="$build/vnx-viewer_${version}_${arch}.deb"
rm -f "$build"/vnx-viewer_*.deb
log="$(cd "$build" && cpack -G DEB 2>&1)" || fail "cpack failed: $log"
[ -f "$deb" ] || fail "cpack did not make $(basename "$deb"): $log"

# What the package says about itself and what it holds.
info="$(dpkg-deb --info "$deb")"
for field in "Package: vnx-viewer" "Version: $version" "Architecture: $arch" "Section: science"; do
  grep -q "^ $field\$" <<<"$info" || fail "control field '$field' missing"
done
# Depends computed by dpkg-shlibdeps: the Qt, plotting and JPEG libraries the viewer links.
for lib in libqt6widgets6 libqcustomplot2.1-qt6 libjpeg62-turbo libc6; do
  grep -q "^ Depends:.*$lib" <<<"$info" || fail "Depends lacks $lib"
done
contents="$(dpkg-deb --contents "$deb" | awk '{print $6}')"
for path in \
  usr/bin/vnx-viewer usr/bin/vnx-check usr/bin/vnx-synth usr/bin/vnx-rinex \
  usr/share/applications/vnx-viewer.desktop usr/share/mime/packages/vnx-viewer.xml \
  usr/share/icons/hicolor/scalable/apps/vnx-viewer.svg \
  usr/share/icons/hicolor/48x48/apps/vnx-viewer.png \
  usr/share/icons/hicolor/256x256/apps/vnx-viewer.png \
  usr/share/metainfo/org.vnxviewer.viewer.metainfo.xml \
  usr/share/man/man1/vnx-viewer.1.gz usr/share/man/man1/vnx-check.1.gz \
  usr/share/man/man1/vnx-synth.1.gz \
  usr/share/doc/vnx-viewer/copyright usr/share/doc/vnx-viewer/manual/index.html \
  usr/share/doc/vnx-viewer/examples/sample.vnx; do
  grep -qx "\./$path" <<<"$contents" || fail "package lacks /$path"
done
# Every command it holds comes with its manual page.
for command in $(grep -o '^\./usr/bin/[^/]\+$' <<<"$contents" | xargs -n1 basename); do
  grep -qx "\./usr/share/man/man1/$command\.1\.gz" <<<"$contents" ||
    fail "no manual page for $command"
done

work="$(mktemp -d /tmp/vnx-package-XXXXXX)"
how="${VNX_PACKAGE_INSTALL:-}"
if [ -z "$how" ]; then
  how=root
  [ "${CI:-}" = "true" ] && [ "$(id -u)" -eq 0 ] && how=apt
fi
cleanup() {
  [ "$how" = "apt" ] && DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq vnx-viewer >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$how" = "apt" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  root=""
else
  dpkg -x "$deb" "$work/root"
  root="$work/root"
  # What the package's triggers do on a real system: the MIME database of the new root.
  XDG_DATA_DIRS="$root/usr/share:/usr/share" update-mime-database "$root/usr/share/mime"
  update-desktop-database -q "$root/usr/share/applications"
fi
bin="$root/usr/bin"
share="$root/usr/share"
sample="$share/doc/vnx-viewer/examples/sample.vnx"

(cd "$work" && "$bin/vnx-check" "$sample" >/dev/null) || fail "installed vnx-check on the sample"
"$bin/vnx-rinex" --obs "$work/sample.obs" --nav "$work/sample.nav" "$sample" >/dev/null &&
  [ -s "$work/sample.obs" ] && [ -s "$work/sample.nav" ] || fail "installed vnx-rinex on the sample"
[ "$(QT_QPA_PLATFORM=offscreen "$bin/vnx-viewer" --version)" = "vnx-viewer $version" ] ||
  fail "installed vnx-viewer --version"

desktop-file-validate "$share/applications/vnx-viewer.desktop"
appstreamcli validate --no-net "$share/metainfo/org.vnxviewer.viewer.metainfo.xml"
for page in "$share"/man/man1/vnx-*.1.gz; do
  warnings="$(zcat "$page" | LC_ALL=C.UTF-8 groff -k -man -ww -z -Tutf8 2>&1)"
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The file manager's view, with a user who has no settings of his own: the sample is a VNX log
# by its name and by its first frame alone, and the viewer is what opens one.
mkdir -p "$work/home"
cp "$sample" "$work/no-extension"
xdg_mime() {
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
    XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_CONFIG_DIRS="$work/home" \
    XDG_DATA_DIRS="$share:/usr/share" xdg-mime query "$@"
}
for file in "$sample" "$work/no-extension"; do
  type="$(xdg_mime filetype "$file")"
  [ "$type" = "application/x-vnx-log" ] || fail "xdg-mime says $type for $file"
done
opener="$(xdg_mime default application/x-vnx-log)"
[ "$opener" = "vnx-viewer.desktop" ] || fail "xdg-mime opens VNX logs with '$opener'"
echo "package test: $(basename "$deb") built, installed ($how) and checked"
