# Sourced by the window checks: waiting for a condition, and a virtual
# screen of their own.

# Polls a condition (a command) up to $1 seconds.
within() {
  local limit=$1; shift
  local end=$(( $(date +%s) + limit ))
  until "$@"; do
    [ "$(date +%s)" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# start_screen WIDTHxHEIGHT FOLDER: an Xvfb screen that -noreset keeps alive
# between the programs; sets DISPLAY, and xvfb_pid for the caller to end it.
start_screen() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -noreset -nolisten tcp 3>"$2/display" 2>/dev/null &
  xvfb_pid=$!
  within 10 test -s "$2/display" || return 1
  export DISPLAY=:$(cat "$2/display")
}
