#!/usr/bin/env bash
# Checks a built Debian package without installing it: its fields and file list, then the
# programs unpacked into a scratch root must start (--help, without a display), and last
# Debian's own checker, lintian, must find no error (its warnings are printed).
# Usage: scripts/check-package.sh PACKAGE.deb
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PACKAGE.deb (exactly one existing file)" >&2
  exit 2
fi
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failed=0
fail() {
  echo "check-package: $*" >&2
  failed=1
}

[ "$(dpkg-deb -f "$deb" Package)" = tarnwick ] || fail "package name is not tarnwick"
# Without the libraries in Depends, apt would install programs that cannot start.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: '$depends'"
done

listing=$(dpkg -c "$deb")
for path in usr/bin/tarnwick usr/bin/tarnwick-cli usr/share/applications/tarnwick.desktop \
    usr/share/icons/hicolor/64x64/apps/tarnwick.png usr/share/doc/tarnwick/README.md \
    usr/share/doc/tarnwick/copyright usr/share/doc/tarnwick/changelog.gz \
    usr/share/man/man1/tarnwick.1.gz usr/share/man/man1/tarnwick-cli.1.gz; do
  grep -q " \./$path\$" <<<"$listing" || fail "missing $path"
done
grep -v ' root/root ' <<<"$listing" && fail "files not owned by root"

dpkg -x "$deb" "$root"
for program in tarnwick tarnwick-cli; do
  bin=$root/usr/bin/$program
  [ -x "$bin" ] || continue
  # A search path into the build folder would load stale libraries on the user's machine.
  readelf -d "$bin" | grep -E 'RPATH|RUNPATH' && fail "$program has a library search path"
  if ! out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin" --help 2>&1); then
    fail "$program --help failed: $out"
  elif ! grep -q "^Usage: $program" <<<"$out"; then
    fail "$program --help printed no usage: $out"
  fi
done

changelog=$root/usr/share/doc/tarnwick/changelog.gz
if [ -f "$changelog" ]; then
  # A new version needs its own changelog entry.
  gunzip -c "$changelog" >"$root/changelog"
  logged=$(dpkg-parsechangelog -l "$root/changelog" -S Version)
  [ "$logged" = "$(dpkg-deb -f "$deb" Version)" ] \
    || fail "changelog's last entry is $logged, the package is $(dpkg-deb -f "$deb" Version)"
fi

entry=$root/usr/share/applications/tarnwick.desktop
if [ -f "$entry" ]; then
  out=$(desktop-file-validate "$entry" 2>&1) || true
  [ -z "$out" ] || fail "desktop entry: $out"
  # .odf is also the OpenDocument formula type: claiming it would steal those files.
  grep -q '^MimeType' "$entry" && fail "the desktop entry claims file types"
fi
icon=$root/usr/share/icons/hicolor/64x64/apps/tarnwick.png
[ -f "$icon" ] && { file "$icon" | grep -q 'PNG image data, 64 x 64' || fail "icon is not a 64x64 PNG"; }

if command -v lintian >/dev/null; then
  status=0
  out=$(lintian --fail-on error "$deb" 2>&1) || status=$?
  # Said on every run as root; nothing about the package.
  tags=$(grep -v '^running with root privileges' <<<"$out" || true)
  [ -z "$tags" ] || echo "$tags" >&2
  [ "$status" = 0 ] || fail "lintian found errors (E: lines above)"
else
  fail "lintian is not installed (make deps installs it)"
fi

if [ "$failed" = 0 ]; then
  echo "check-package: $(basename "$deb") good: $(wc -l <<<"$listing") entries, both programs" \
    "start, lintian finds no error"
fi
exit "$failed"
