#!/bin/sh
# Checks the built 32-bit Windows modules without running them: PE32 for the
# i386, DLL, exports exactly ImportTable and Linkage in a writable section,
# system DLL imports only, no thread-local-storage callbacks, bitmap 101 in
# the display modules. The check first shows on spoiled copies that it
# catches each fault (see check_windows_modules.py).
#   check_windows_modules.sh GAUGES_DIR
exec python3 "$(dirname "$0")/check_windows_modules.py" --self-test "${1:?usage: check_windows_modules.sh GAUGES_DIR}"
