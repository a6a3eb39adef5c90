# Sourced by the Windows scripts: starts Xvfb on the first free display from :97 and exports
# DISPLAY; the caller's EXIT trap stops it through "$xvfb".
display=:97
while [[ -e /tmp/.X11-unix/X${display#:} || -e /tmp/.X${display#:}-lock ]]; do
  display=":$((${display#:} + 1))"
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
# The display is up before wine starts: its desktop process binds to it for the whole run.
for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${display#:} ]] && break; sleep 0.1; done
export DISPLAY=$display
