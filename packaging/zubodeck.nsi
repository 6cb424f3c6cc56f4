; The Zubodeck installer, built by scripts/package.sh (makensis from Debian's
; nsis). Defines from the build: VERSION (1.0.0), VERSION_QUAD (1.0.0.0),
; STAGE_DIR (the three files), OUT_FILE.
;
; It installs the player and its two libraries under Program Files, one
; Start-menu entry and an uninstaller listed in Add/Remove Programs, and on
; request associates song, playlist and floppy image files with the player.
; Nothing else. A silent install (/S) takes the default associations, or
; those named by /ASSOCIATE=mid,kar,rmi,zub,m3u8,img (or none).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define APP "Zubodeck"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zubodeck"
; What each extension opened with before, to give it back on removal.
!define BACKUP_KEY "${UNINST_KEY}\PreviousAssociations"
!define CLASSES "Software\Classes"

Name "${APP} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES\${APP}"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "The Zubodeck project"
VIAddVersionKey "LegalCopyright" "The Zubodeck project"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "StrFunc.nsh"
${StrStr}

!define MUI_ICON "${STAGE_DIR}\player.ico"
!define MUI_UNICON "${STAGE_DIR}\player.ico"
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Zubodeck.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Deletes a key only when it has neither subkeys nor values.
!macro DeleteKeyIfEmpty KEY
  ClearErrors
  EnumRegValue $R8 HKLM "${KEY}" 0
  ${If} ${Errors}
    ClearErrors
    EnumRegKey $R9 HKLM "${KEY}" 0
    ${If} $R9 == ""
      DeleteRegKey HKLM "${KEY}"
    ${EndIf}
  ${EndIf}
  ClearErrors
!macroend

!macro Associate EXT PROGID DESCRIPTION
  ReadRegStr $0 HKLM "${CLASSES}\.${EXT}" ""
  ${If} $0 != "${PROGID}"
    WriteRegStr HKLM "${BACKUP_KEY}" ".${EXT}" "$0"
  ${EndIf}
  WriteRegStr HKLM "${CLASSES}\.${EXT}" "" "${PROGID}"
  WriteRegStr HKLM "${CLASSES}\.${EXT}\OpenWithProgids" "${PROGID}" ""
  WriteRegStr HKLM "${CLASSES}\${PROGID}" "" "${DESCRIPTION}"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\Zubodeck.exe,0"
  WriteRegStr HKLM "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\Zubodeck.exe" "%1"'
!macroend

; Gives the extension back what it opened with before, unless the user
; has chosen another program since.
!macro Unassociate EXT PROGID
  ReadRegStr $0 HKLM "${CLASSES}\.${EXT}" ""
  ${If} $0 == "${PROGID}"
    ClearErrors
    ReadRegStr $1 HKLM "${BACKUP_KEY}" ".${EXT}"
    ${If} $1 == ""
      DeleteRegValue HKLM "${CLASSES}\.${EXT}" ""
    ${Else}
      WriteRegStr HKLM "${CLASSES}\.${EXT}" "" "$1"
    ${EndIf}
  ${EndIf}
  DeleteRegValue HKLM "${CLASSES}\.${EXT}\OpenWithProgids" "${PROGID}"
  !insertmacro DeleteKeyIfEmpty "${CLASSES}\.${EXT}\OpenWithProgids"
  !insertmacro DeleteKeyIfEmpty "${CLASSES}\.${EXT}"
!macroend

Section "Zubodeck (required)" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE_DIR}\Zubodeck.exe"
  File "${STAGE_DIR}\Ts.dll"
  File "${STAGE_DIR}\Tsf.dll"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Zubodeck.exe" "" "$INSTDIR\Zubodeck.exe" 0

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "The Zubodeck project"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Zubodeck.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

SectionGroup "Open these files with Zubodeck" SecAssoc
  Section "MIDI songs (.MID)" SecMid
    !insertmacro Associate "mid" "Zubodeck.MidiSong" "MIDI song"
  SectionEnd
  Section "Karaoke songs (.KAR)" SecKar
    !insertmacro Associate "kar" "Zubodeck.KaraokeSong" "Karaoke song"
  SectionEnd
  Section "RIFF MIDI songs (.RMI)" SecRmi
    !insertmacro Associate "rmi" "Zubodeck.RmiSong" "RIFF MIDI song"
  SectionEnd
  Section "Zubodeck playlists (.ZUB)" SecZub
    !insertmacro Associate "zub" "Zubodeck.Playlist" "Zubodeck playlist"
  SectionEnd
  Section /o "M3U8 playlists (.M3U8)" SecM3u8
    !insertmacro Associate "m3u8" "Zubodeck.M3u8Playlist" "M3U8 playlist"
  SectionEnd
  Section /o "Floppy disk images (.IMG, .IMA)" SecImg
    !insertmacro Associate "img" "Zubodeck.FloppyImage" "Floppy disk image"
    !insertmacro Associate "ima" "Zubodeck.FloppyImage" "Floppy disk image"
  SectionEnd
SectionGroupEnd

Section "-Tell the shell"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMain} "The player, its grid control and framework libraries, a Start-menu entry and the uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssoc} "Opening such a file starts Zubodeck with it, or gives it to the Zubodeck already running."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; /ASSOCIATE=LIST selects exactly the listed associations.
!macro ChooseSection SECTION EXT
  ${StrStr} $1 ",$0," ",${EXT},"
  ${If} $1 == ""
    SectionSetFlags ${SECTION} 0
  ${Else}
    SectionSetFlags ${SECTION} ${SF_SELECTED}
  ${EndIf}
!macroend

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ASSOCIATE=" $0
  ${IfNot} ${Errors}
    !insertmacro ChooseSection ${SecMid} "mid"
    !insertmacro ChooseSection ${SecKar} "kar"
    !insertmacro ChooseSection ${SecRmi} "rmi"
    !insertmacro ChooseSection ${SecZub} "zub"
    !insertmacro ChooseSection ${SecM3u8} "m3u8"
    !insertmacro ChooseSection ${SecImg} "img"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APP}.lnk"
  !insertmacro Unassociate "mid" "Zubodeck.MidiSong"
  !insertmacro Unassociate "kar" "Zubodeck.KaraokeSong"
  !insertmacro Unassociate "rmi" "Zubodeck.RmiSong"
  !insertmacro Unassociate "zub" "Zubodeck.Playlist"
  !insertmacro Unassociate "m3u8" "Zubodeck.M3u8Playlist"
  !insertmacro Unassociate "img" "Zubodeck.FloppyImage"
  !insertmacro Unassociate "ima" "Zubodeck.FloppyImage"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.MidiSong"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.KaraokeSong"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.RmiSong"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.Playlist"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.M3u8Playlist"
  DeleteRegKey HKLM "${CLASSES}\Zubodeck.FloppyImage"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$INSTDIR\Zubodeck.exe"
  Delete "$INSTDIR\Ts.dll"
  Delete "$INSTDIR\Tsf.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: files the user put there stay
  ; Last, so that its absence tells that everything else is done.
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
