#!/usr/bin/env bash
# Builds a service-pack folder: copies the listed files of a program folder
# (subfolders kept), writes "FileList.dat" with the version range and the
# names, and puts hv6patch beside them. On a farm computer, running the
# pack's hv6patch (or `hv6patch --unattended`) replaces those files in the
# installed program folder.
#
#   make-servicepack.sh --from DIR --min VERSION --max VERSION --out DIR
#                       [--hv6patch FILE] [--list FILE] [NAME...]
#
# --from      the program folder the files come from (e.g. an installed
#             prefix's lib/hv6); the names are relative to it
# --min/--max the installed versions the pack applies to (HRV6\Version of
#             the settings, such as 6.05.01; at most 9 characters each)
# --out       the pack's folder; it must not exist yet or be empty
# --hv6patch  the updater to ship; default: hv6patch in the --from folder
# --list      a file of names, one a line (blank lines and lines starting
#             with # are skipped); names may also follow the options
set -euo pipefail

die() { echo "make-servicepack: $*" >&2; exit 1; }

from="" min="" max="" out="" updater="" names=()
while [ $# -gt 0 ]; do
  case $1 in
    --from) from=${2:?}; shift 2 ;;
    --min) min=${2?}; shift 2 ;;
    --max) max=${2?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    --hv6patch) updater=${2:?}; shift 2 ;;
    --list)
      [ -f "$2" ] || die "no list file $2"
      while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        case $line in ''|'#'*) continue ;; esac
        names+=("$line")
      done <"$2"
      shift 2 ;;
    --help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    --*) die "unknown option $1" ;;
    *) names+=("$1"); shift ;;
  esac
done

[ -n "$from" ] && [ -d "$from" ] || die "--from DIR must name the program folder"
[ -n "$out" ] || die "--out DIR is required"
[ -n "$min" ] && [ -n "$max" ] || die "--min and --max are required"
# hv6patch reads at most 9 characters of each, at most 99 of a name, and a
# count that fits 16 bits.
[ ${#min} -le 9 ] && [ ${#max} -le 9 ] || die "a version has more than 9 characters"
[ ${#names[@]} -ge 1 ] || die "no files listed"
[ ${#names[@]} -le 32767 ] || die "more than 32767 files"
[ -n "$updater" ] || updater=$from/hv6patch
[ -f "$updater" ] && [ -x "$updater" ] || die "no hv6patch program at $updater (give --hv6patch)"
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ]; then die "$out is not empty"; fi

declare -A seen=()
for name in "${names[@]}"; do
  case /$name/ in */../*|*/./*|*//*) die "$name: a name must be a plain relative path" ;; esac
  case $name in
    /*|*\\*) die "$name: a name must be relative, with / between folders" ;;
    [[:space:]]*|*[[:space:]]|\"*) die "$name: a name must not start or end with a blank or quote" ;;
    FileList.dat) die "$name: the pack holds its own $name" ;;
  esac
  # The updater itself may be listed: the one shipped is then that file.
  if [ "$name" = hv6patch ] && ! cmp -s "$from/hv6patch" "$updater"; then
    die "hv6patch is listed, but --hv6patch names another program"
  fi
  [ ${#name} -le 99 ] || die "$name: longer than 99 characters"
  [ -z "${seen[$name]:-}" ] || die "$name is listed twice"
  seen[$name]=1
  [ -f "$from/$name" ] || die "$name: no such file in $from"
done

mkdir -p "$out"
cp --preserve=mode "$updater" "$out/hv6patch"
for name in "${names[@]}"; do
  [ "$name" != hv6patch ] || continue
  mkdir -p "$out/$(dirname "$name")"
  cp --preserve=mode "$from/$name" "$out/$name"
done
{
  echo "[FileList]"
  echo "MinVersion=$min"
  echo "MaxVersion=$max"
  echo "FileCount=${#names[@]}"
  index=0
  for name in "${names[@]}"; do
    index=$((index + 1))
    printf 'File%02d=%s\n' "$index" "$name"
  done
} >"$out/FileList.dat"
echo "make-servicepack: ${#names[@]} files for versions $min to $max in $out"
