#!/usr/bin/env bash
# scripts/play as a viewer runs it: every bad option is refused before any
# work in the script's own words; every way the render or the encoder fails
# ends with one message, exit status 1, the earlier video untouched and no
# process left behind (the output is read through a pipe, which stays open
# while any of them lives); a display that cannot be opened gives the video.
#   play_script_test.sh SCRIPT BUILD_DIR
set -uo pipefail
play="$1"
build="$2"
T="$(mktemp -d)"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Processes started in this test's folder or naming it; none may outlive a run.
leftovers() {
  local proc cwd cmd
  for proc in /proc/[0-9]*; do
    [ "${proc#/proc/}" = "$$" ] && continue
    cwd="$(readlink "$proc/cwd" 2>/dev/null)" || continue
    cmd="$(tr '\0' ' ' <"$proc/cmdline" 2>/dev/null)" || continue
    if [[ "$cwd" == "$T"* || "$cmd" == *"$T"* ]]; then
      echo "${proc#/proc/}"
    fi
  done
}

finish() {
  local left
  left="$(leftovers)"
  # shellcheck disable=SC2086
  [ -z "$left" ] || kill -KILL $left 2>/dev/null
  rm -rf "$T"
}
trap finish EXIT

# A build folder whose render tool fails in a chosen way ($FAKE_RENDER):
# before any frame, after two frames, or never ending while it waits for an
# encoder that is gone. Its soundtrack is one second of silence.
mkdir -p "$T/fake/tools" "$T/fake/demo" "$T/bin" "$T/out" "$T/tmp" "$T/empty"
cat >"$T/fake/tools/skydrift-render" <<'EOF'
#!/usr/bin/env bash
raw="" size=""
while [ $# -gt 0 ]; do
  case "$1" in
    --soundtrack) head -c 352800 /dev/zero >"$2"; exit 0 ;;
    --raw-frames) raw="$2"; shift ;;
    --size) size="$2"; shift ;;
  esac
  shift
