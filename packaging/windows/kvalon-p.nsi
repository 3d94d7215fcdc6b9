; The Windows installer of Kvalon-P: the batch program with its font and
; documentation in the 64-bit Program Files, the font also in the system's
; fonts folder (registered), a Start-menu folder and an uninstaller that
; takes all of it away again, registry entries included. "/S" installs and
; uninstalls silently, for offices that roll it out.
;
;   makensis -DVERSION=1.2.0 -DFILES=out/windows -DDOCS=docs -DOUTFILE=... kvalon-p.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Kvalon-P"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define FONTS_KEY "Software\Microsoft\Windows NT\CurrentVersion\Fonts"
!define FONT_VALUE "CourierCyr (TrueType)"
!define FONT_FILE "crcn.ttf"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails nevershow
ShowUninstDetails nevershow

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Bulgarian"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Kvalon-P"
    SetOutPath "$INSTDIR"
    File "${FILES}/kvalon-p.exe"
    ; The program reads its font from its own folder too.
    File "${FILES}/${FONT_FILE}"
    File "${FILES}/OFL.txt"
    SetOutPath "$INSTDIR\docs"
    File "${DOCS}/windows.md"
    File "${DOCS}/dos-emulators.md"
    File "${DOCS}/code-pages.md"
    File "${DOCS}/escp.md"

    ; The font for every program and printer driver: a font in use is left
    ; as it is and counts as installed.
    SetOverwrite try
    File "/oname=$FONTS\${FONT_FILE}" "${FILES}/${FONT_FILE}"
    SetOverwrite on
    WriteRegStr HKLM "${FONTS_KEY}" "${FONT_VALUE}" "${FONT_FILE}"
    System::Call "gdi32::AddFontResourceW(w '$FONTS\${FONT_FILE}') i"
    SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Kvalon-P на Windows.lnk" "$WINDIR\notepad.exe" \
        '"$INSTDIR\docs\windows.md"'
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Премахване на Kvalon-P.lnk" "$INSTDIR\uninstall.exe"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    System::Call "gdi32::RemoveFontResourceW(w '$FONTS\${FONT_FILE}') i"
    SendMessage ${HWND_BROADCAST} ${WM_FONTCHANGE} 0 0 /TIMEOUT=2000
    Delete /REBOOTOK "$FONTS\${FONT_FILE}"
    DeleteRegValue HKLM "${FONTS_KEY}" "${FONT_VALUE}"

    Delete "$SMPROGRAMS\${PRODUCT}\Kvalon-P на Windows.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Премахване на Kvalon-P.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    Delete "$INSTDIR\kvalon-p.exe"
    Delete "$INSTDIR\${FONT_FILE}"
    Delete "$INSTDIR\OFL.txt"
    Delete "$INSTDIR\docs\windows.md"
    Delete "$INSTDIR\docs\dos-emulators.md"
    Delete "$INSTDIR\docs\code-pages.md"
    Delete "$INSTDIR\docs\escp.md"
    RMDir "$INSTDIR\docs"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
