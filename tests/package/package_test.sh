#!/usr/bin/env bash
# The installed tree and the Debian package: the files and links, the menu
# entry, a new user's first start through the menu entry's command, and the
# package's file list and control fields.
#
#   package_test.sh BUILD_DIR CMAKE CPACK
set -euo pipefail
build=$1 cmake=$2 cpack=$3

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$1" ] || fail "missing file $1"; }
expect_line() {  # FILE LINE: the file holds the whole line
  grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"
}

# The installed tree.
prefix=$tmp/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
program=$prefix/lib/hv6
[ "$(readlink "$prefix/bin/hv6")" = ../lib/hv6/hv6 ] || fail "bin/hv6 is not a link to ../lib/hv6/hv6"
[ -x "$program/hv6" ] || fail "lib/hv6/hv6 is not an executable"
[ -x "$program/hv6patch" ] || fail "lib/hv6/hv6patch is not an executable"
for f in hv6-install hv6-start; do [ -x "$prefix/bin/$f" ] || fail "bin/$f is not an executable"; done
# The data tools hv6 loads or starts from its program folder.
for f in libhrvinit6.so libfixdata6.so; do expect_file "$program/$f"; done
[ -x "$program/helpdesk" ] || fail "lib/hv6/helpdesk is not an executable"
for f in libhrvinit6.so libfixdata6.so; do
  nm -D --defined-only "$program/$f" | grep -Eq ' T (NewMakeData|DataMaintenance)$' ||
    fail "$f lacks its export"
done
# hv6 finds its help beside its own resolved path.
help=$(readlink -f "$prefix/bin/hv6").chm
for page in 10000 10024 99999 weather; do expect_file "$help/$page.html"; done
for f in SELSYS.SL2 Chohyo.ini Pri_Mode.ini wxfetch.ini system.nb6 ENV.NB5 A3ENV.ACC ENV.AC2 \
         ENV.ACD DATALIST.SLD Env.sld; do
  expect_file "$program/$f"
done
expect_file "$prefix/share/icons/hicolor/scalable/apps/hv6.svg"
# The backup and restore libraries hv6 loads from its program folder.
for f in libsavedata6.so libloaddata6.so; do expect_file "$program/$f"; done
# The dial library hv6 loads from its program folder, with the functions
# it looks up.
expect_file "$program/libdialnt6.so"
for f in _RasDialDlg _RasEnumConnections _RasEnumEntries _RasHangUp _RasGetConnectStatus; do
  nm -D --defined-only "$program/libdialnt6.so" | grep -qw -- "$f" ||
    fail "libdialnt6.so does not export $f"
done
# The sales library a sales host loads from the program folder, with the
# entry points it looks up.
expect_file "$program/libslsale.so"
slsale_exports=$(nm -D --defined-only "$program/libslsale.so")
for f in InitSelSaleDLL Sale_InitClass Sale_SetGlobalValue Sale_NewE10Wnd Sale_NewE30Wnd GetE10Wnd \
         SetE10Wnd ResetE10Wnd; do
  grep -qw -- "$f" <<<"$slsale_exports" || fail "libslsale.so does not export $f"
done
for f in "$program/hv6" "$program/hv6patch" "$prefix/bin/hv6-install" "$program/helpdesk" \
         "$program/libhrvinit6.so" "$program/libfixdata6.so" "$program/libsavedata6.so" \
         "$program/libloaddata6.so" "$program/libdialnt6.so" "$program/libslsale.so" \
         "$program/hv6-sales"; do
  if readelf -d "$f" | grep -Eq 'RPATH|RUNPATH'; then fail "$f carries a library search path"; fi
done

# The menu entry.
desktop=$prefix/share/applications/hv6.desktop
expect_line "$desktop" "Exec=hv6-start"
expect_line "$desktop" "Icon=hv6"
grep -q '^Name\[ja\]=.' "$desktop" || fail "the menu entry has no Japanese name"
grep -q '^Comment\[ja\]=.' "$desktop" || fail "the menu entry has no Japanese comment"
# The sales host's entry: 販売管理 through the same first-start script.
sales_desktop=$prefix/share/applications/hv6-sales.desktop
expect_line "$sales_desktop" "Exec=hv6-start --sales"
expect_line "$sales_desktop" "Name[ja]=販売管理"
[ "$(readlink "$prefix/bin/hv6-sales")" = "../lib/hv6/hv6-sales" ] ||
  fail "bin/hv6-sales does not link to the program folder's hv6-sales"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the menu entry"
  desktop-file-validate "$sales_desktop" || fail "desktop-file-validate refuses the sales menu entry"
else
  fail "desktop-file-validate is missing (package desktop-file-utils)"
fi

