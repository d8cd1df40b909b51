; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: Ratinor into Program Files, a Start-menu entry that starts it in
; the user's Documents folder (where Ratinor.ini may be written, never in Program Files),
; and an uninstaller that leaves nothing behind but the user's Ratinor.ini.
; makensis -DSOURCE=<folder with ratinor.exe, LIESMICH.txt, LIZENZ.txt> -DOUTFILE=<setup.exe>
;          [-DTARGET=amd64-unicode]
Unicode true
!ifdef TARGET
Target ${TARGET} ; amd64-unicode: the same installer as a 64-bit program, to try under wine64
!endif
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"

Name "Ratinor 1.2"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Ratinor"
ShowInstDetails nevershow
VIProductVersion 1.2.0.0
VIAddVersionKey /LANG=1031 ProductName "Ratinor"
VIAddVersionKey /LANG=1031 FileDescription "Ratinor 1.2 einrichten"
VIAddVersionKey /LANG=1031 FileVersion "1.2"
VIAddVersionKey /LANG=1031 LegalCopyright "GNU GPL, Version 3 oder neuer"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ratinor"

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${SOURCE}\ratinor.exe"
    File "${SOURCE}\LIESMICH.txt"
    File "${SOURCE}\LIZENZ.txt"
    WriteUninstaller "$INSTDIR\Deinstallieren.exe"
    ; The entry's working folder is the one SetOutPath names last.
    SetShellVarContext current
    SetOutPath "$DOCUMENTS"
    SetShellVarContext all
    CreateShortCut "$SMPROGRAMS\Ratinor.lnk" "$INSTDIR\ratinor.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Ratinor 1.2"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.2"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ratinor.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Ratinor.lnk"
    Delete "$INSTDIR\ratinor.exe"
    Delete "$INSTDIR\LIESMICH.txt"
    Delete "$INSTDIR\LIZENZ.txt"
    Delete "$INSTDIR\Deinstallieren.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
