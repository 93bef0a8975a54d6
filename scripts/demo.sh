#!/usr/bin/env bash
# The main job on the bundled sample images: shows the version and the help of the console tool.
set -euo pipefail
quillpix=${1:-build/quillpix}
"$quillpix" -v
"$quillpix" --help
