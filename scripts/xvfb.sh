# Sourced: starts a private virtual X display and exports DISPLAY. zev_xvfb_stop ends it.
zev_xvfb_start() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    ZEV_XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$ZEV_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}
zev_xvfb_stop() {
  [ -n "${ZEV_XVFB_PID:-}" ] && kill "$ZEV_XVFB_PID" 2>/dev/null
  ZEV_XVFB_PID=
}
# A screenshot of the display (or of the WxH+X+Y part of it) once it holds still: Wine hands a
# program's drawing to the X server a moment after the program has drawn, so the screen is read
# until two readings agree.
zev_screenshot() { # file, [geometry]
  local previous= current _
  for _ in $(seq 20); do
    import -window root ${2:+-crop "$2" +repage} "$1" || return 1
    current=$(md5sum <"$1")
    [ "$current" = "$previous" ] && return 0
    previous=$current
  done
  echo "the screen never held still for $1" >&2
  return 1
}
