; The LumraSaver installer: puts the lumra.scr that fits the system into the
; real System32, optionally makes it the current user's screen saver, and
; registers an uninstaller that takes all of it away again.
; Built by scripts/make-dist, which defines VERSION, OUTFILE, WIN32_SCR,
; WIN64_SCR and ICON, X64_STUB for the twin built on the 64-bit stub, and
; SIGN, a command that signs the file it is given, when releases are signed.

!ifdef X64_STUB
Target amd64-unicode
!else
Unicode true
!endif

; On the 64-bit stub ${RunningX64} is decided while compiling, which leaves
; LogicLib's label for the other branch unused.
!pragma warning disable 6012

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\LumraSaver"
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo(SPI_SETSCREENSAVEACTIVE, on, 0, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
!define SCREEN_SAVE_ACTIVE 'user32::SystemParametersInfo(i 17, i $R9, p 0, i 3)'

Name "LumraSaver ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; Only the uninstaller lives here; the screen saver itself must be in
; System32, where the screen-saver settings look for it.
InstallDir "$PROGRAMFILES64\LumraSaver"
SetCompressor /SOLID lzma
; Stored file dates would make the installer's bytes depend on when the
; files were built; installed files get the time they are installed.
SetDateSave off

; The uninstaller is made while compiling, inside the installer: it must be
; signed then, for WriteUninstaller writes out exactly these bytes.
!ifdef SIGN
!uninstfinalize '"${SIGN}" "%1"'
!finalize '"${SIGN}" "%1"'
!endif

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "LumraSaver"
VIAddVersionKey CompanyName "The Lumra team"
VIAddVersionKey FileDescription "LumraSaver setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (C) 2026 The Lumra team"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A 32-bit installer on 64-bit Windows would otherwise see SysWOW64 as
; System32 and write to the 32-bit registry view. Redirection is off only
; around the file operations: with it off, a 32-bit process that loads a
; system DLL (a plug-in's imports) would find the 64-bit one.
!macro NativeFiles
    ${If} ${RunningX64}
        ${DisableX64FSRedirection}
    ${EndIf}
!macroend
!macro RedirectedFiles
    ${If} ${RunningX64}
        ${EnableX64FSRedirection}
    ${EndIf}
!macroend
!macro NativeRegistry
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
!macroend

Section "LumraSaver" SectionSaver
    SectionIn RO
    !insertmacro NativeFiles
    SetOutPath $SYSDIR
    ${If} ${RunningX64}
        File /oname=lumra.scr "${WIN64_SCR}"
    ${Else}
        File /oname=lumra.scr "${WIN32_SCR}"
    ${EndIf}
    ${GetSize} $SYSDIR "/M=lumra.scr /S=0K /G=0" $0 $1 $2
    !insertmacro RedirectedFiles

    SetOutPath $INSTDIR
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ${GetSize} $INSTDIR "/S=0K /G=0" $1 $2 $3
    IntOp $0 $0 + $1
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "LumraSaver"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "The Lumra team"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$SYSDIR\lumra.scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

Section "Use LumraSaver as my screen saver" SectionChoose
    WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE "$SYSDIR\lumra.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive "1"
    StrCpy $R9 1
    System::Call '${SCREEN_SAVE_ACTIVE}'
SectionEnd

; Choosing the screen saver is on by default, silent installs included;
; /SETSAVER=0 leaves the user's current choice alone.
Function .onInit
    !insertmacro NativeRegistry
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SETSAVER=" $1
    ${IfNot} ${Errors}
    ${AndIf} $1 == "0"
        !insertmacro UnselectSection ${SectionChoose}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro NativeRegistry
FunctionEnd

; The user's options key (Software\VelmoranSaverLumra0_01) is their data and
; stays; the screen-saver choice goes only if it still names this file.
Section "Uninstall"
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
    ${If} $0 == "$SYSDIR\lumra.scr"
        DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
        WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive "0"
        StrCpy $R9 0
        System::Call '${SCREEN_SAVE_ACTIVE}'
    ${EndIf}
    !insertmacro NativeFiles
    Delete /REBOOTOK "$SYSDIR\lumra.scr"
    !insertmacro RedirectedFiles
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd
