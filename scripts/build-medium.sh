#!/usr/bin/env bash
# Builds the installation medium into out/medium: every deliverable for both
# word sizes, with the documents and files the medium carries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
scripts/build.sh win64 win32
rm -rf out/medium
for p in win64 win32; do
  cmake --install "build/$p" --prefix out/medium >/dev/null
done
echo "medium: $(pwd)/out/medium"
find out/medium -type f | sort
tools/mediumcheck/check_medium.py out/medium
