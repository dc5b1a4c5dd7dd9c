# The window's Send as a person makes it, sourced by run.sh: the Qt window
# on an Xvfb display of its own, the project's line clicked, then the Send
# button. The run is timed from the click on Send to the moment the log
# window is mapped, which the window does only after the run, its write-out
# of the stick included, is over.
#
# The end is seen through xev's stream of the root window's events, read as
# they come: `xdotool search --sync` looks for the window twice a second,
# which would add up to half a second to a run of about that length. The
# log window ("Log") is not the only window a run may show: a message box
# in its place fails the run. The files on the stick are counted after it.
# run_wall_us and run_peak_kb are read in measure.sh.
# shellcheck shell=bash disable=SC2154,SC2034

# The form's places, in the window's own pixels (no window manager here,
# so no frame moves them): the first line of the project list and Send.
# A point of that line past its text, white until the line is selected.
readonly first_project_at=(200 126) send_button_at=(171 291) selection_probe_at=(500 128)

start_display() {
  local n
  for n in $(seq 90 150); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || break
  done
  display=:$n
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > "$logs/xvfb.out" 2>&1 &
  xvfb_pid=$!
  local _
  for _ in $(seq 100); do
    DISPLAY=$display xdotool getmouselocation > /dev/null 2>&1 && return
    sleep 0.05
  done
  echo "bench: Xvfb did not start on $display (see $logs/xvfb.out)" >&2
  exit 1
}

stop_display() {
  [[ -z ${xvfb_pid:-} ]] && return 0
  kill "$xvfb_pid" 2> /dev/null || true
  wait "$xvfb_pid" 2> /dev/null || true
  xvfb_pid=""
}

# Reads the event stream until a top-level window whose title matches the
# pattern `$1` is mapped, passing over the window `$2` (the main one, whose
# own map may still be in the stream); leaves its title in `mapped_title`
# and the time the event was read, in microseconds, in `mapped_at`. A
# window with another title is taken as an answer the run did not expect.
# xev tells a map in two lines: "MapNotify event, ..." and
# "    event 0xROOT, window 0xID, ...". A run may take up to ten minutes.
await_window() {
  local pattern=$1 known=$2 line id
  while IFS= read -r -t 600 line <&"${events[0]}"; do
    [[ $line == MapNotify* ]] || continue
    mapped_at=${EPOCHREALTIME/./}
    IFS= read -r -t 5 line <&"${events[0]}" || break
    # Tooltips and menus are not windows of their own for a person.
    [[ $line == *"override YES"* ]] && continue
    id=$(grep -o 'window 0x[0-9a-f]*' <<< "$line" | cut -d' ' -f2)
    ((id == known)) && continue
    mapped_title=$(DISPLAY=$display xdotool getwindowname "$((id))" 2> /dev/null || true)
    [[ $mapped_title =~ $pattern ]] && return 0
    echo "bench: the window showed \"$mapped_title\" where \"$pattern\" was awaited" >&2
    return 1
  done
  echo "bench: no window \"$pattern\" appeared" >&2
  return 1
}

# Clicks the first line of the project list until it shows selected: a
# window just mapped may not take a click yet. The selection enables Send
# in the same reaction that paints the line.
select_first_project() {
  local _ colour
  for _ in $(seq 20); do
    DISPLAY=$display xdotool mousemove --window "$1" "${first_project_at[@]}" click 1
    sleep 0.25
    colour=$(DISPLAY=$display import -window "$1" -crop "1x1+${selection_probe_at[0]}+${selection_probe_at[1]}" \
      txt:- 2> /dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1)
    [[ -n $colour && $colour != "#FFFFFF" ]] && return 0
  done
  return 1
}

# window_send PROJECT: one Send in a window started for it. Sets run_wall_us
# and run_peak_kb, and prints the run's count as the command line does.
window_send() {
  local project=$1 gui status=0 start
  coproc events { exec stdbuf -oL xev -display "$display" -root -event substructure; }
  local events_pid=$events_PID
  DISPLAY=$display "$bin" > "$logs/window-app.out" 2>&1 &
  gui=$!
  # Found by polling, untimed: by then xev, started first, listens too.
  local main
  main=$(DISPLAY=$display timeout 60 xdotool search --sync --onlyvisible --name '^Pellmar ver' |
    head -n 1) || true
  if [[ -n $main ]] && select_first_project "$main"; then
    start=${EPOCHREALTIME/./}
    DISPLAY=$display xdotool mousemove --window "$main" "${send_button_at[@]}" click 1
    if await_window '^Log$' "$main"; then
      run_wall_us=$((mapped_at - start))
      run_peak_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$gui/status")
      echo "Copied: $(find "$stick/Sync/$project" -type f | wc -l), counted on the stick"
    else
      status=1
    fi
  else
    echo "bench: the window did not come up with its project selected" >&2
    status=1
  fi
  kill "$gui" "$events_pid" 2> /dev/null || true
  wait "$gui" "$events_pid" 2> /dev/null || true
  return $status
}
