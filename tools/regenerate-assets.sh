#!/usr/bin/env bash
# Regenerates the pictures the screen saver program carries (the preview and
# the icon from the renderer's own core, the button skins and indicator boxes
# from their colour tables) and writes them where the resource script takes them:
#   tools/regenerate-assets.sh                build the tools (native preset), rewrite the committed pictures
#   tools/regenerate-assets.sh --build DIR    the same, building in DIR
#   tools/regenerate-assets.sh --tools DIR    use mosaika_preview_jpeg, mosaika_icon_ico, mosaika_picture_bmp from DIR
#   tools/regenerate-assets.sh --check DIR    write into DIR instead and compare with the committed files
# The JPEG encoder is cjpeg (Debian package libjpeg-turbo-progs); nothing else
# outside the repository is used, and a build needs none of it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/native
tools=""
check=""

usage() {
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

while [ $# -gt 0 ]; do
  case $1 in
    --build) [ $# -ge 2 ] || usage; build=$2; shift 2 ;;
    --tools) [ $# -ge 2 ] || usage; tools=$2; shift 2 ;;
    --check) [ $# -ge 2 ] || usage; check=$2; shift 2 ;;
    *) usage ;;
  esac
done

# Paths given relative to where the script was called from.
build=$(realpath -m "$build")
[ -z "$tools" ] || tools=$(realpath -m "$tools")
[ -z "$check" ] || check=$(realpath -m "$check")

command -v cjpeg >/dev/null || { echo "regenerate-assets: cjpeg not found (install libjpeg-turbo-progs)" >&2; exit 1; }

if [ -z "$tools" ]; then
  [ -f "$build/CMakeCache.txt" ] || (cd "$root" && cmake --preset native -B "$build" >/dev/null)
  cmake --build "$build" --target mosaika_preview_jpeg mosaika_icon_ico mosaika_picture_bmp >/dev/null
  tools=$build/bin
fi

# Every picture by its path in the repository; --check writes the same tree under DIR.
out=${check:-$root}
skins=(Normal HighLight HighLightSelect Pressed Selected Disable)
indicators=(Unselected Selected)
assets=(saver/resources/preview.jpg saver/resources/mosaika.ico)
for look in "${skins[@]}"; do assets+=("saver/command/skins/$look.bmp"); done
for state in "${indicators[@]}"; do assets+=("saver/settings/pictures/$state.bmp"); done
mkdir -p "$out/saver/resources" "$out/saver/command/skins" "$out/saver/settings/pictures"

# The preview: baseline, 8-bit, three components (YCbCr) at full resolution,
# the accurate integer transform and Huffman tables fitted to the picture.
# Quality 98 gives a file of about 18.9 KB.
jpeg_options=(-baseline -quality 98 -sample 1x1 -dct int -optimize)
"$tools/mosaika_preview_jpeg" - | cjpeg "${jpeg_options[@]}" -outfile "$out/saver/resources/preview.jpg.new"
mv "$out/saver/resources/preview.jpg.new" "$out/saver/resources/preview.jpg"

"$tools/mosaika_icon_ico" "$out/saver/resources/mosaika.ico.new"
mv "$out/saver/resources/mosaika.ico.new" "$out/saver/resources/mosaika.ico"

for look in "${skins[@]}"; do
  "$tools/mosaika_picture_bmp" skin "$look" "$out/saver/command/skins/$look.bmp.new"
  mv "$out/saver/command/skins/$look.bmp.new" "$out/saver/command/skins/$look.bmp"
done
for state in "${indicators[@]}"; do
  "$tools/mosaika_picture_bmp" indicator "$state" "$out/saver/settings/pictures/$state.bmp.new"
  mv "$out/saver/settings/pictures/$state.bmp.new" "$out/saver/settings/pictures/$state.bmp"
done

if [ -z "$check" ]; then
  (cd "$root" && stat -c 'regenerated %n (%s bytes)' "${assets[@]}")
  exit 0
fi

status=0
for name in "${assets[@]}"; do
  if cmp -s "$out/$name" "$root/$name"; then
    echo "up to date: $name"
  else
    note=""
    [ "${name##*.}" != jpg ] || note="; encoder: $(cjpeg -version 2>&1 | head -n 1)"
    echo "DIFFERS: $name and $out/$name (run tools/regenerate-assets.sh$note)" >&2
    status=1
  fi
done
exit $status
