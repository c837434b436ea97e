#!/bin/bash
# The screen xterm shows for a file of bytes, as text: replays the file in
# xterm (UTF-8, on a private Xvfb display) and reads back its own HTML
# screen dump (CSI 10 i). For comparisons by hand with xterm_dump; with
# "styles", each cell's colours (as numbers of xterm's 16) and bold and
# underline instead of the text.
#
#   tests/xterm/xterm_reference.sh ROWS COLS FILE [styles] >SCREEN.txt
set -eu
rows=$1 cols=$2 file=$(realpath "$3") what=${4:-text}
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 1920x1200x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
# Raw and without echo: no newline translation, and xterm's answers to the
# file's queries do not land on the screen. xterm dumps only the scrolling
# region: the region is reset to the whole screen first.
(cd "$work" && DISPLAY=$display LANG=C.UTF-8 timeout 20 xterm -u8 -fg rgb:e5/e5/e5 -bg black -geometry "${cols}x${rows}" \
  -e sh -c "stty raw -echo; cat '$file'; printf '\033[r\033[10i'; sleep 3" 2>/dev/null)
python3 - "$what" "$work"/xterm.*html <<'PY'
import html, re, sys
# xterm's default colours 0-15 in the dump's percentages of 255.
PALETTE = ["0 0 0", "205 0 0", "0 205 0", "205 205 0", "0 0 238", "205 0 205", "0 205 205", "229 229 229",
           "127 127 127", "255 0 0", "0 255 0", "255 255 0", "92 92 255", "255 0 255", "0 255 255", "255 255 255"]

def colour(css):
    rgb = " ".join(str(round(float(v) * 2.55)) for v in re.findall(r"([0-9.]+)%", css))
    return str(PALETTE.index(rgb)) if rgb in PALETTE else rgb.replace(" ", ":")

def looks(line):
    out = ""
    for classes, style, text in re.findall(r"<span class='([^']*)' style='([^']*)'>([^<]*)</span>", line):
        fg, bg = (colour(part) for part in style.split(";"))
        for ch in html.unescape(text):  # a blank shows no foreground
            shown = "_" if ch in " \u00a0" and " ul " not in classes else fg
            out += shown + "/" + bg + ("b" if " bd " in classes else "") + ("u" if " ul " in classes else "") + " "

    return out

what, text = sys.argv[1], open(sys.argv[2], encoding="utf-8").read()
body = text[text.index("<pre>") + 5:text.index("</pre>")]
for line in body.rstrip("\n").split("\n"):
    if what == "styles":
        print(looks(line))
    else:  # cells never written come back as no-break spaces
        print(html.unescape(re.sub(r"<[^>]*>", "", line)).replace("\u00a0", " ").rstrip(" "))
PY
