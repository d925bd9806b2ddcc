# The installer and its uninstaller as an administrator's silent deployment meets them: files,
# settings file, Start menu, the entry in "Apps", start with Windows, the installed Quelmo keeping
# its settings, both refusing while Quelmo runs, and nothing left behind.
source "$(dirname "$0")/lib.sh"

# Built beside Quelmo.exe by package/CMakeLists.txt, with the stripped Quelmo.exe it ships.
BUILD_DIR=$(dirname "$QUELMO_EXE")
SETUP_EXE=$(find "$BUILD_DIR/release" -name 'Quelmo-*-setup.exe' | sort -V | tail -1)
SHIPPED_EXE="$BUILD_DIR/package/stage/Quelmo.exe"
SETUP=$(winpath "$SETUP_EXE")
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quelmo'
# Where the installer is told to install: a blank and "new tools" on the way, as everywhere here.
TARGET_DIR="$CASE_DIR/Program Files/new tools/Quelmo"
TARGET=$(winpath "$TARGET_DIR")
START_MENU="$(source "$REPO/scripts/wine-env.sh" >/dev/null 2>&1 && echo "$WINEPREFIX")/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quelmo"
# Shortcuts would otherwise become menu entries of the Linux desktop running the tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Wine tells on stderr that it cannot read the volume of Z: (the installers ask for its free space).
drive() {
    "$REPO/scripts/wine-run" "$DRIVER" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2)
}

# Removes whatever an installation (or a failed case) left: folder, Start menu, registry.
forget_installation() {
    rm -rf "$CASE_DIR/Program Files" "$START_MENU"
    drive reg-delete-key "$UNINSTALL_KEY" reg-delete-value "$RUN_KEY" Quelmo >/dev/null
}

# Silent installation into TARGET with the options given; the exit code must be 0.
install_silently() {
    drive start Setup "\"$SETUP\" /S $* /D=$TARGET" wait-exit Setup 0 >/dev/null
}

# The driver's commands that run the uninstaller silently and expect exit code $1. It runs from a
# copy outside the folder, as Windows' own start of it does, so it can remove itself.
uninstall_commands() {
    cp "$TARGET_DIR/Uninstall.exe" "$CASE_DIR/uninstall-copy.exe"
    printf '%s\n' start Uninstall "\"$(winpath "$CASE_DIR/uninstall-copy.exe")\" /S _?=$TARGET" \
        wait-exit Uninstall "$1"
}

ini_value() {
    tr -d '\r' <"$TARGET_DIR/Quelmo.ini" | sed -n "s/^$1=//p" | head -1
}

files_in_target() {
    (cd "$TARGET_DIR" && printf '%s ' *)
}

install_run_and_uninstall_leave_only_the_settings() {
    forget_installation
    install_silently
    [ "$(files_in_target)" = "Copyrights.txt History.txt Quelmo.exe Quelmo.ini README.txt Uninstall.exe " ] ||
        fail "installed files: $(files_in_target)"
    cmp -s "$SHIPPED_EXE" "$TARGET_DIR/Quelmo.exe" || fail "Quelmo.exe differs from the one shipped"
    { [ "$(head -c 3 "$TARGET_DIR/README.txt")" = Que ] && grep -q $'\r$' "$TARGET_DIR/README.txt"; } ||
        fail "README.txt is not the user's README with Windows line ends"
    [ "$(cat "$TARGET_DIR/Quelmo.ini")" = $'[General]\r' ] || fail "Quelmo.ini is not the empty settings"
    # Wine shows the Users group's modify entry on the file as the Unix group's write bit.
    [ "$(stat -c %A "$TARGET_DIR/Quelmo.ini" | cut -c6)" = w ] || fail "the users may not change Quelmo.ini"
    { [ -f "$START_MENU/Quelmo.lnk" ] && grep -aq 'Quelmo.exe' "$START_MENU/Quelmo.lnk"; } ||
        fail "no Start-menu shortcut to Quelmo.exe"
    local size
    drive expect-reg "$UNINSTALL_KEY" DisplayName Quelmo expect-reg "$UNINSTALL_KEY" DisplayVersion 2.0.2 \
        expect-reg "$UNINSTALL_KEY" Publisher "The Quelmo developers" \
        expect-reg "$UNINSTALL_KEY" DisplayIcon "$TARGET\\Quelmo.exe,0" \
        expect-reg "$UNINSTALL_KEY" InstallLocation "$TARGET" \
        expect-reg "$UNINSTALL_KEY" UninstallString "\"$TARGET\\Uninstall.exe\"" \
        expect-reg "$UNINSTALL_KEY" QuietUninstallString "\"$TARGET\\Uninstall.exe\" /S" \
        expect-reg "$UNINSTALL_KEY" NoModify 1 expect-reg "$UNINSTALL_KEY" NoRepair 1 \
        reg-get "$UNINSTALL_KEY" EstimatedSize expect-reg "$RUN_KEY" Quelmo '<missing>' >"$CASE_DIR/apps.txt"
    size=$(value "reg $UNINSTALL_KEY\\EstimatedSize" "$CASE_DIR/apps.txt")
    [ "$size" -gt 1000 ] || fail "EstimatedSize $size KB"

    # The installed copy keeps its settings.
    drive start A "\"$TARGET\\Quelmo.exe\"" wait-window A TForm_Main close wait-exit A 0 >/dev/null
    { [ "$(ini_value FirstLaunch)" = 0 ] && [ "$(grep -c '=' "$TARGET_DIR/Quelmo.ini")" = 34 ]; } ||
        fail "the installed Quelmo did not save its settings"

    # Silent uninstall: everything goes but the settings, which a new installation keeps.
    mapfile -t uninstall < <(uninstall_commands 0)
    drive "${uninstall[@]}" >/dev/null
    [ "$(files_in_target)" = "Quelmo.ini " ] || fail "left after uninstalling: $(files_in_target)"
    [ ! -e "$START_MENU" ] || fail "the Start-menu folder is left"
    drive expect-reg "$UNINSTALL_KEY" DisplayName '<missing>' >/dev/null
    install_silently
    [ "$(ini_value FirstLaunch)" = 0 ] || fail "a new installation replaced the settings"
    mapfile -t uninstall < <(uninstall_commands 0)
    drive "${uninstall[@]}" >/dev/null
    rm "$TARGET_DIR/Quelmo.ini"
    rmdir "$TARGET_DIR" || fail "the folder is not empty"
}

