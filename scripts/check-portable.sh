#!/usr/bin/env bash
# Fails when portable code (anything under src/ outside win32/, linux/ and qt/ folders) includes a
# platform header: Windows, POSIX or Qt.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 2

windows='windows\.h|winsock2?\.h|ws2tcpip\.h|iphlpapi\.h|shellapi\.h|commctrl\.h|shlobj\.h|shlwapi\.h|objbase\.h|winreg\.h|winbase\.h|winuser\.h|wingdi\.h|winnt\.h|winerror\.h|tchar\.h|process\.h|io\.h|direct\.h'
posix='unistd\.h|fcntl\.h|dlfcn\.h|pthread\.h|spawn\.h|poll\.h|ifaddrs\.h|netdb\.h|termios\.h|syslog\.h|sys/[a-z_/]+\.h|net/[a-z_]+\.h|netinet/[a-z_]+\.h|arpa/[a-z_]+\.h|linux/[a-z_/]+\.h'
qt='Q[A-Za-z]+(/[A-Za-z]+)?'

hits=$(find src -type f \( -name '*.h' -o -name '*.cpp' \) \
         -not -path '*/win32/*' -not -path '*/linux/*' -not -path '*/qt/*' -print0 |
       xargs -0 -r grep -nHE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](${windows}|${posix}|${qt})[>\"]")
if [ -n "$hits" ]; then
  echo "Portable code includes platform headers:"
  echo "$hits"
  exit 1
fi
echo "portable code includes no platform header"
