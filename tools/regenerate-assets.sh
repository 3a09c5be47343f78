#!/usr/bin/env bash
# Regenerates the pictures the screen saver program carries, from the
# renderer's own core, and writes them where the resource script takes them:
#   tools/regenerate-assets.sh                build the tools (native preset), rewrite saver/resources
#   tools/regenerate-assets.sh --build DIR    the same, building in DIR
#   tools/regenerate-assets.sh --tools DIR    use mosaika_preview_jpeg and mosaika_icon_ico from DIR
#   tools/regenerate-assets.sh --check DIR    write into DIR instead and compare with the committed files
# The JPEG encoder is cjpeg (Debian package libjpeg-turbo-progs); nothing else
# outside the repository is used, and a build needs none of it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
resources=$root/saver/resources
build=$root/build/native
tools=""
check=""

usage() {
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//' >&2
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
  cmake --build "$build" --target mosaika_preview_jpeg mosaika_icon_ico >/dev/null
  tools=$build/bin
fi

out=${check:-$resources}
mkdir -p "$out"

# The preview: baseline, 8-bit, three components (YCbCr) at full resolution,
# the accurate integer transform and Huffman tables fitted to the picture.
# Quality 98 gives a file of about 18.9 KB.
jpeg_options=(-baseline -quality 98 -sample 1x1 -dct int -optimize)
"$tools/mosaika_preview_jpeg" - | cjpeg "${jpeg_options[@]}" -outfile "$out/preview.jpg.new"
mv "$out/preview.jpg.new" "$out/preview.jpg"

"$tools/mosaika_icon_ico" "$out/mosaika.ico.new"
mv "$out/mosaika.ico.new" "$out/mosaika.ico"

if [ -z "$check" ]; then
  (cd "$root" && stat -c 'regenerated %n (%s bytes)' saver/resources/preview.jpg saver/resources/mosaika.ico)
  exit 0
fi

status=0
for name in preview.jpg mosaika.ico; do
  if cmp -s "$out/$name" "$resources/$name"; then
    echo "up to date: saver/resources/$name"
  else
    echo "DIFFERS: saver/resources/$name and $out/$name (run tools/regenerate-assets.sh;" \
      "encoder: $(cjpeg -version 2>&1 | head -n 1))" >&2
    status=1
  fi
done
exit $status
