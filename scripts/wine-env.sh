# Sourced by the Windows scripts: one quiet Wine prefix inside build-windows/.
# The Wine server is started here, kept up for the many short test programs
# and stopped when the script ends (unless another script had started it).
# Starting Wine once here, with its output elsewhere, leaves its background
# processes running without holding a later program's pipes open.
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine}
# No prompts to install Mono or Gecko, which nothing here uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
if wineserver -p </dev/null >/dev/null 2>&1; then
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
wine cmd /c exit </dev/null >/dev/null 2>&1
