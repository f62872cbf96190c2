#!/bin/sh
# windows-dialog-check -- the Windows build's settings dialog under Wine, seen
# and pressed from the outside.
#   scripts/windows-dialog-check.sh [OPTIONS] quit|run OBELISK.EXE DIALOGPROBE.EXE [WORKDIR]
# Needs WINEPREFIX (an initialised prefix), a running X server in DISPLAY
# (xvfb-run, for one), wine and xdotool. Starts the program without options
# (working folder WORKDIR, default the current one), waits for its dialog
# with dialogprobe and checks what the probe reads:
#   - the caption, 39 spaces and "Obelisk by Veltra - 2015 ";
#   - the dialog's client area, 229 x 90 dialog units, and its nine controls:
#     id, class, kind, text, position and size in dialog units (within 1);
#   - the check boxes: Antialiased checked, Windowed and FPS clamp not;
#   - the resolution list: the display modes the system lists, in its order,
#     landscape, at most 1.8 : 1 and 2047 pixels a side, each size once, each
#     written " W x H  (16:10)", " W x H  (16:9)" or " W x H       ";
#     selected: 1280 x 720 when listed and not first, else the last
#     1024 x 768, else the first; the closed list shows the selection.
# Then, through the X server (xdotool: the X window named after the
# caption gets the input focus, the pointer or the keyboard does the rest):
#   quit: clicks "Quit" at the button's middle; the program must end with
#         exit code 0 within EXIT_TIMEOUT seconds.
#   run:  presses Return ("Run ... " is the default button); the dialog must
#         go and the program keep running. It is left running: the last line
#         printed is the wine process's id alone (its output goes to the file
#         the line before names, its exit code, once it ends, to that name
#         with ".code" added).
# Options:
#   --screenshot FILE  a PNG of the dialog (its window, 8 pixels around); the
#                      program then starts with Wine drawing the window frame
#                      itself (X11 Driver "Decorated"=N in the prefix, put
#                      back once the dialog is up), since a bare X server has
#                      no window manager to draw the caption. Taken with
#                      ImageMagick's import, else xwd and convert, else
#                      python3 reading the root window through libX11.
#   --timeout S        seconds the dialog may take to appear (default 60)
#   EXIT_TIMEOUT       seconds the program may take to end after Quit (default 30)
# Exit code 0 when everything holds, 1 with the reasons printed otherwise,
# 2 on wrong arguments or a missing tool.
set -u
NAME=windows-dialog-check
CAPTION_END="Obelisk by Veltra - 2015 "
CAPTION="                                       $CAPTION_END"
# xdotool's pattern for the dialog's X window: the production's own window
# is named " =  Obelisk by Veltra - 2015 = ", which the end keeps apart
XNAME="$CAPTION_END\$"
EXIT_TIMEOUT=${EXIT_TIMEOUT:-30}
TIMEOUT=60
SHOT=

say() { echo "$NAME: $*"; }
usage() {
  echo "usage: $0 [--screenshot FILE] [--timeout S] quit|run OBELISK.EXE DIALOGPROBE.EXE [WORKDIR]" >&2
  exit 2
}

set --  "$@" --end
MODE='' EXE='' PROBE='' WORKDIR=''
while [ "$1" != --end ]; do
  case $1 in
    --screenshot) [ "$2" != --end ] || usage; SHOT=$2; shift 2 ;;
    --timeout) [ "$2" != --end ] || usage; TIMEOUT=$2; shift 2 ;;
    -*) usage ;;
    *)
      if [ -z "$MODE" ]; then MODE=$1
      elif [ -z "$EXE" ]; then EXE=$1
      elif [ -z "$PROBE" ]; then PROBE=$1
      elif [ -z "$WORKDIR" ]; then WORKDIR=$1
      else usage
      fi
      shift ;;
  esac
done
case $MODE in quit | run) ;; *) usage ;; esac
[ -n "$EXE" ] && [ -n "$PROBE" ] || usage
WORKDIR=${WORKDIR:-.}
for f in "$EXE" "$PROBE"; do
  [ -f "$f" ] || { say "no file $f"; exit 2; }
done
[ -d "$WORKDIR" ] || { say "no folder $WORKDIR"; exit 2; }
[ -n "${WINEPREFIX:-}" ] || { say "WINEPREFIX is not set"; exit 2; }
[ -n "${DISPLAY:-}" ] || { say "DISPLAY is not set (run under xvfb-run)"; exit 2; }
for tool in wine xdotool; do
  command -v $tool >/dev/null 2>&1 || { say "$tool is not installed"; exit 2; }