done
case "$FAKE_RENDER" in
  before-frames) echo "skydrift-render: no OpenGL window" >&2; exit 1 ;;
  after-frames)
    exec 3>"$raw"
    head -c $((2 * ${size%x*} * ${size#*x} * 3)) /dev/zero >&3
    echo "skydrift-render: the window was closed" >&2
    exit 1 ;;
  waits) exec 3>"$raw"; sleep 300 ;;
esac
EOF
chmod +x "$T/fake/tools/skydrift-render"
# An encoder that cannot start, as ffmpeg without libx264.
cat >"$T/bin/ffmpeg" <<'EOF'
#!/usr/bin/env bash
echo "Unknown encoder 'libx264'" >&2
exit 1
EOF
chmod +x "$T/bin/ffmpeg"

# Bad options: exit 2, one line in the script's own words, nothing run.
while IFS='|' read -r arguments message; do
  [ -n "$arguments" ] || continue
  eval "args=($arguments)"
  output="$(cd "$T" && TMPDIR="$T/tmp" timeout 60 "$play" --built "$T/fake" "${args[@]}" 2>&1 | cat)"
  status="${PIPESTATUS[0]}"
  [ "$status" -eq 2 ] || fail "[$arguments] exit status $status, expected 2: $output"
  [[ "$output" == *"scripts/play: $message"* ]] || fail "[$arguments] no \"$message\" in: $output"
  [[ "$output" != *"skydrift-render"*"usage"* && "$output" != *"=="* ]] ||
    fail "[$arguments] another tool's words or work started: $output"
done <<EOF
--seconds abc|--seconds takes a show time in seconds above 0
--seconds 0|--seconds takes a show time in seconds above 0
--samples 0|--samples takes a number of samples from 1 to 32
--samples=64|--samples takes a number of samples from 1 to 32
--fps=0|--fps takes a frame rate from 1 to 1000
--size 801x601|--size 801x601: a video's width and height must be even
--size 1920|--size takes a video size WxH
--size 2x2|--size 2x2 is too small
--out $T/missing/show.mp4|--out $T/missing/show.mp4: the folder $T/missing does not exist
--out $T/out/show.avi|--out $T/out/show.avi: the video's name must end in .mp4, .m4v, .mov or .mkv
--out $T/out|--out $T/out is a folder
--video=yes|--video takes no value
--fast|unknown option "--fast"
--seconds|--seconds needs a value
--built $T/empty|--built $T/empty has no tools/skydrift-render
EOF

# Failures of the work, read through a pipe as a caller that waits for the
# end of the output reads them (a hang is a failure, not a stuck test): exit 1, one message, the earlier video as it was,
# nothing half-written beside it, no process left behind.
while IFS='|' read -r render encoder_path message; do
  [ -n "$render" ] || continue
  echo "an earlier video" >"$T/out/show.mp4"
  started=$SECONDS
  output="$(cd "$T" && FAKE_RENDER="$render" PATH="$encoder_path:$PATH" TMPDIR="$T/tmp" \
    timeout 60 "$play" --video --built "$T/fake" --seconds 1 --fps 5 --size 64x48 --out "$T/out/show.mp4" 2>&1 | cat)"
  status="${PIPESTATUS[0]}"
  case "$status" in
    124) fail "[$render] still running after 60 s" ;;
    1) ;;
    *) fail "[$render] exit status $status, expected 1: $output" ;;
  esac
  [[ "$output" == *"scripts/play: $message"* ]] || fail "[$render] no \"$message\" in: $output"
  [ "$(cat "$T/out/show.mp4")" = "an earlier video" ] || fail "[$render] the earlier video was changed"
  [ "$(ls -A "$T/out")" = "show.mp4" ] || fail "[$render] left beside the video: $(ls -A "$T/out")"
  [ -z "$(ls -A "$T/tmp")" ] || fail "[$render] left in TMPDIR: $(ls -A "$T/tmp")"
  left="$(leftovers)"
  [ -z "$left" ] || fail "[$render] processes left behind: $(ps -o pid,args -p "${left//$'\n'/,}" 2>&1)"
  [ $((SECONDS - started)) -lt 30 ] || fail "[$render] took $((SECONDS - started)) s to give up"
done <<EOF
before-frames||the show could not be rendered
after-frames||the show could not be rendered
waits|$T/bin|the video encoder failed
EOF

# Stopped while the video is being made (SIGTERM; Ctrl-C is SIGINT, which
# a script started in the background here would ignore): the same.
echo "an earlier video" >"$T/out/show.mp4"
(cd "$T" && FAKE_RENDER=waits TMPDIR="$T/tmp" exec "$play" --video --built "$T/fake" --seconds 1 --fps 5 \
  --size 64x48 --out "$T/out/show.mp4" >"$T/stopped.log" 2>&1) &
player=$!
for _ in $(seq 50); do
  compgen -G "$T/tmp/*/frames" >/dev/null && break
  sleep 0.1
done
sleep 0.5
kill -TERM "$player"
wait "$player"
status=$?
[ "$status" -eq 130 ] || fail "[stopped] exit status $status, expected 130: $(cat "$T/stopped.log")"
grep -q "scripts/play: interrupted; $T/out/show.mp4 was not changed" "$T/stopped.log" ||
  fail "[stopped] not said: $(cat "$T/stopped.log")"
[ "$(cat "$T/out/show.mp4")" = "an earlier video" ] || fail "[stopped] the earlier video was changed"
[ "$(ls -A "$T/out")" = "show.mp4" ] || fail "[stopped] left beside the video: $(ls -A "$T/out")"
left="$(leftovers)"
[ -z "$left" ] || fail "[stopped] processes left behind: $(ps -o pid,args -p "${left//$'\n'/,}" 2>&1)"
rm -f "$T/stopped.log"

# The real program, with a display that cannot be opened and no --video:
# the video, complete, under its name and nothing else.
if [ -x "$build/tools/skydrift-render" ] && [ -d "$build/demo" ]; then
  rm -f "$T/out/"*
  output="$(cd "$T" && DISPLAY=:97 SDL_AUDIODRIVER=dummy TMPDIR="$T/tmp" timeout 300 "$play" --built "$build" \
    --seconds 1 --fps 5 --size 160x120 --out "$T/out/show.mp4" 2>&1 | cat)"
  status="${PIPESTATUS[0]}"
  [ "$status" -eq 0 ] || fail "[video] exit status $status: $output"
  [[ "$output" == *'the display ":97" cannot be opened; making a video'* ]] || fail "[video] no fallback said: $output"
  streams="$(ffprobe -v error -show_entries stream=codec_type,width,height -of csv=p=0 "$T/out/show.mp4" 2>&1)"
  [[ "$streams" == *"video,160,120"* && "$streams" == *"audio"* ]] || fail "[video] not a 160x120 video with sound: $streams"
  [ "$(ls -A "$T/out")" = "show.mp4" ] || fail "[video] left beside the video: $(ls -A "$T/out")"
  [ -z "$(leftovers)" ] || fail "[video] processes left behind"
  # No demo/: said up front.
  mkdir -p "$T/nodemo/tools"
  cp "$build/tools/skydrift-render" "$T/nodemo/tools/"
  output="$(cd "$T" && timeout 60 "$play" --video --built "$T/nodemo" --seconds 1 --out "$T/out/x.mp4" 2>&1)"
  [ $? -eq 2 ] && [[ "$output" == *"has no demo/ folder"* ]] || fail "[no demo] $output"
else
  echo "the video from the real program not tried: $build has no tools/skydrift-render and demo/"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all scripts/play cases passed"
