#!/usr/bin/env bash
# Builds the Debian package in a scratch folder (kept between runs, so the
# optimised tree is rebuilt incrementally), checks what it holds, validates
# its desktop entry and AppStream file, unpacks it and starts the programs
# from the unpacked tree.
set -euo pipefail
root=$1 scratch=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

deb=$(QSX_BUILD="$scratch/build" QSX_PACKAGE_DIR="$scratch/out" bash "$root/scripts/package" | tail -1)
[ -f "$deb" ] || fail "no package written ($deb)"
echo "package: $deb"

# The paths alone: permissions, owner, size, date and time go, and link targets.
listing=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s/ -> .*//')
lib=./usr/lib/qsx4810
expect=("$lib/qsx4810" "$lib/qsx4810-agent" "$lib/qsx4810.snmprec" "$lib/QSX-4810 r4-5 JUN 08 Rhexmon-v9.html"
        ./usr/bin/qsx4810 ./usr/bin/qsx4810-agent ./usr/share/applications/qsx4810.desktop
        ./usr/share/icons/hicolor/scalable/apps/qsx4810.svg ./usr/share/metainfo/org.orvix.qsx4810.metainfo.xml)
for f in snmpclass.err snmp.err snmp.msg ktsnmp.err snmpv3.err snmpusm.err common.err; do expect+=("$lib/errMSg/$f"); done
for s in 16 32 48 64 128 256; do expect+=("./usr/share/icons/hicolor/${s}x${s}/apps/qsx4810.png"); done
expect+=("$lib/qsx4810-snapshot" ./usr/bin/qsx4810-snapshot)
for f in "${expect[@]}"; do
  grep -qxF -- "$f" <<<"$listing" || fail "missing from the package: $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6charts6 libsnmp40 qt6-qpa-plugins; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

unpacked="$scratch/root"
rm -rf "$unpacked"
dpkg-deb -x "$deb" "$unpacked"
for s in 16 256; do
  file "$unpacked/usr/share/icons/hicolor/${s}x${s}/apps/qsx4810.png" | grep -q "PNG image data, $s x $s" \
    || fail "the ${s}x${s} icon is not a PNG of that size"
done
desktop-file-validate "$unpacked/usr/share/applications/qsx4810.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/org.orvix.qsx4810.metainfo.xml"

cd "$scratch"
"$unpacked/usr/bin/qsx4810-agent" --help | grep -q "^Usage: " || fail "qsx4810-agent --help"

# Without an argument the module says so in a message box and ends with 1
# once it is confirmed: on a virtual X display, where a key can press OK.
err="$scratch/qsx4810.err"
status=0
timeout 120 xvfb-run -a bash -c '
  QT_QPA_PLATFORM=xcb "$1" 2>"$2" &
  pid=$!
  timeout 60 xdotool search --sync --name "^qsx4810\$" >/dev/null
  xdotool key Return
  wait $pid' _ "$unpacked/usr/bin/qsx4810" "$err" || status=$?
grep -q "No parameter input" "$err" || fail "qsx4810 did not say \"No parameter input\": $(cat "$err")"
[ "$status" -eq 1 ] || fail "qsx4810 without an argument ended with $status, not 1"
echo "PASS"