done
case $EXE in /*) ;; *) EXE=$(pwd)/$EXE ;; esac
case $PROBE in /*) ;; *) PROBE=$(pwd)/$PROBE ;; esac
case ${SHOT:-/} in /*) ;; *) SHOT=$(pwd)/$SHOT ;; esac
export WINEDEBUG="${WINEDEBUG:--all}"

WORK=$(mktemp -d /tmp/windows-dialog-check.XXXXXX)
# run leaves the program running: its output then goes to a file that stays
if [ "$MODE" = run ]; then PROGLOG=$(mktemp /tmp/obelisk-windows-run.XXXXXX); else PROGLOG=$WORK/program.log; fi
PROG='' PROBE_PID='' KEEP_PROG=0 REG_RESTORE=''
cleanup() {
  [ -n "$PROBE_PID" ] && kill "$PROBE_PID" 2>/dev/null
  if [ "$KEEP_PROG" = 0 ]; then
    [ -n "$PROG" ] && kill "$PROG" 2>/dev/null
    [ "$PROGLOG" = "$WORK/program.log" ] || rm -f "$PROGLOG"
  fi
  [ -n "$REG_RESTORE" ] && restore_decorated
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
fail() {
  say "FAIL: $*"
  if [ -s "$PROGLOG" ]; then
    say "the program's output (the end):"
    tail -20 "$PROGLOG" | sed 's/^/  /'
  fi
  exit 1
}

# A process of ours that has not ended (an ended one stays a zombie until waited for).
alive() {
  state=$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)
  [ -n "$state" ] && [ "$state" != Z ]
}

# ---- Wine draws the frame itself while the screenshot's program starts -------------
X11KEY='HKCU\Software\Wine\X11 Driver'
decorated_off() {
  REG_RESTORE=$(wine reg query "$X11KEY" /v Decorated 2>/dev/null | awk '$1 == "Decorated" { print $3 }')
  REG_RESTORE=${REG_RESTORE:-absent}
  wine reg add "$X11KEY" /v Decorated /d N /f >/dev/null 2>&1 || fail "cannot set $X11KEY\\Decorated in the prefix"
}
restore_decorated() {
  if [ "$REG_RESTORE" = absent ]; then
    wine reg delete "$X11KEY" /v Decorated /f >/dev/null 2>&1
  else
    wine reg add "$X11KEY" /v Decorated /d "$REG_RESTORE" /f >/dev/null 2>&1
  fi
  REG_RESTORE=
}

# ---- the screenshot: X, Y, W, H of the root window into $SHOT ------------------------
screenshot() {
  if command -v import >/dev/null 2>&1 && import -window root -crop "$3x$4+$1+$2" +repage "$SHOT" 2>/dev/null; then
    echo "ImageMagick's import"
  elif command -v xwd >/dev/null 2>&1 && command -v convert >/dev/null 2>&1 &&
    xwd -root -silent | convert xwd:- -crop "$3x$4+$1+$2" +repage "$SHOT" 2>/dev/null; then
    echo "xwd and convert"
  elif command -v python3 >/dev/null 2>&1 && python3 - "$SHOT" "$@" <<'EOF'; then
import ctypes, ctypes.util, struct, sys, zlib
out = sys.argv[1]
x, y, w, h = (int(v) for v in sys.argv[2:6])
class XImage(ctypes.Structure):
    _fields_ = [(n, ctypes.c_int) for n in ("width", "height", "xoffset", "format")] + \
               [("data", ctypes.POINTER(ctypes.c_ubyte))] + \
               [(n, ctypes.c_int) for n in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad",
                                            "depth", "bytes_per_line", "bits_per_pixel")] + \
               [(n, ctypes.c_ulong) for n in ("red_mask", "green_mask", "blue_mask")]
x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x11.XGetImage.restype = ctypes.POINTER(XImage)
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no X display")
shot = x11.XGetImage(display, x11.XDefaultRootWindow(display), x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
if not shot or shot.contents.bits_per_pixel != 32:
    sys.exit("the X server's image is not 32 bits a pixel")
im = shot.contents
raw = ctypes.string_at(im.data, im.bytes_per_line * h)
lowest = lambda mask: (mask & -mask).bit_length() - 1
rs, gs, bs = lowest(im.red_mask), lowest(im.green_mask), lowest(im.blue_mask)
order = "<" if im.byte_order == 0 else ">"
rows = bytearray()
for r in range(h):
    rows.append(0)  # no filter
    for p in struct.unpack("%s%dI" % (order, w), raw[r * im.bytes_per_line:r * im.bytes_per_line + 4 * w]):
        rows += bytes(((p >> rs) & 255, (p >> gs) & 255, (p >> bs) & 255))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(out, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
EOF
    echo "python3 and libX11"
  else
    return 1
  fi
}

# ---- start the program and read its dialog ---------------------------------------------
[ -n "$SHOT" ] && decorated_off
say "starting wine $EXE in $WORKDIR"
if [ "$MODE" = run ]; then
  # left running: its exit code goes to the file beside its output
  (cd "$WORKDIR" && wine "$EXE"; echo $? >"$PROGLOG.code") >"$PROGLOG" 2>&1 &
else
  (cd "$WORKDIR" && exec wine "$EXE") >"$PROGLOG" 2>&1 &
fi
PROG=$!
wine "$PROBE" --timeout "$TIMEOUT" >"$WORK/probe.raw" 2>"$WORK/probe.err" &
PROBE_PID=$!
while alive "$PROBE_PID"; do
  alive "$PROG" || { wait "$PROG"; fail "the program ended (exit code $?) before its dialog appeared"; }
  sleep 0.2
done
wait "$PROBE_PID"
probe_rc=$?
PROBE_PID=
tr -d '\r' <"$WORK/probe.raw" >"$WORK/probe.txt"
[ -n "$REG_RESTORE" ] && restore_decorated
case $probe_rc in
  0) ;;
  2) fail "no dialog within $TIMEOUT s" ;;
  *) fail "dialogprobe failed (exit code $probe_rc): $(cat "$WORK/probe.err")" ;;
esac
say "dialogprobe read:"
sed 's/^/  /' "$WORK/probe.txt"

awk -v want_caption="$CAPTION" -v me="$NAME" '
function hex(s,   v, i) {
  v = 0
  for (i = 1; i <= length(s); i++) v = v * 16 + index("0123456789abcdef", tolower(substr(s, i, 1))) - 1
  return v
}
# The quoted text at the start of s (after its opening quote); what follows it lands in rest.
function unquote(s,   out, i, c) {
  out = ""
  for (i = 1; i <= length(s); i++) {
    c = substr(s, i, 1)
    if (c == "\\") {
      c = substr(s, ++i, 1)
      if (c == "x") { out = out sprintf("%c", hex(substr(s, i + 1, 2))); i += 2 } else out = out c
    } else if (c == "\"") {
      rest = substr(s, i + 1)
      return out
    } else out = out c
  }
  rest = ""
  return out
}
function quoted(s) { return "\"" s "\"" }
function value(s, key,   p, v) {
  p = index(" " s, " " key "=")
  if (!p) return ""
  v = substr(s, p + length(key) + 1)
  sub(/ .*/, "", v)
  return v
}
function problem(text) { print me ": FAIL: " text; bad++ }
function near(a, b) { return a - b <= 1 && b - a <= 1 }
function format(w, h,   r) {
  r = w / h
  if (r - 1.6 < 0.01 && 1.6 - r < 0.01) return sprintf(" %d x %d  (16:10)", w, h)
  if (r - 16 / 9 < 0.01 && 16 / 9 - r < 0.01) return sprintf(" %d x %d  (16:9)", w, h)
  return sprintf(" %d x %d       ", w, h)
}
function expect(id, cls, kind, text, x, y, w, h) {
  ne++; eid[ne] = id; ecls[ne] = cls; ekind[ne] = kind; etext[ne] = text
  ex[ne] = x; ey[ne] = y; ew[ne] = w; eh[ne] = h
}
BEGIN {
  expect(1, "Button", "defpushbutton", "Run ... ", 17, 61, 103, 21)
  expect(2, "Button", "pushbutton", "Quit", 145, 61, 24, 21)
  expect(1011, "Button", "autocheckbox", "Antialiased", 18, 37, 49, 15)
  expect(1012, "Button", "autocheckbox", "Windowed", 128, 36, 60, 15)
  expect(1013, "Button", "autocheckbox", "FPS clamp", 69, 37, 57, 15)
  expect(1014, "ComboBox", "dropdownlist", "*", 16, 12, 172, 108)
  expect(-1, "Button", "groupbox", "Resolution", 2, 3, 210, 28)
  expect(-1, "Button", "groupbox", "", 2, 29, 210, 26)
  expect(-1, "Button", "groupbox", "", 2, 53, 210, 34)
  wantcheck[1011] = 1; wantcheck[1012] = 0; wantcheck[1013] = 0
}
/^caption=/ { caption = unquote(substr($0, 10)); seen_caption = 1 }
/^dialog / { split(value($0, "client"), c, ","); cw = c[1]; ch = c[2] }
/^display mode=/ { split($3, m, "x"); nm++; mw[nm] = m[1] + 0; mh[nm] = m[2] + 0 }
/^control / {
  na++
  aid[na] = value($0, "id"); acls[na] = value($0, "class"); akind[na] = value($0, "kind")
  atext[na] = unquote(substr($0, index($0, " text=\"") + 7))
  split(value(rest, "rect"), r, ",")
  ax[na] = r[1]; ay[na] = r[2]; aw[na] = r[3]; ah[na] = r[4]
}
/^checked / { checked[value($0, "id")] = $3 }
/^list count=/ {
  count = value($0, "count") + 0; selected = value($0, "selected") + 0
  shown = unquote(substr($0, index($0, " shown=\"") + 8)); seen_list = 1
}
/^list item=/ { items[value($0, "item") + 0] = unquote(substr($0, index($0, " text=\"") + 7)); nitems++ }
END {
  if (!seen_caption) problem("no caption read")
  else if (caption != want_caption) problem("caption " quoted(caption) ", not " quoted(want_caption))
  if (!near(cw, 229) || !near(ch, 90)) problem("dialog client area " cw " x " ch " dialog units, not 229 x 90")

  # every expected control once, matched in full; then nothing more
  for (i = 1; i <= ne; i++) {
    hit = 0; alike = 0
    for (j = 1; j <= na && !hit; j++) {
      if (used[j] || aid[j] != eid[i]) continue
      if (etext[i] != "*" && atext[j] != etext[i]) continue
      if (!alike) alike = j
      if (acls[j] == ecls[i] && akind[j] == ekind[i] && near(ax[j], ex[i]) && near(ay[j], ey[i]) &&
          near(aw[j], ew[i]) && near(ah[j], eh[i])) hit = j
    }
    want = "id " eid[i] " " ecls[i] " " ekind[i] (etext[i] == "*" ? "" : " " quoted(etext[i])) " at " \
           ex[i] "," ey[i] " size " ew[i] "x" eh[i]
    if (hit) used[hit] = 1
    else if (alike) problem("control " want ": is " acls[alike] " " akind[alike] " at " ax[alike] "," ay[alike] \
                            " size " aw[alike] "x" ah[alike])
    else problem("control " want ": missing")
  }
  for (j = 1; j <= na; j++) {
    known = 0
    for (i = 1; i <= ne; i++) if (eid[i] == aid[j]) known = 1
    if (!known) problem("unexpected control id " aid[j] " " acls[j] " " quoted(atext[j]))
  }
  if (na != ne) problem(na " controls, not " ne)

  for (id in wantcheck)
    if (checked[id] == "") problem("check box " id " not read")
    else if (checked[id] + 0 != wantcheck[id]) problem("check box " id " is " (checked[id] ? "checked" : "unchecked"))

  # the list: each entry by the rules, then all of them against the system modes
  if (!seen_list) problem("no resolution list read")
  if (nitems != count) problem("list says " count " entries, " nitems " read")
  hd = -1; xga = -1
  for (i = 0; i < count; i++) {
    t = items[i]
    if (split(t, p, " ") < 3 || p[2] != "x") { problem("list entry " i " " quoted(t) " is no size"); continue }
    w = p[1] + 0; h = p[3] + 0
    if (t != format(w, h)) problem("list entry " i " " quoted(t) ", not " quoted(format(w, h)))
    if (w < h || w / h > 1.8 || w > 2047 || h <= 0) problem("list entry " i " " quoted(t) " is not a mode to offer")
    if ((w "x" h) in listed) problem("list entry " i " " quoted(t) " repeats entry " listed[w "x" h])
    listed[w "x" h] = i
    if (w == 1280 && h == 720 && hd < 0) hd = i
    if (w == 1024 && h == 768) xga = i
  }
  want_sel = count == 0 ? -1 : hd > 0 ? hd : xga >= 0 ? xga : 0
  if (selected != want_sel) problem("list selection " selected ", not " want_sel)
  want_shown = want_sel >= 0 ? items[want_sel] : ""
  if (shown != want_shown) problem("the closed list shows " quoted(shown) ", not " quoted(want_shown))
  n = 0
  for (i = 1; i <= nm; i++) {
    w = mw[i]; h = mh[i]
    if (w <= 0 || h <= 0 || w < h || w / h > 1.8 || w > 2047 || (w "x" h) in offered) continue
    offered[w "x" h] = 1
    expected[n++] = format(w, h)
  }
  if (!nm) problem("the probe read no display modes")
  else if (n != count) problem("the system has " n " modes to offer, the list " count)
  else for (i = 0; i < n; i++)
    if (items[i] != expected[i]) { problem("list entry " i " " quoted(items[i]) ", the system has " quoted(expected[i])); break }

  if (bad) exit 1
  print me ": caption, " na " controls, check boxes and a list of " count " (selected " selected ") as they should be"
}' "$WORK/probe.txt" || fail "the dialog is not as it should be"

