; The per-user setup of Quelvano. scripts/package.sh runs makensis with:
;   VERSION  the release, 1.47.351
;   BINDIR   the folder holding the release build's quelvano.exe and quelvanoctl.exe
;   ICON     the program's icon (.ico)
;   SIDE     the picture beside the first and last pages (164 x 314)
;   OUTFILE  the setup file to write
; It needs no administrator rights: everything goes into the user's own profile and registry.

; The program is 64-bit only, and so is its setup (Wine here runs 64-bit programs only too).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "nsDialogs.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelvano"
; The value the options dialog's "Iniciar con Windows" writes: the exe's full path, unquoted.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quelvano"
!define PUBLISHER "Los autores de Quelvano"

Name "Quelvano"
OutFile "${OUTFILE}"
; A folder of the user's profile: only the user (with SYSTEM and the administrators) can write
; it, so the database beside the program is the user's and the program may ask for elevation
; from there. No page lets the user pick another.
InstallDir "$LOCALAPPDATA\Programs\Quelvano"
BrandingText "Quelvano ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=3082 "ProductName" "Quelvano"
VIAddVersionKey /LANG=3082 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=3082 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=3082 "FileDescription" "Instalacion de Quelvano"
VIAddVersionKey /LANG=3082 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=3082 "LegalCopyright" "Copyright (C) los autores de Quelvano"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Este asistente instala Quelvano ${VERSION} para su usuario en$\r$\n$INSTDIR.$\r$\nNo hace falta permiso de administrador.$\r$\n$\r$\nSi Quelvano ya esta instalado, sus configuraciones IP se conservan.$\r$\n$\r$\nPresione Siguiente para continuar."
!define MUI_FINISHPAGE_RUN "$INSTDIR\quelvano.exe"
; The desktop shortcut is the finish page's second choice, off unless ticked.
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Crear un acceso directo en el &escritorio"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION CreateDesktopShortcut

Var RunCheckBox
Var StartWithWindows

!insertmacro MUI_PAGE_WELCOME
Page custom StartWithWindowsPage StartWithWindowsLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

; Quelvano holds its mutex while it runs; its files can't be replaced or removed until it ends.
!macro WaitForQuelvanoToClose
  running:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Quelvano") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Quelvano se encuentra en ejecucion.$\r$\nCierre Quelvano y vuelva a intentarlo." \
        /SD IDCANCEL IDRETRY running
      SetErrorLevel 2
      Quit
    ${EndIf}
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro WaitForQuelvanoToClose
  ; Ticked when the program already starts with Windows from this folder.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\quelvano.exe"
    StrCpy $StartWithWindows ${BST_CHECKED}
  ${Else}
    StrCpy $StartWithWindows ${BST_UNCHECKED}
  ${EndIf}
FunctionEnd

Function StartWithWindowsPage
  !insertmacro MUI_HEADER_TEXT "Iniciar con Windows" \
    "Quelvano puede iniciarse al entrar en Windows, al costado del reloj."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u \
    "Marque la casilla para que Quelvano se inicie cada vez que usted entra en Windows. Puede cambiarlo despues en Herramientas, Opciones del sistema."
  Pop $0
  ${NSD_CreateCheckBox} 0 44u 100% 12u "Iniciar con Windows"
  Pop $RunCheckBox
  ${NSD_SetState} $RunCheckBox $StartWithWindows
  nsDialogs::Show
FunctionEnd

Function StartWithWindowsLeave
  ${NSD_GetState} $RunCheckBox $StartWithWindows
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  ; Only the programs are written: a quelvano.ipdb of an earlier install stays as it is.
  File "${BINDIR}/quelvano.exe"
  File "${BINDIR}/quelvanoctl.exe"
  WriteUninstaller "$INSTDIR\desinstalar.exe"
  CreateShortcut "$SMPROGRAMS\Quelvano.lnk" "$INSTDIR\quelvano.exe"

  ; Silent installs leave the setting as it was.
  ${IfNot} ${Silent}
    ${If} $StartWithWindows == ${BST_CHECKED}
      WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\quelvano.exe"
    ${Else}
      Call RemoveOurRunValue
    ${EndIf}
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quelvano"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quelvano.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\desinstalar.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\desinstalar.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function CreateDesktopShortcut
  CreateShortcut "$DESKTOP\Quelvano.lnk" "$INSTDIR\quelvano.exe"
FunctionEnd

; The Run value goes only when it is this install's: another copy of the program may own it.
!macro RemoveOurRunValue un
  Function ${un}RemoveOurRunValue
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\quelvano.exe"
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro RemoveOurRunValue ""
!insertmacro RemoveOurRunValue "un."

Function un.onInit
  SetShellVarContext current
  !insertmacro WaitForQuelvanoToClose
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\quelvano.exe"
  Delete "$INSTDIR\quelvanoctl.exe"
  Delete "$SMPROGRAMS\Quelvano.lnk"
  Delete "$DESKTOP\Quelvano.lnk"
  Call un.RemoveOurRunValue
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The IP sets are the user's work: kept unless the user says otherwise, and always kept by /S.
  ${If} ${FileExists} "$INSTDIR\quelvano.ipdb"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "¿Desea borrar tambien la base de datos con sus configuraciones IP (quelvano.ipdb)?" \
      /SD IDNO IDNO KeepDatabase
    Delete "$INSTDIR\quelvano.ipdb"
    Delete "$INSTDIR\quelvano.ipdb-journal"
  ${EndIf}
  KeepDatabase:
  Delete "$INSTDIR\desinstalar.exe"
  RMDir "$INSTDIR"
SectionEnd
