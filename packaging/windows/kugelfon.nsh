; What the installer (kugelfon.nsi) and the uninstaller (deinstallieren.nsi)
; share. Both are 64-bit installers, like the program: they run where
; Kugelfon runs, and Wine without its 32-bit half runs them too.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "x64.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kugelfon"
; Kugelfon.exe holds this mutex while it runs (platform/win/runningmark.cpp).
!define RUNNING_MUTEX "Global\KugelfonRunning"
!define RUNNING_TEXT "Kugelfon läuft noch. Bitte beenden Sie Kugelfon und klicken Sie dann auf „Wiederholen“."

BrandingText "Kugelfon ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1031 "ProductName" "Kugelfon"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "CompanyName" "Kugelfon-Projekt"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"

; $R9: 1 while a Kugelfon runs anywhere on this computer. The mutex of
; another user's Kugelfon may refuse us access, but it is there.
Function IsKugelfonRunning
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MUTEX}") p .R9 ?e'
    Pop $R8
    ${If} $R9 P<> 0
        System::Call 'kernel32::CloseHandle(p R9)'
        StrCpy $R9 1
    ${ElseIf} $R8 = 5 ; ERROR_ACCESS_DENIED
        StrCpy $R9 1
    ${Else}
        StrCpy $R9 0
    ${EndIf}
FunctionEnd

; Asks to close a running Kugelfon until it is closed; cancelled, or
; silently, the run ends with status 2 before anything has changed.
Function RequireKugelfonClosed
retry:
    Call IsKugelfonRunning
    ${If} $R9 = 1
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${RUNNING_TEXT}" /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Abort
    ${EndIf}
FunctionEnd

; Removes the install folder $R0 and the empty folders above it up to $R1,
; the outermost one the installer made for it. Nothing when $R1 is empty
; (the install folder was there before) or not $R0 or above it.
Function RemoveCreatedFolders
    StrLen $R2 "$R1\"
    StrCpy $R3 "$R0\" $R2
    ${If} $R1 == ""
    ${OrIf} $R3 != "$R1\"
        Return
    ${EndIf}
    ${Do}
        ClearErrors
        RMDir $R0
        ${If} ${Errors}
        ${OrIf} $R0 == $R1
            ${ExitDo}
        ${EndIf}
        ${GetParent} $R0 $R0
    ${Loop}
FunctionEnd