# ---- the picture -------------------------------------------------------------------
if [ -n "$SHOT" ]; then
  set -- $(awk '/^dialog / { for (i = 1; i <= NF; i++) if ($i ~ /^screen=/) { sub(/^screen=/, "", $i); gsub(/,/, " ", $i); print $i } }' "$WORK/probe.txt")
  [ $# = 4 ] || fail "no window rectangle from the probe"
  x=$(($1 - 8)) y=$(($2 - 8)) w=$(($3 + 16)) h=$(($4 + 16))
  [ $x -ge 0 ] || { w=$((w + x)); x=0; }
  [ $y -ge 0 ] || { h=$((h + y)); y=0; }
  sleep 0.5  # the dialog paints after it shows
  how=$(screenshot $x $y $w $h) || fail "no way to take a screenshot (import, xwd with convert, or python3)"
  say "screenshot $SHOT (${w}x$h at $x,$y, with $how)"
fi

# ---- press a button through the X server --------------------------------------------------
XWIN=$(xdotool search --name "$XNAME" 2>/dev/null | head -1)
[ -n "$XWIN" ] || fail "no X window named \"...$CAPTION_END\""
eval "$(xdotool getwindowgeometry --shell "$XWIN")"
say "X window $XWIN at $X,$Y size ${WIDTH}x$HEIGHT"
# the button's middle in screen pixels (Wine's screen is the X root window)
if [ "$MODE" = quit ]; then BUTTON=2; else BUTTON=1; fi
set -- $(awk -v id=$BUTTON '$1 == "control" && $2 == "id=" id {
  for (i = 1; i <= NF; i++) if ($i ~ /^screen=/) { sub(/^screen=/, "", $i); split($i, r, ","); print r[1] + int(r[3] / 2), r[2] + int(r[4] / 2) }
}' "$WORK/probe.txt")
[ $# = 2 ] || fail "no button rectangle from the probe"
BX=$1 BY=$2
[ "$BX" -ge "$X" ] && [ "$BX" -lt $((X + WIDTH)) ] && [ "$BY" -ge "$Y" ] && [ "$BY" -lt $((Y + HEIGHT)) ] ||
  fail "the button's middle $BX,$BY lies outside the X window"
xdotool windowfocus --sync "$XWIN" 2>/dev/null || fail "the X window takes no input focus"

# Waits up to $1 seconds for the dialog's X window to go.
gone() {
  t=0
  while xdotool search --name "$XNAME" >/dev/null 2>&1; do
    [ "$t" -ge "$(($1 * 5))" ] && return 1
    sleep 0.2
    t=$((t + 1))
  done
}

if [ "$MODE" = quit ]; then
  say "clicking Quit at $BX,$BY"
  xdotool mousemove --sync "$BX" "$BY" click 1 || fail "xdotool cannot click"
  t=0
  while alive "$PROG"; do
    [ "$t" -ge $((EXIT_TIMEOUT * 5)) ] && fail "the program still runs $EXIT_TIMEOUT s after Quit"
    sleep 0.2
    t=$((t + 1))
  done
  wait "$PROG"
  rc=$?
  PROG=
  [ "$rc" = 0 ] || fail "the program ended with exit code $rc after Quit, not 0"
  say "Quit ended the program with exit code 0"
  say "PASS"
  exit 0
fi

say "pressing Return (Run ... is the default button)"
xdotool key Return || fail "xdotool cannot press Return"
gone 10 || fail "the dialog is still there 10 s after Return"
sleep 1
alive "$PROG" || { wait "$PROG"; fail "the program ended (exit code $?) after Run"; }
KEEP_PROG=1
say "PASS: the dialog went and the program runs; its output goes to $PROGLOG"
echo "$PROG"
