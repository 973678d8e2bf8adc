#!/usr/bin/env bash
# The Windows release as a user meets it, in a new copy of the project's private Wine prefix
# under a private X server: the silent setup, the installed program, an install over it, the
# silent uninstall; the setup's pages, one screenshot each in SHOTS; the portable zip.
# Usage: windows.sh VERSION DIST SHOTS
set -u
version=$1 dist=$2 shots=$3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/xvfb.sh"
source "$root/scripts/wine-prefix.sh"
tmp=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_xvfb || fail "no X server"
export WINEPREFIX=$root/build/release-windows/wineprefix
# Wine links the profile's Desktop and Documents to the home folder: a home of the test's own.
export HOME=$tmp/home
mkdir -p "$HOME"
wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
# A user's Wine: its own netsh and IP Helper, none of the test stand-ins the project's prefix names.
export WINEDLLOVERRIDES='mscoree,mshtml='
wine_environment
make_wine_prefix
x86_64-w64-mingw32-gcc -municode -O2 -o "$tmp/probe.exe" "$root/tests/package/win32/PageProbe.c" \
  || fail "cannot build the probe"
probe() { wine "$tmp/probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# Polls for up to 30 seconds.
poll() { for _ in $(seq 150); do "$@" && return 0; sleep 0.2; done; return 1; }
shows() { probe "$1" | grep -qF -- "$2"; }
# A screenshot once the screen has stopped changing.
shot() {
  local previous="" current
  for _ in $(seq 50); do
    import -window root "$shots/$1.png"
    current=$(md5sum <"$shots/$1.png")
    [ "$current" = "$previous" ] && return 0
    previous=$current
    sleep 0.1
  done
}

setup=$dist/quelvano-$version-win64-setup.exe
# A folder of Wine's user, as a Unix path.
user_folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
dir="$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\Quelvano"
udir=$(winepath -u "$dir" 2>/dev/null)
[ -n "$udir" ] || fail "no per-user folder"
menu_link="$(user_folder APPDATA)/Microsoft/Windows/Start Menu/Programs/Quelvano.lnk"
desktop_link=$(user_folder USERPROFILE)/Desktop/Quelvano.lnk
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelvano'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
main_window="Quelvano v$(cut -d. -f1,2 <<<"$version") build $(cut -d. -f3 <<<"$version")"
start_program() {
  wine "$dir\\quelvano.exe" >/dev/null 2>&1 &
  program=$!
  poll shows "$main_window" "Mis configuraciones IP" || fail "the installed program shows no window"
}
gone() { [ ! -e "$udir/quelvano.exe" ] && [ ! -e "$udir/desinstalar.exe" ] && [ -z "$(reg_value "$uninstall_key" DisplayName)" ]; }

# The silent install: the programs in the per-user folder, a Start menu shortcut, the entry of
# "Aplicaciones instaladas", and each program's version resource.
wine "$setup" /S || fail "silent setup: exit $?"
for f in quelvano.exe quelvanoctl.exe desinstalar.exe; do [ -f "$udir/$f" ] || fail "no $f"; done
[ -f "$menu_link" ] || fail "no Start menu shortcut"
[ ! -e "$desktop_link" ] || fail "a silent install made a desktop shortcut"
while read -r name want; do
  got=$(reg_value "$uninstall_key" "$name")
  [ "$got" = "$want" ] || fail "uninstall entry $name: '$got', not '$want'"
done <<EOF
DisplayName Quelvano
DisplayVersion $version
Publisher Los autores de Quelvano
DisplayIcon $dir\\quelvano.exe,0
UninstallString "$dir\\desinstalar.exe"
NoModify 0x1
NoRepair 0x1
EOF
[ $(( $(reg_value "$uninstall_key" EstimatedSize) )) -gt 1000 ] || fail "no EstimatedSize"
for exe in quelvano quelvanoctl; do
  info=$(wrestool -x --raw -t16 "$udir/$exe.exe" | strings -el)
  for want in "$version.0" Quelvano "Copyright (C) los autores de Quelvano" "$exe.exe"; do
    grep -qxF -- "$want" <<<"$info" || fail "$exe.exe: no '$want' in its version resource"
  done
done

# The installed program writes its database beside itself and shows its window; while it runs,
# a silent setup refuses (the prompt to close it answers Cancel) and replaces nothing.
start_program
[ -s "$udir/quelvano.ipdb" ] || fail "no database in $udir"
wine "$setup" /S
rc=$?
[ "$rc" -eq 2 ] || fail "setup while the program runs: exit $rc"
kill "$program"; wait "$program" 2>/dev/null

# An install over it keeps the database; the silent uninstall keeps it too, and takes the rest,
# with the Run value that the options dialog wrote for this copy.
before=$(md5sum <"$udir/quelvano.ipdb")
wine "$setup" /S || fail "second silent setup: exit $?"
[ "$(md5sum <"$udir/quelvano.ipdb")" = "$before" ] || fail "the second install changed the database"
wine reg add "$run_key" /v Quelvano /d "$dir\\quelvano.exe" /f >/dev/null 2>&1
wine "$udir/desinstalar.exe" /S
poll gone || fail "the silent uninstall left the programs or the entry"
[ "$(md5sum <"$udir/quelvano.ipdb")" = "$before" ] || fail "the silent uninstall lost the database"
[ ! -e "$menu_link" ] || fail "the uninstall left the Start menu shortcut"
[ -z "$(reg_value "$run_key" Quelvano)" ] || fail "the uninstall left the Run value"

# The setup's pages, as a person clicks through them, over the database kept above.
title="Instalación de Quelvano"
wine "$setup" >/dev/null 2>&1 &
poll shows "$title" "Bienvenido al Asistente de Instalación de Quelvano" || fail "no welcome page"
shot setup-1-bienvenida
probe "$title" "&Siguiente >"
poll shows "$title" "Quelvano puede iniciarse al entrar en Windows" || fail "no Iniciar con Windows page"
probe "$title" "Iniciar con Windows"
shot setup-2-iniciar-con-windows
probe "$title" "&Instalar"
poll shows "$title" "Completando el Asistente de Instalación de Quelvano" || fail "no finish page"
probe "$title" "Crear un acceso directo en el &escritorio"
shot setup-3-terminar
probe "$title" "&Terminar"
poll shows "$main_window" "Mis configuraciones IP" || fail "Ejecutar Quelvano started nothing"
shot programa-instalado
[ -f "$desktop_link" ] || fail "no desktop shortcut"
[ "$(reg_value "$run_key" Quelvano)" = "$dir\\quelvano.exe" ] || fail "no Run value"
[ "$(md5sum <"$udir/quelvano.ipdb")" = "$before" ] || fail "the setup changed the database"

# The uninstaller's questions: close the running program, then keep the database (No).
title="Desinstalación de Quelvano"
wine "$udir/desinstalar.exe" >/dev/null 2>&1 &
poll shows "$title" "Quelvano se encuentra en ejecucion." || fail "no prompt to close Quelvano"
shot desinstalar-1-cerrar-quelvano
wine taskkill /f /im quelvano.exe >/dev/null 2>&1
poll eval '[ -z "$(probe "$main_window")" ]' || fail "the program did not end"
probe "$title" "#4" # Reintentar
poll shows "$title" "Desinstalar Quelvano" || fail "no confirm page"
shot desinstalar-2-confirmar
probe "$title" "&Desinstalar"
poll shows "$title" "¿Desea borrar tambien la base de datos" || fail "no database question"
shot desinstalar-3-base-de-datos
probe "$title" "#7" # No
poll gone || fail "the uninstall left the programs or the entry"
[ "$(md5sum <"$udir/quelvano.ipdb")" = "$before" ] || fail "answering No lost the database"
[ ! -e "$desktop_link" ] || fail "the uninstall left the desktop shortcut"
[ -z "$(reg_value "$run_key" Quelvano)" ] || fail "the uninstall left the Run value"

# The portable zip: a folder in the profile, the database written beside the programs.
portable=$(user_folder USERPROFILE)/Quelvano
unzip -q -d "$(dirname "$portable")" "$dist/quelvano-$version-win64.zip" || fail "cannot unzip"
[ -f "$portable/LEEME.txt" ] || fail "no LEEME.txt"
[ "$(wine "$portable/quelvanoctl.exe" --version 2>/dev/null | head -1 | tr -d '\r')" = \
  "quelvanoctl (Quelvano) $version" ] || fail "portable quelvanoctl --version"
wine "$portable/quelvanoctl.exe" list >/dev/null 2>&1 || fail "portable quelvanoctl list"
[ -s "$portable/quelvano.ipdb" ] || fail "the portable copy wrote no database beside itself"
echo "windows package: all checks passed"
