; The installer of Kugelfon for Windows. CMake's "setup" target runs
;   makensis -INPUTCHARSET UTF8 -DVERSION=<project version> -DEXE=...\Kugelfon.exe -DUNINSTALLER=...\Deinstallieren.exe -DICON=... -DLICENSE=... -DOUTFILE=... kugelfon.nsi
; Per machine, under "Programme"; /S installs silently. An earlier install
; goes first, wherever it is; a running Kugelfon stops the install.
!include "kugelfon.nsh"

Name "Kugelfon ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kugelfon"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIAddVersionKey /LANG=1031 "FileDescription" "Kugelfon ${VERSION} – Installation"

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
!insertmacro MUI_LANGUAGE "German"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "Kugelfon braucht ein 64-Bit-Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    SetShellVarContext all
    Call RequireKugelfonClosed
FunctionEnd

; The outermost folder of $INSTDIR that does not exist yet (empty when
; $INSTDIR exists): the folders uninstalling may remove again.
Var CreatedFolder
Function FindCreatedFolder
    StrCpy $CreatedFolder ""
    StrCpy $R0 $INSTDIR
    ${Do}
        ${If} $R0 == ""
        ${OrIf} ${FileExists} "$R0\*.*"
            ${ExitDo}
        ${EndIf}
        StrCpy $CreatedFolder $R0
        ${GetParent} $R0 $R0
    ${Loop}
FunctionEnd

; An earlier install, in this folder or another, is uninstalled first, so
; that its uninstaller cannot later take this install's links and entry
; with it. Its uninstaller runs in place (_?=) and is waited for; what it
; cannot remove of itself goes after it.
Function RemoveEarlier
    ClearErrors
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${Errors}
    ${OrIfNot} ${FileExists} "$R0\Deinstallieren.exe"
        Return
    ${EndIf}
    ClearErrors
    ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
    ${If} ${Errors}
        ; Installed before the record was kept: its folder was all it removed.
        StrCpy $R1 $R0
    ${EndIf}
    DetailPrint "Frühere Installation entfernen: $R0"
    ClearErrors
    ExecWait '"$R0\Deinstallieren.exe" /S _?=$R0' $R2
    ${If} ${Errors}
    ${OrIf} $R2 <> 0
        MessageBox MB_OK|MB_ICONSTOP "Die frühere Installation von Kugelfon in „$R0“ lässt sich nicht entfernen." /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
    Delete "$R0\Deinstallieren.exe"
    Call RemoveCreatedFolders
FunctionEnd

Section "Kugelfon" SecProgram
    SectionIn RO
    ; Kugelfon may have been started since the first question.
    Call RequireKugelfonClosed
    Call RemoveEarlier
    Call FindCreatedFolder
    SetOutPath "$INSTDIR"
    File "/oname=Kugelfon.exe" "${EXE}"
    File "/oname=Deinstallieren.exe" "${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\Kugelfon.lnk" "$INSTDIR\Kugelfon.exe" "--fenster" "$INSTDIR\Kugelfon.exe" 0 SW_SHOWNORMAL "" "Bingo-Zahlen ziehen, anzeigen und ansagen"
    CreateShortcut "$SMPROGRAMS\Kugelfon mit Saalanzeige.lnk" "$INSTDIR\Kugelfon.exe" "--fenster --saalanzeige" "$INSTDIR\Kugelfon.exe" 0 SW_SHOWNORMAL "" "Kugelfon mit einer Saalanzeige für die Spieler auf einem zweiten Bildschirm"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Kugelfon"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Kugelfon-Projekt"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kugelfon.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolder" "$CreatedFolder"
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
