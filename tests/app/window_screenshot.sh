#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts the real program under a virtual X server, takes a screenshot and checks the teal
# panel and the white chart area at their design places. Then, when xdotool is there, it
# presses Start and waits for the red wave to appear in the chart; the screenshot then shows
# the animation.
#
#   window_screenshot.sh KORVATEL SCREEN_GRAB OUTPUT.png
#
# Exits with 77 (skipped) when xvfb-run is not installed. The README's picture is this
# screenshot: run the script with docs/screenshot.png as OUTPUT to refresh it.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 KORVATEL SCREEN_GRAB OUTPUT.png" >&2
    exit 2
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is not installed: the window screenshot check is skipped"
    exit 77
fi
korvatel=$1
grab=$2
output=$3

# Without a window manager the window has no frame, so its client area stands exactly at
# the design place 192, 125; the panel lies at 24, 16 in it and the chart at 20, 60 in the
# panel (961 x 529).
panel_x=$((192 + 24))
panel_y=$((125 + 16))
chart_x=$((panel_x + 20))
chart_y=$((panel_y + 60))
teal='#008080'
white='#ffffff'
expected=(
    # The picture keeps the window only.
    "crop=192,125,1055,674"
    # The panel inside its bevel: top left corner, above the chart, right of it, below it,
    # between the check box and the buttons, and the column just left of the chart.
    "$((panel_x + 5)),$((panel_y + 5))=$teal"
    "$((panel_x + 500)),$((panel_y + 10))=$teal"
    "$((panel_x + 990)),$((panel_y + 300))=$teal"
    "$((panel_x + 500)),$((panel_y + 595))=$teal"
    "$((panel_x + 600)),$((panel_y + 45))=$teal"
    "$((chart_x - 1)),$((chart_y + 264))=$teal"
    # The chart's white area just inside its bevel: its four corners and its middle.
    "$((chart_x + 1)),$((chart_y + 1))=$white"
    "$((chart_x + 959)),$((chart_y + 1))=$white"
    "$((chart_x + 1)),$((chart_y + 527))=$white"
    "$((chart_x + 959)),$((chart_y + 527))=$white"
    "$((chart_x + 480)),$((chart_y + 264))=$white"
    # The light top left corner of the bevel.
    "$chart_x,$chart_y=$white"
    # The chart ends where the panel shows again.
    "$((chart_x + 961)),$((chart_y + 264))=$teal"
    "$((chart_x + 480)),$((chart_y + 529))=$teal"
)
# Start (Button1) at 665, 24 in the panel, 75 x 25: its middle.
start_x=$((panel_x + 665 + 37))
start_y=$((panel_y + 24 + 12))
# Once started, some pixel inside the chart is the wave's red.
running=(
    "crop=192,125,1055,674"
    "any=$((chart_x + 1)),$((chart_y + 1)),959,527=#ff0000"
)

export QT_QPA_PLATFORM=xcb
if command -v xdotool >/dev/null 2>&1; then
    press_start="xdotool mousemove $start_x $start_y click 1"
else
    echo "xdotool is not installed: the animation is not started"
    press_start=""
fi
# The program runs in the background while the grabber waits for its window.
# shellcheck disable=SC2016
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" bash -c '
    korvatel=$1 grab=$2 output=$3 press_start=$4 count=$5
    shift 5
    still=("${@:1:$count}")
    running=("${@:$((count + 1))}")
    "$korvatel" &
    program=$!
    status=0
    "$grab" "$output" 20000 "${still[@]}" || status=$?
    if [ "$status" -eq 0 ] && [ -n "$press_start" ]; then
        $press_start
        "$grab" "$output" 20000 "${running[@]}" || status=$?
    fi
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    exit "$status"
' window_screenshot "$korvatel" "$grab" "$output" "$press_start" "${#expected[@]}" \
    "${expected[@]}" "${running[@]}"
echo "screenshot: $output"
