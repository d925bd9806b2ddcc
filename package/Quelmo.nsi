; Quelmo's installer and uninstaller.
;
; Installs Quelmo.exe and its documents into Program Files, makes Quelmo.ini there writable for
; the users (Quelmo keeps its settings beside the executable), adds Start-menu shortcuts and the
; entry in "Apps", and starts Quelmo with Windows on request. Neither goes on while Quelmo runs.
;
; Built by package/CMakeLists.txt:
;   makensis -DVERSION=2.0.2 "-DVERSION_TEXT=2.0.2 Beta" -DSTAGE=<folder with the files>
;            -DICON=<Quelmo.ico> -DWELCOME=<164x314 BMP> -DOUTFILE=<setup.exe> Quelmo.nsi
; Command line of the result: /S (silent), /AUTORUN (start with Windows), /D=folder (last).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Quelmo"
!define PUBLISHER "The Quelmo developers"
!define WEBSITE "https://quelmo.org/"
; Quelmo holds this mutex while it runs.
!define MUTEX "Quelmo [by Ostrel] @ Vantrell"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelmo"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "Uninstall.exe"
; Modify rights on a file (read, write, execute, delete), as icacls grants with "M".
!define FILE_MODIFY 0x1301BF
!define USERS_SID "S-1-5-32-545"
; Exit code when Setup gives up because Quelmo runs (the user's Cancel, or silent mode).
!define EXIT_QUELMO_RUNNING 2

Name "${PRODUCT}" "${PRODUCT}"
Caption "${PRODUCT} ${VERSION_TEXT} Setup"
UninstallCaption "${PRODUCT} ${VERSION_TEXT} Uninstall"
BrandingText "${PRODUCT} ${VERSION_TEXT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION_TEXT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Quelmo developers"
VIAddVersionKey /LANG=1033 "OriginalFilename" "Quelmo-${VERSION}-setup.exe"

; ---- Pages ---------------------------------------------------------------------------------------

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${PRODUCT} ${VERSION_TEXT}"
!define MUI_WELCOMEPAGE_TEXT "Quelmo is a small resource monitor: a compact window with the \
processor clock, the memory use, a processor gauge and a graph of the load, and a tray icon \
that shows the load as well.$\r$\n$\r$\nSetup installs Quelmo for every user of this \
computer. If Quelmo is running, please close it before you go on.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_LICENSEPAGE_TEXT_TOP "Quelmo is free of charge. Please read its terms and those of the libraries built into it."
!insertmacro MUI_PAGE_LICENSE "${STAGE}/Copyrights.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Start Quelmo from the Start menu. Ctrl+Alt+F11 hides its window \
and shows it again; a right-click on the window opens its menu.$\r$\n$\r$\nClick Finish to close Setup."
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the README"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---- Shared by installer and uninstaller ---------------------------------------------------------

; Waits until no copy of Quelmo runs: it asks to close Quelmo, Retry looks again, Cancel (and
; silent mode) ends with EXIT_QUELMO_RUNNING before anything was changed.
!macro DEFINE_ENSURE_QUELMO_CLOSED PREFIX
Function ${PREFIX}EnsureQuelmoClosed
    Push $0
    Push $1
  look:
    ; SYNCHRONIZE is all it takes to open it; "denied" means it exists all the same.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${MUTEX}") p .r0 ?e'
    Pop $1
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
        Pop $1
        Pop $0
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quelmo is running.$\r$\n$\r$\nPlease close it \
(its menu: Exit), then choose Retry. Cancel leaves everything as it is." /SD IDCANCEL IDRETRY look
    SetErrorLevel ${EXIT_QUELMO_RUNNING}
    Quit
FunctionEnd
!macroend
!insertmacro DEFINE_ENSURE_QUELMO_CLOSED ""
!insertmacro DEFINE_ENSURE_QUELMO_CLOSED "un."

; $1 := the long path of this copy's Quelmo.exe; $0 := the Run value exactly as Quelmo writes it,
; that path in quotes when it holds a blank. Quelmo's settings dialog then sees it as its own.
!macro DEFINE_RUN_VALUE_FUNCTIONS PREFIX
Function ${PREFIX}GetRunCommand
    System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR\Quelmo.exe", w .r1, i ${NSIS_MAX_STRLEN}) i .r0'
    ${If} $0 = 0
    ${OrIf} $0 >= ${NSIS_MAX_STRLEN}
        StrCpy $1 "$INSTDIR\Quelmo.exe"
    ${EndIf}
    StrCpy $0 $1
    System::Call 'shlwapi::StrChrW(w r1, i 32) p .r2'
    ${If} $2 P<> 0
        StrCpy $0 '"$1"'
    ${EndIf}
FunctionEnd

; Removes the Run value when it names this copy, with or without quotes (Quelmo.exe /uninstall
; removes any).
Function ${PREFIX}RemoveOwnRunValue
    Call ${PREFIX}GetRunCommand
    ReadRegStr $2 HKLM "${RUN_KEY}" "Quelmo"
    ${If} $2 == '"$1"'
    ${OrIf} $2 == $1
        DeleteRegValue HKLM "${RUN_KEY}" "Quelmo"
    ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_RUN_VALUE_FUNCTIONS ""
!insertmacro DEFINE_RUN_VALUE_FUNCTIONS "un."

; ---- Installer -----------------------------------------------------------------------------------

Section "Quelmo" SecProgram
    SectionIn RO
    Call EnsureQuelmoClosed
    SetOutPath "$INSTDIR"
    File "${STAGE}/Quelmo.exe"
    File "${STAGE}/History.txt"
    File "${STAGE}/Copyrights.txt"
    File "${STAGE}/README.txt"
    ; Quelmo reads and writes its settings beside Quelmo.exe. Users may not create files here, so
    ; the file is made now (an existing one is kept) and they are allowed to change it.
    ${IfNot} ${FileExists} "$INSTDIR\Quelmo.ini"
        FileOpen $0 "$INSTDIR\Quelmo.ini" w
        FileWrite $0 "[General]$\r$\n"
        FileClose $0
    ${EndIf}
    Call LetUsersChangeSettings
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quelmo.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start menu shortcuts" SecShortcuts
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Quelmo.exe" "" \
        "$INSTDIR\Quelmo.exe" 0 SW_SHOWNORMAL "" "Resource monitor: processor and memory use"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Version History.lnk" "$INSTDIR\History.txt"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"
SectionEnd

; Setup writes the Run value as Quelmo.exe /install would, so that Quelmo's settings dialog sees
; the registration as its own: one question (this page) instead of Quelmo asking again.
Section /o "Start with Windows" SecAutoRun
    Call GetRunCommand
    WriteRegStr HKLM "${RUN_KEY}" "Quelmo" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Quelmo.exe, its version history, copyrights and README."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecShortcuts} "Quelmo, its version history and its uninstaller in the Start menu."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutoRun} "Start Quelmo whenever somebody signs in to Windows. Quelmo's settings can change this later."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    Call EnsureQuelmoClosed
    ; Registered already (an earlier install): keep it so, unless the user unticks it.
    Call GetRunCommand
    ReadRegStr $2 HKLM "${RUN_KEY}" "Quelmo"
    ${If} $2 == '"$1"'
    ${OrIf} $2 == $1
        !insertmacro SelectSection ${SecAutoRun}
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTORUN" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecAutoRun}
    ${EndIf}
FunctionEnd

; After the files: an unticked "Start with Windows" takes back our own registration.
Function .onInstSuccess
    ${IfNot} ${SectionIsSelected} ${SecAutoRun}
        Call RemoveOwnRunValue
    ${EndIf}
FunctionEnd

; Users get modify rights on Quelmo.ini (and on nothing else of the folder): its DACL gains an
; allowing entry for the Users group, the entries it has stay.
Function LetUsersChangeSettings
    StrCpy $R0 "$INSTDIR\Quelmo.ini"
    StrCpy $R9 1 ; the step that failed, for the message
    System::Call 'advapi32::ConvertStringSidToSidW(w "${USERS_SID}", *p .R1) i .r0'
    ${If} $0 <> 0
        StrCpy $R9 2
        ; SE_FILE_OBJECT 1, DACL_SECURITY_INFORMATION 4
        System::Call 'advapi32::GetNamedSecurityInfoW(w R0, i 1, i 4, p 0, p 0, *p .R2, p 0, *p .R3) i .r0'
        ${If} $0 = 0
            StrCpy $R9 3
            ; EXPLICIT_ACCESS_W: rights, GRANT_ACCESS, NO_INHERITANCE, and its TRUSTEE_W: no
            ; multiple trustee, TRUSTEE_IS_SID, TRUSTEE_IS_WELL_KNOWN_GROUP, the SID.
            System::Call '*(i ${FILE_MODIFY}, i 1, i 0, p 0, i 0, i 0, i 5, p R1) p .R4'
            System::Call 'advapi32::SetEntriesInAclW(i 1, p R4, p R2, *p .R5) i .r0'
            ${If} $0 = 0
                StrCpy $R9 4
                System::Call 'advapi32::SetNamedSecurityInfoW(w R0, i 1, i 4, p 0, p 0, p R5, p 0) i .r0'
                ${If} $0 = 0
                    StrCpy $R9 0
                ${EndIf}
                System::Call 'kernel32::LocalFree(p R5)'
            ${EndIf}
            System::Free $R4
            System::Call 'kernel32::LocalFree(p R3)'
        ${EndIf}
        System::Call 'kernel32::LocalFree(p R1)'
    ${EndIf}
    ${If} $R9 <> 0
        DetailPrint "Could not let the users change $R0 (step $R9, error $0)."
        MessageBox MB_OK|MB_ICONEXCLAMATION "Setup could not allow the users to change $R0.$\r$\n$\r$\n\
Quelmo will keep its settings only when run as an administrator." /SD IDOK
    ${EndIf}
FunctionEnd

; ---- Uninstaller ---------------------------------------------------------------------------------

Function un.onInit
    Call un.EnsureQuelmoClosed
FunctionEnd

Section "Uninstall"
    Call un.EnsureQuelmoClosed
    StrCpy $R0 0
    ${If} ${FileExists} "$INSTDIR\Quelmo.ini"
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your Quelmo settings as well?$\r$\n$\r$\n\
Choose No to keep them ($INSTDIR\Quelmo.ini) for a later installation." /SD IDNO IDNO +2
        StrCpy $R0 1
    ${EndIf}
    ; Quelmo takes back its own start with Windows; should it not run, ours goes all the same.
    ${If} ${FileExists} "$INSTDIR\Quelmo.exe"
        ExecWait '"$INSTDIR\Quelmo.exe" /uninstall'
    ${EndIf}
    Call un.RemoveOwnRunValue

    Delete "$INSTDIR\Quelmo.exe"
    Delete "$INSTDIR\History.txt"
    Delete "$INSTDIR\Copyrights.txt"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    ${If} $R0 = 1
        Delete "$INSTDIR\Quelmo.ini"
    ${EndIf}
    RMDir "$INSTDIR"

    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Version History.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
