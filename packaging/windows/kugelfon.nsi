; The installer of Kugelfon for Windows. CMake's "setup" target runs
;   makensis -INPUTCHARSET UTF8 -DVERSION=<project version> -DEXE=...\Kugelfon.exe -DICON=... -DLICENSE=... -DOUTFILE=... kugelfon.nsi
; Per machine, under "Programme"; /S installs and uninstalls silently.
; A 64-bit installer, like the program: it runs where Kugelfon runs, and
; Wine without its 32-bit half runs it too.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kugelfon"

Name "Kugelfon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kugelfon"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Kugelfon ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Kugelfon"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "Kugelfon ${VERSION} – Installation"
VIAddVersionKey /LANG=1031 "CompanyName" "Kugelfon-Projekt"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Dieser Assistent installiert Kugelfon ${VERSION}, den Bingo-Ausrufer, auf diesem Computer.$\r$\n$\r$\nKugelfon zieht die Zahlen eines Bingo-Spiels, zeigt sie groß an, sagt sie an und druckt Spielscheine.$\r$\n$\r$\nKlicken Sie auf Weiter, um fortzufahren."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kugelfon.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--fenster"
!define MUI_FINISHPAGE_RUN_TEXT "Kugelfon jetzt starten"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "Kugelfon braucht ein 64-Bit-Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Kugelfon" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=Kugelfon.exe" "${EXE}"
    WriteUninstaller "$INSTDIR\Deinstallieren.exe"
    CreateShortcut "$SMPROGRAMS\Kugelfon.lnk" "$INSTDIR\Kugelfon.exe" "--fenster" "$INSTDIR\Kugelfon.exe" 0 SW_SHOWNORMAL "" "Bingo-Zahlen ziehen, anzeigen und ansagen"
    CreateShortcut "$SMPROGRAMS\Kugelfon mit Saalanzeige.lnk" "$INSTDIR\Kugelfon.exe" "--fenster --saalanzeige" "$INSTDIR\Kugelfon.exe" 0 SW_SHOWNORMAL "" "Kugelfon mit einer Saalanzeige für die Spieler auf einem zweiten Bildschirm"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kugelfon"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kugelfon-Projekt"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kugelfon.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Desktop-Verknüpfung" SecDesktop
    CreateShortcut "$DESKTOP\Kugelfon.lnk" "$INSTDIR\Kugelfon.exe" "--fenster" "$INSTDIR\Kugelfon.exe" 0 SW_SHOWNORMAL "" "Bingo-Zahlen ziehen, anzeigen und ansagen"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Das Programm Kugelfon mit den Einträgen „Kugelfon“ und „Kugelfon mit Saalanzeige“ im Startmenü."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Eine Verknüpfung „Kugelfon“ auf dem Desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Delete "$INSTDIR\Kugelfon.exe"
    Delete "$INSTDIR\Deinstallieren.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Kugelfon.lnk"
    Delete "$SMPROGRAMS\Kugelfon mit Saalanzeige.lnk"
    Delete "$DESKTOP\Kugelfon.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