# A new user's first start through the menu entry's command, with every
# outside location in the temporary folder. The program folder is made
# read-only as a system package's is: the demo data is then generated in
# the machine-wide folder (an account that writes everywhere still gets it
# in the program folder, then copied there).
user=$tmp/user
mkdir -p "$user"/{home,config,data,runtime,documents,localdata,common}
chmod 700 "$user/runtime"
chmod -R a-w "$prefix"
first_start() {
  env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$user/home" XDG_CONFIG_HOME="$user/config" \
    XDG_DATA_HOME="$user/data" XDG_RUNTIME_DIR="$user/runtime" HV6_DOCUMENTS="$user/documents" \
    HV6_LOCALDATA="$user/localdata" HV6_COMMON="$user/common" HV6_RUNTIME="$user/runtime" \
    QT_QPA_PLATFORM=offscreen hv6-start --check-start 2>&1
}
demo=$user/common/Velqor/HV6P/demodata
opened="DataPath=$demo/作業日誌データ.HV6 (open) WeatherDataPath=$demo/気象データ.HV6 (open)"
if output=$(first_start); then :; else fail "the first start ended with $?: $output"; fi
grep -qF -- "$opened" <<<"$output" || fail "the first start did not open the demo data: $output"
settings=$user/config/hv6/registry.reg
expect_file "$settings"
grep -qF -- "\"InstallPath\"=\"$program\"" "$settings" ||
  fail "the settings do not name the program folder $program"
[ -w "$program" ] || [ ! -e "$program/demodata" ] || fail "demo data was written into $program"
if output=$(first_start); then :; else fail "the second start ended with $?: $output"; fi
grep -qF "nothing done" <<<"$output" || fail "the second start installed again: $output"
grep -qF -- "$opened" <<<"$output" || fail "the second start did not open the demo data: $output"
chmod -R u+w "$prefix"

# A service pack made from the installed program folder by the team's
# script, applied to it without a window with that user's settings.
release=$tmp/release
mkdir -p "$release"
cp -p "$program/wxfetch.ini" "$release/wxfetch.ini"
echo "; service pack" >>"$release/wxfetch.ini"
cp -p "$program/hv6patch" "$release/hv6patch"
pack=$tmp/servicepack
"$(dirname "$0")/../../scripts/make-servicepack.sh" --from "$release" --min 6.05.01 --max 6.05.01 \
  --out "$pack" wxfetch.ini >/dev/null || fail "make-servicepack.sh made no pack"
if output=$(env -i PATH=/usr/bin:/bin HOME="$user/home" XDG_CONFIG_HOME="$user/config" \
    XDG_RUNTIME_DIR="$user/runtime" HV6_COMMON="$user/common" HV6_RUNTIME="$user/runtime" \
    "$pack/hv6patch" --unattended 2>&1); then :; else fail "hv6patch --unattended ended with $?: $output"; fi
cmp -s "$release/wxfetch.ini" "$program/wxfetch.ini" || fail "the pack did not replace wxfetch.ini"
leftover=$(find "$program" -name '*.hv6patch-*')
[ -z "$leftover" ] || fail "the pack left files behind: $leftover"

# The package.
"$cpack" -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >/dev/null
deb=$(echo "$tmp"/package/hv6_*.deb)
[ -f "$deb" ] || fail "cpack made no hv6_*.deb"
dpkg-deb -c "$deb" | awk '{ name = $6; for (i = 7; i <= NF; i++) name = name " " $i; print name }' \
  >"$tmp/files"
for line in "./usr/bin/hv6 -> ../lib/hv6/hv6" ./usr/bin/hv6-install ./usr/bin/hv6-start \
            ./usr/lib/hv6/hv6 ./usr/lib/hv6/hv6patch ./usr/lib/hv6/hv6.chm/10000.html \
            ./usr/lib/hv6/wxfetch.ini ./usr/lib/hv6/libdialnt6.so \
            ./usr/lib/hv6/libhrvinit6.so ./usr/lib/hv6/libfixdata6.so ./usr/lib/hv6/helpdesk \
            ./usr/lib/hv6/libsavedata6.so ./usr/lib/hv6/libloaddata6.so ./usr/lib/hv6/libslsale.so \
            ./usr/lib/hv6/hv6-sales ./usr/share/applications/hv6-sales.desktop \
            ./usr/share/applications/hv6.desktop ./usr/share/icons/hicolor/scalable/apps/hv6.svg; do
  expect_line "$tmp/files" "$line"
done
outside=$(awk '$1 !~ /^\.\/(usr\/.*)?$/' "$tmp/files")
[ -z "$outside" ] || fail "the package holds files outside /usr: $outside"
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6widgets6 libqt6sql6 libqt6svg6 libqt6dbus6 libqt6sql6-sqlite \
         qt6-qpa-plugins fonts-noto-cjk libexif12 libarchive13; do
  grep -Eq "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done
dpkg-deb -I "$deb" postinst | grep -qF "install -d -m 1777 /var/lib/hv6/common" ||
  fail "postinst does not make the machine-wide folder"

[ "$failures" -eq 0 ] || exit 1
echo "package_test: all checks passed"
