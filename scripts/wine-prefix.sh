# Sourced by scripts/test.sh and scripts/run-windows.sh: the private Wine prefix in the build
# folder, made once. Expects $root.
prepare_wine_prefix() {
  export WINEPREFIX=$root/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
  # Keep one wineserver for the whole run instead of one per executable.
  wineserver -p 2>/dev/null || true
  wine cmd /c exit >/dev/null 2>&1
}
