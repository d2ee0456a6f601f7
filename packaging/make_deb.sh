#!/usr/bin/env bash
# Writes the Debian package of a Release build: what `cmake --install` puts
# under /usr (orvane-analyze with its manual page and session libraries, the
# LV2 bundle, the VST shared objects, and any other form the build installs),
# stripped, with the documents Debian asks for and Depends from
# dpkg-shlibdeps. The same build and epoch give the same package.
# usage: make_deb.sh BUILD-DIR OUTPUT-DIR VERSION EPOCH   (prints the package's path)
set -euo pipefail
build=$1
output=$2
version=$3
epoch=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
package=orvane
maintainer="Brindlewick <plugins@brindlewick.org>"
architecture=$(dpkg --print-architecture)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr --strip > "$work/install.log"

docs=$root/usr/share/doc/$package
mkdir -p "$docs"
gzip -9n "$root"/usr/share/man/man1/*.1
cp "$here/debian-copyright" "$docs/copyright"
sed -e "s/@VERSION@/$version/" -e "s/@MAINTAINER@/$maintainer/" \
  -e "s/@DATE@/$(date -u -R -d "@$epoch")/" "$here/debian-changelog" | gzip -9n > "$docs/changelog.gz"

# dpkg-shlibdeps reads the source package's control file, so it gets a minimal one.
mkdir -p "$work/source/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" > "$work/source/debian/control"
mapfile -t objects < <(find "$root" -type f -name '*.so' -o -type f -perm -u+x | sort)
depends=$(cd "$work/source" && dpkg-shlibdeps -O -l"$root/usr/lib/$package" "${objects[@]}" 2> "$work/shlibdeps.log" |
  sed -n 's/^shlibs:Depends=//p') || { cat "$work/shlibdeps.log" >&2; exit 1; }

mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
sed -e "s/@PACKAGE@/$package/" -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$architecture/" \
  -e "s/@MAINTAINER@/$maintainer/" -e "s/@DEPENDS@/$depends/" \
  -e "s/@INSTALLED_SIZE@/$(du -s -k --exclude=DEBIAN "$root" | cut -f1)/" \
  "$here/debian-control" > "$root/DEBIAN/control"
# Fixed dates: dpkg-deb clamps every file's time to SOURCE_DATE_EPOCH.
find "$root" -exec touch --no-dereference --date="@$epoch" {} +
mkdir -p "$output"
deb=$output/${package}_${version}_$architecture.deb
SOURCE_DATE_EPOCH=$epoch dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" > /dev/null
echo "$deb"
