; Deinstallieren.exe, the uninstaller the installer puts beside Kugelfon.exe.
; CMake builds it before the installer:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<project version> -DICON=... -DOUTFILE=...\Deinstallieren.exe deinstallieren.nsi
; An NSIS installer, not an NSIS uninstaller: those hand their work to a copy
; of themselves and end at once with status 0, so nobody could wait for them
; or learn that they failed. This one removes what it can while it runs,
; and its exit status says whether it did; a copy in the temporary folder then
; removes Deinstallieren.exe itself and the folders the installer made.
;   Deinstallieren.exe [/S]        uninstalls the install it lies in
;   ... /S _?=<folder>             the same, called by an installer, which
;                                  then removes Deinstallieren.exe and the folders
!include "kugelfon.nsh"
!include "nsDialogs.nsh"

Name "Kugelfon ${VERSION}"
Caption "$(^UninstallCaption)"
OutFile "${OUTFILE}"
VIAddVersionKey /LANG=1031 "FileDescription" "Kugelfon ${VERSION} – Deinstallation"

!define MUI_ABORTWARNING
!define MUI_ABORTWARNING_TEXT "Möchten Sie die Deinstallation von Kugelfon abbrechen?"
Page custom ConfirmPage
!define MUI_PAGE_HEADER_TEXT "Kugelfon wird deinstalliert"
!define MUI_PAGE_HEADER_SUBTEXT "Bitte warten Sie, während Kugelfon entfernt wird."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "Deinstallation abgeschlossen"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "Kugelfon wurde von diesem Computer entfernt."
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "Deinstallation abgebrochen"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "Kugelfon wurde nicht entfernt."
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

; The outermost folder the installer made, as it recorded it.
Var CreatedFolder

Function .onInit
    SetRegView 64
    SetShellVarContext all
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/aufraeumen=" $R1
    ${IfNot} ${Errors}
        Call FinishRemoval
        Quit
    ${EndIf}
    StrCpy $INSTDIR $EXEDIR
    Call RequireKugelfonClosed
FunctionEnd

Function ConfirmPage
    !insertmacro MUI_HEADER_TEXT "$(^UninstallCaption)" "Kugelfon wird von diesem Computer entfernt."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u "Kugelfon wird mit seinen Einträgen im Startmenü und auf dem Desktop von diesem Computer entfernt."
    Pop $0
    ${NSD_CreateLabel} 0 30u 100% 10u "Installationsordner:"
    Pop $0
    ${NSD_CreateText} 0 42u 100% 12u "$INSTDIR"
    Pop $0
    SendMessage $0 ${EM_SETREADONLY} 1 0
    ${NSD_CreateLabel} 0 66u 100% 24u "$(^ClickUninstall)"
    Pop $0
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^UninstallBtn)"
    nsDialogs::Show
FunctionEnd

Section
retry:
    ; Kugelfon.exe goes first: while it cannot (a Kugelfon started since the
    ; first question, or one too old to be seen), nothing else is removed.
    Call RequireKugelfonClosed
    ClearErrors
    Delete "$INSTDIR\Kugelfon.exe"
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Abort
    ${EndIf}
    ; The links and the entry under the installed apps belong to this folder
    ; only while it is the one installed.
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 == $INSTDIR
        ReadRegStr $CreatedFolder HKLM "${UNINSTALL_KEY}" "CreatedFolder"
        Delete "$SMPROGRAMS\Kugelfon.lnk"
        Delete "$SMPROGRAMS\Kugelfon mit Saalanzeige.lnk"
        Delete "$DESKTOP\Kugelfon.lnk"
        DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd

; Deinstallieren.exe cannot delete itself while it runs: a copy of it in the
; temporary folder waits for it to end and removes it and the folders.
Function .onInstSuccess
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "_?=" $R1
    ${If} ${Errors}
        GetTempFileName $R2
        CopyFiles /SILENT "$EXEPATH" $R2
        Exec '"$R2" /S /aufraeumen="$CreatedFolder" /D=$INSTDIR'
    ${EndIf}
FunctionEnd

; The copy's work: it waits up to a minute for Deinstallieren.exe to end,
; then removes it and the folders. The copy itself goes at the next start
; of Windows, as NSIS's own uninstallers leave theirs.
Function FinishRemoval
    ${For} $R2 1 240
        ClearErrors
        Delete "$INSTDIR\Deinstallieren.exe"
        ${IfNot} ${Errors}
            ${ExitFor}
        ${EndIf}
        Sleep 250
    ${Next}
    StrCpy $R0 $INSTDIR
    Call RemoveCreatedFolders
    Delete /REBOOTOK "$EXEPATH"
FunctionEnd
