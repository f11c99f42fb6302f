# Sourced by the scripts that drive the game in a virtual X display.
# start_xvfb [Xvfb options ...]: starts Xvfb on the first free display from
# 90, exports DISPLAY, waits until it takes connections and stops it on
# exit; the programs shown there end with it.

start_xvfb() {
  local display=90
  while [ -e /tmp/.X$display-lock ] || [ -e /tmp/.X11-unix/X$display ]; do
    display=$((display + 1))
  done
  Xvfb :$display -screen 0 640x480x24 -nolisten tcp "$@" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  export DISPLAY=:$display
  # Xvfb makes its socket before it serves; a client that connects early waits.
  for _ in $(seq 50); do
    [ -S /tmp/.X11-unix/X$display ] && break
    sleep 0.1
  done
  # The window's own look, whatever desktop the caller runs.
  unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE XDG_CURRENT_DESKTOP
  export LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
}
