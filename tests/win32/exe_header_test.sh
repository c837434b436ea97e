#!/bin/sh
# The built exe tells the truth about itself: its header's system versions
# are at least those of the newest system call it imports, and it carries
# its manifest (common controls 6, DPI awareness) and its icon at 16, 32, 48
# and 256 pixels.
#
#   exe_header_test.sh CVTELNET.EXE OBJDUMP
set -eu
exe=$1
objdump=$2
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

headers=$("$objdump" -p "$exe")
field() { echo "$headers" | awk -v name="$1" '$1 == name { print $2; exit }'; }
version=$(($(field MajorOSystemVersion) * 100 + $(field MinorOSystemVersion)))
subsystem=$(($(field MajorSubsystemVersion) * 100 + $(field MinorSubsystemVersion)))

# Imports that older systems lack, with the version (major * 100 + minor)
# that brought them: Windows Vista is 6.0.
needed=400
for entry in GetTickCount64:600 InitializeConditionVariable:600 InitOnceExecuteOnce:600 GetTickCount:400; do
  name=${entry%%:*}
  if echo "$headers" | grep -Eq "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+$name\$"; then
    [ "${entry##*:}" -le "$needed" ] || needed=${entry##*:}
  fi
done
[ "$version" -ge "$needed" ] || fail "the header declares system version $version but the imports need $needed"
[ "$subsystem" -ge "$needed" ] || fail "the header declares subsystem version $subsystem but the imports need $needed"

# The resource tree as objdump prints it: one line per type, then its entries.
resources=$(echo "$headers" | sed -n '/The .rsrc Resource Directory section/,$p')
# The leaf addresses (relative to the image) under the resource type $1.
leaves() {
  echo "$resources" | awk -v type="$1" '
    /^0[0-9a-f]+   Entry: ID:/ { here = ($4 == type ",") }
    here && /Leaf: Addr:/ { sub(",", "", $4); print $4 }'
}
[ "$(leaves 0x000018 | wc -l)" -eq 1 ] || fail "no manifest resource"
[ "$(leaves 0x000003 | wc -l)" -eq 4 ] || fail "the icon has $(leaves 0x000003 | wc -l) pictures, not 4"

strings -a "$exe" | grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' ||
  fail "the manifest does not ask for common controls 6"
strings -a "$exe" | grep -q '<dpiAware[^>]*>true</dpiAware>' || fail "the manifest does not declare DPI awareness"

# The icon group lists each picture's width in byte 6 + 14 * n (0 means 256).
image_base=$((0x$(field ImageBase)))
section=$("$objdump" -h "$exe" | awk '$2 == ".rsrc" { print $4, $6 }')
group=$(($(leaves 0x00000e | head -n 1)))
offset=$((group + image_base - 0x${section% *} + 0x${section#* }))
widths=""
for n in 0 1 2 3; do
  widths="$widths $(od -An -tu1 -j $((offset + 6 + 14 * n)) -N1 "$exe" | tr -d ' ')"
done
[ "$widths" = " 16 32 48 0" ] || fail "the icon's pictures are$widths pixels wide, not 16 32 48 256"
echo "PASS: system version $version, subsystem $subsystem, manifest and icon of 16, 32, 48 and 256 pixels"
