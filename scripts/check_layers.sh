#!/usr/bin/env bash
# Fails when a source file includes against the layer order, when a file
# outside the Qt layer (not *_ui.*) includes Qt, or when a job flag is assigned
# anywhere but in core/jobstate.cpp.
#   check_layers.sh SRC_DIR "base image settings ... app"
# The order comes from src/CMakeLists.txt (KORVANE_LAYERS): a plain file may
# include plain headers of its own folder and of folders before it; a *_ui
# file may also include any plain header and *_ui headers of its own folder
# and of folders before it.
set -u
src=${1:?source folder}
read -r -a layers <<<"${2:?layer order}"

declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

fail=0
report() { echo "$1"; fail=1; }

while IFS= read -r file; do
  rel=${file#"$src"/}
  folder=${rel%%/*}
  [ -n "${rank[$folder]+x}" ] || { report "$rel: folder '$folder' is not in the layer order"; continue; }
  own=${rank[$folder]}
  ui=0
  [[ $rel == *_ui.* ]] && ui=1
  while IFS= read -r line; do
    num=${line%%:*}
    text=${line#*:}
    if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"/]+)/([^\"]+)\" ]]; then
      dep=${BASH_REMATCH[1]}
      header=${BASH_REMATCH[2]}
      [ -n "${rank[$dep]+x}" ] || { report "$rel:$num: includes unknown folder '$dep'"; continue; }
      is_ui_header=0
      [[ $header == *_ui.h ]] && is_ui_header=1
      if [ $ui -eq 0 ] && [ $is_ui_header -eq 1 ]; then
        report "$rel:$num: a file outside the Qt layer includes $dep/$header"
      elif [ ${rank[$dep]} -gt "$own" ] && { [ $ui -eq 0 ] || [ $is_ui_header -eq 1 ]; }; then
        report "$rel:$num: $folder must not include $dep/$header (layer above it)"
      fi
    elif [ $ui -eq 0 ] && [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<(Q[A-Za-z]*|Qt[A-Za-z]*/|Qsci/)[^\>]*\> ]]; then
      report "$rel:$num: a file outside the Qt layer includes Qt (${BASH_REMATCH[0]##*include})"
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# Job flags change only through the named transitions.
flags='cancelRequested|contourAccepted|graphicViewPending|backupValid|autoAccept|pictureChanged'
while IFS= read -r hit; do
  report "$hit: job flag assigned outside core/jobstate.cpp"
done < <(grep -rnE "(\.|->)($flags)[[:space:]]*(=[^=]|\|=|&=)" "$src" --include='*.h' --include='*.cpp' |
         grep -v "^$src/core/jobstate.cpp:" | sed "s#^$src/##")

if [ $fail -ne 0 ]; then
  echo "layer check failed"
  exit 1
fi
echo "layer check passed"
