#!/usr/bin/env bash
# The Windows installer under Wine: a silent install into a chosen folder with the PATH entry
# asked for, the installed program run, then a silent uninstall that leaves nothing behind.
# Usage: windows_installer.sh INSTALLER_EXE WINE (WINEPREFIX set by the caller)
README=$(realpath "$(dirname "$0")/../../README.md")
. "$(dirname "$0")/cli_support.sh"
WINE=$2
WINESERVER=$(dirname "$WINE")/wineserver
drive_c="${WINEPREFIX:?}/drive_c"
folder='C:\combogen-installer-test'
installed="$drive_c/combogen-installer-test"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\combogen'

user_path() { "$WINE" reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r'; }

CASE="silent install into a chosen folder, on the user's PATH"
# /D= must come last and unquoted, as NSIS reads it.
timeout 120 "$WINE" "$PROGRAM" /S /ADDTOPATH "/D=$folder"
STATUS=$?
expect_status 0
check test -f "$installed/bin/combogen.exe"
check cmp -s "$installed/README.md" "$README"
check grep -qF "$folder\\bin" <<<"$(user_path)"

CASE="the installed program runs"
RUNNER=("$WINE")
PROGRAM="$installed/bin/combogen.exe"
run 1 6 6 1 out.txt
expect_status 0
expect_quiet
expect_bytes out.txt '01 02 03 04 05 06\r\n'

CASE="silent uninstall removes the files, the PATH entry and the registry key"
# The uninstaller copies itself to a temporary folder and goes on from there: wait for
# every process of the prefix to end.
timeout 120 "$WINE" "$installed/Uninstall.exe" /S
STATUS=$?
timeout 120 "$WINESERVER" -w
expect_status 0
check test ! -e "$installed"
check test -z "$(grep -F "$folder" <<<"$(user_path)")"
check test "$("$WINE" reg query "$uninstall_key" >/dev/null 2>&1; echo $?)" -ne 0

finish
