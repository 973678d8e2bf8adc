# Sourced by the scripts that run Wine: the private prefix in the build folder and the environment
# of every run in it. Expects $root.

# Where and how Wine runs, unless the caller said otherwise. Wine's own .NET and HTML engines are
# off, and netsh.exe=n makes Wine run the netsh.exe file in the prefix's system32 (where the tests
# put their stand-in, scripts/wine-install.sh) instead of its built-in netsh; iphlpapi=n does the
# same for IPHLPAPI.DLL, whose stand-in shows what the fake netsh was asked for.
wine_environment() {
  export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;netsh.exe=n;iphlpapi=n}
}

# Makes the prefix once.
make_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== creating the Wine prefix"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The metric twin of the fixed-pitch face the dialogs ask for.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' \
      /f >/dev/null 2>&1
    wineserver -w
  fi
}

# For scripts/test.sh and scripts/run-windows.sh: always the private prefix, whatever the caller's
# environment holds.
prepare_wine_prefix() {
  unset WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
  wine_environment
  make_wine_prefix
  # Keep one wineserver for the whole run instead of one per executable.
  wineserver -p 2>/dev/null || true
  wine cmd /c exit >/dev/null 2>&1
}
