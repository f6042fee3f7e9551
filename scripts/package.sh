#!/bin/bash
# The install package from a clean clone: the packages the build needs, the
# Windows build and the package (build/win32/package/Quillmar and its zip).
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win32 -DQUILLMAR_TESTS=OFF
cmake --build --preset win32 -j2 --target quillmar_package
echo "package: $(pwd)/build/win32/package/Quillmar.zip"
