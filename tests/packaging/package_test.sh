#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# package_test.sh CPACK CPACK_CONFIG VERSION: makes the Debian package from a
# built tree and checks it with Debian's own tools, then runs the programs
# from the unpacked package. Exits 77 (skipped) where a tool is missing.
set -euo pipefail
cpack=$1 config=$2 version=$3

for tool in dpkg dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cpack" --config "$config" -B "$work/out" >/dev/null
deb=$work/out/pelmora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package named $(basename "$deb")"

contents=$(dpkg-deb --contents "$deb")
id=org.pelmora.Pelmora
expected=(
  usr/bin/pelmora usr/bin/pelmora-batch
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/man/man1/pelmora.1.gz usr/share/man/man1/pelmora-batch.1.gz usr/share/man/ja/man1/pelmora-batch.1.gz
  usr/share/pelmora/translations/pelmora-batch_ja.qm
  usr/share/bash-completion/completions/pelmora-batch usr/share/zsh/vendor-completions/_pelmora-batch
  usr/share/doc/pelmora/copyright usr/share/doc/pelmora/changelog.gz
)
for size in 16 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for file in "${expected[@]}"; do
  grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in fonts-ipafont-gothic fonts-symbola qt6-image-formats-plugins libqt6widgets6 libuemf0; do
  grep -q "$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done

lintian_says=$(lintian --fail-on error "$deb" 2>&1) || fail "lintian: $lintian_says"
echo "$lintian_says"

root=$work/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
# The tree form also checks that the launchable's desktop entry is there.
appstreamcli validate-tree --no-net "$root" || fail "AppStream metainfo"

[ "$("$root/usr/bin/pelmora" --version)" = "pelmora $version" ] || fail "pelmora --version"
[ "$("$root/usr/bin/pelmora-batch" --version)" = "pelmora-batch $version" ] || fail "pelmora-batch --version"

# The manual pages keep up with the options --help lists.
for manual in man1 ja/man1; do
  page=$(zcat "$root/usr/share/man/$manual/pelmora-batch.1.gz" | sed 's/\\-/-/g')
  for option in $(LANG=C "$root/usr/bin/pelmora-batch" --help | grep -o -- '--[a-z-]*[a-z]' | sort -u); do
    grep -qE -- "$option([^a-z-]|$)" <<<"$page" || fail "$manual/pelmora-batch.1 does not describe $option"
  done
done
# The installed translation is found.
said=$(LANG=ja_JP.UTF-8 "$root/usr/bin/pelmora-batch" --info "$work/missing.bmp" 2>&1 || true)
[ "$said" = "$work/missing.bmp: ファイルが見つかりません" ] \
  || fail "pelmora-batch does not speak Japanese in a Japanese locale: $said"

# A 3 x 3 24-bit BMP, white with a black centre; filled red, the centre
# turns red and the corners stay white.
{
  printf 'BM\x5a\0\0\0\0\0\0\0\x36\0\0\0'
  printf '\x28\0\0\0\x03\0\0\0\x03\0\0\0\x01\0\x18\0\0\0\0\0\x24\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0'
  printf '\xff\xff\xff\xff\xff\xff\xff\xff\xff\0\0\0'
  printf '\xff\xff\xff\0\0\0\xff\xff\xff\0\0\0'
  printf '\xff\xff\xff\xff\xff\xff\xff\xff\xff\0\0\0'
} >"$work/figure.bmp"
"$root/usr/bin/pelmora-batch" --fill red -o "$work/shadow.bmp" "$work/figure.bmp" || fail "pelmora-batch failed"
number() { od -An -tu"$2" -j "$1" -N "$2" "$work/shadow.bmp" | tr -d ' '; }
pixel() { od -An -tx1 -j "$1" -N 3 "$work/shadow.bmp" | tr -d ' \n'; }
data=$(number 10 4) bytes=$(($(number 28 2) / 8))
row=$(((3 * bytes + 3) / 4 * 4))
[ "$(pixel $((data + row + bytes)))" = 0000ff ] && [ "$(pixel "$data")" = ffffff ] \
  || fail "the converted picture is wrong"
echo "package $(basename "$deb") checked"
