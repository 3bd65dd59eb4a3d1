#!/bin/sh
# with-keyring.sh PROGRAM [ARGUMENTS...]
# Runs PROGRAM in a D-Bus session of its own, with a fresh secret store (an
# unlocked GNOME keyring) in a temporary home, so a test never reaches the
# developer's own keyring. Fails, rather than skips, when the keyring or the
# D-Bus session tools are missing.
set -eu

if [ -z "${VANTREL_KEYRING_SESSION:-}" ]; then
    for tool in dbus-run-session gnome-keyring-daemon; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "with-keyring.sh: $tool is missing (install gnome-keyring and dbus-daemon)" >&2
            exit 1
        fi
    done
    home=$(mktemp -d "${TMPDIR:-/tmp}/vantrel-keyring.XXXXXX")
    trap 'rm -rf "$home"' EXIT
    mkdir -p "$home/.local/share" "$home/.config" "$home/.cache" "$home/.runtime"
    chmod 700 "$home/.runtime"
    status=0
    HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config \
        XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/.runtime VANTREL_KEYRING_SESSION=1 \
        dbus-run-session -- "$0" "$@" || status=$?
    exit $status
fi

# Inside the session: the keyring, created with a throwaway password and
# unlocked, serves the secrets interface on this session's bus only.
printf 'vantrel-test' | gnome-keyring-daemon --unlock --components=secrets >/dev/null
exec "$@"
