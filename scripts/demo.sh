#!/usr/bin/env bash
# The main job on the bundled sample images: converts the folder tree samples/photos into JPEG
# files below build/demo-out, mirroring its subfolders, and prints the console report.
set -euo pipefail
quillpix=${1:-build/quillpix}
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(cd "$(dirname "$quillpix")" && pwd)/demo-out
rm -rf "$out"
mkdir -p "$out"
status=0
"$quillpix" -d -i "$here/samples/photos" -o "$out" || status=$?
echo
echo "Written below $out:"
(cd "$out" && find . -type f -name '*.jpg' | sort)
exit "$status"