setup_refuses_while_quelmo_runs() {
    forget_installation
    fresh_app
    local status=0
    drive start A "\"$APP\"" wait-window A TForm_Main \
        start Setup "\"$SETUP\" /S /D=$TARGET" wait-exit Setup 2 \
        wait-window A TForm_Main close wait-exit A 0 expect-reg "$UNINSTALL_KEY" DisplayName '<missing>' \
        >/dev/null || status=$?
    { [ ! -e "$TARGET_DIR" ] && [ ! -e "$START_MENU" ]; } || fail "Setup installed while Quelmo ran"
    return "$status"
}

# As a user meets Setup: it waits while Quelmo runs, Retry goes on once Quelmo is closed, and the
# wizard's default choices install Quelmo with its shortcuts but without start with Windows.
interactive_setup_waits_for_quelmo_then_installs() {
    forget_installation
    fresh_app
    drive_with_screenshot setup-welcome "$CASE_DIR/wizard.txt" start A "\"$APP\"" wait-window A TForm_Main \
        start Setup "\"$SETUP\" /D=$TARGET" wait-window Setup '#32770' \
        expect-message $'Quelmo is running.\n\nPlease close it (its menu: Exit), then choose Retry. Cancel leaves everything as it is.' \
        wait-window A TForm_Main close wait-exit A 0 wait-window Setup '#32770' click-button 4 \
        wait-window Setup '#32770' wait-text 1 '&Next >' signal-shot click 1 \
        wait-text 1 'I &Agree' click 1 wait-text 1 '&Next >' click 1 wait-text 1 '&Install' click 1 \
        wait-text 1 '&Finish' click 1 wait-exit Setup 0 >/dev/null
    # Our picture on the first page, not the one NSIS brings: the icon's green gauge.
    [ "$(count_pixels "$CASE_DIR/setup-welcome.png" 0 0 1280 800 '#6CD478')" -gt 1000 ] ||
        fail "the welcome page does not show Quelmo's picture"
    { [ -f "$TARGET_DIR/Quelmo.exe" ] && [ -f "$START_MENU/Quelmo.lnk" ]; } || fail "not installed"
    mapfile -t uninstall < <(uninstall_commands 0)
    drive expect-reg "$RUN_KEY" Quelmo '<missing>' "${uninstall[@]}" >/dev/null
    forget_installation
}

uninstaller_refuses_while_quelmo_runs() {
    forget_installation
    install_silently
    local status=0
    mapfile -t uninstall < <(uninstall_commands 2)
    drive start A "\"$TARGET\\Quelmo.exe\"" wait-window A TForm_Main "${uninstall[@]}" \
        expect-reg "$UNINSTALL_KEY" DisplayName Quelmo wait-window A TForm_Main close wait-exit A 0 >/dev/null ||
        status=$?
    { [ -f "$TARGET_DIR/Quelmo.exe" ] && [ -f "$START_MENU/Quelmo.lnk" ]; } || fail "uninstalled while Quelmo ran"
    mapfile -t uninstall < <(uninstall_commands 0)
    drive "${uninstall[@]}" >/dev/null
    [ "$(files_in_target)" = "Quelmo.ini " ] || fail "left after uninstalling: $(files_in_target)"
    forget_installation
    return "$status"
}

# Setup writes the Run value itself; Quelmo must take it as the one it writes on "/install".
start_with_windows_is_registered_as_quelmo_registers_it() {
    forget_installation
    install_silently /AUTORUN
    drive reg-get "$RUN_KEY" Quelmo >"$CASE_DIR/setup-run.txt"
    local by_setup
    by_setup=$(value "reg $RUN_KEY\\Quelmo" "$CASE_DIR/setup-run.txt")
    [ "$by_setup" = "\"$TARGET\\Quelmo.exe\"" ] || fail "Run value by Setup: $by_setup"
    drive reg-delete-value "$RUN_KEY" Quelmo \
        start A "\"$TARGET\\Quelmo.exe\" /install" wait-window A '#32770' click-button Yes wait-exit A 0 \
        expect-reg "$RUN_KEY" Quelmo "$by_setup" >/dev/null
    mapfile -t uninstall < <(uninstall_commands 0)
    drive "${uninstall[@]}" expect-reg "$RUN_KEY" Quelmo '<missing>' >/dev/null
    forget_installation
}

run_case install_run_uninstall install_run_and_uninstall_leave_only_the_settings
run_case setup_refuses setup_refuses_while_quelmo_runs
run_case interactive_setup interactive_setup_waits_for_quelmo_then_installs
run_case uninstaller_refuses uninstaller_refuses_while_quelmo_runs
run_case start_with_windows start_with_windows_is_registered_as_quelmo_registers_it
forget_installation
finish
