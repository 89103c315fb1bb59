#!/usr/bin/env bash
# Checks that the Windows bundle holds what the program needs to start:
# photos_norvalis.exe as a 64-bit GUI program that loads the engine and the
# app-links plugin DLLs, carries its icon, manifest and version block, and
# with the DLLs of the bundle needs no MinGW runtime DLL. Prints each failed
# check and exits non-zero when there is one.
#
#   scripts/check-windows-build.sh [BUNDLE_DIR]    # default: build-mingw/bundle
set -euo pipefail
cd "$(dirname "$0")/.."

bundle=${1:-build-mingw/bundle}
icon=shell/resources/photos_norvalis.ico
objdump=x86_64-w64-mingw32-objdump
objcopy=x86_64-w64-mingw32-objcopy
windres=x86_64-w64-mingw32-windres
exe=$bundle/photos_norvalis.exe

# The version the resources carry: the project's, and the build number that
# cmake/NorvalisResources.cmake adds as the fourth part.
project_version=$(sed -nE 's/^project\(photos_norvalis VERSION ([0-9]+\.[0-9]+\.[0-9]+)[ )].*/\1/p' \
  CMakeLists.txt)
build_number=$(sed -nE 's/^set\(NORVALIS_BUILD_NUMBER ([0-9]+)\)$/\1/p' cmake/NorvalisResources.cmake)
if [ -z "$project_version" ] || [ -z "$build_number" ]; then
  echo "check-windows-build: cannot read the version from CMakeLists.txt" \
    "and cmake/NorvalisResources.cmake" >&2
  exit 1
fi
version_numbers="${project_version//./, }, $build_number"
version_text="$project_version+$build_number"

failures=0
fail() {
  echo "check-windows-build: $*" >&2
  failures=$((failures + 1))
}

# Whether the text in $1 holds the line $2, compared whole.
has_line() {
  grep -qxF -- "$2" <<<"$1"
}

for file in "$exe" "$bundle/flutter_windows.dll" "$bundle/app_links_plugin.dll"; do
  if [ ! -f "$file" ]; then
    fail "missing: $file"
  fi
done
if [ ! -f "$exe" ]; then
  exit 1
fi

headers=$("$objdump" -p "$exe")
grep -qE '^Magic[[:space:]]+020b' <<<"$headers" || fail "$exe is not a PE32+ image"
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "$exe is not a GUI program"
for dll in flutter_windows.dll app_links_plugin.dll; do
  grep -qiE "DLL Name: $dll\$" <<<"$headers" || fail "$exe does not import $dll"
done

# The runtimes are linked statically, so no image of the bundle may need
# MinGW's DLLs.
for image in "$bundle"/*.exe "$bundle"/*.dll; do
  [ -f "$image" ] || continue
  runtime=$("$objdump" -p "$image" |
    grep -ioE 'DLL Name: (libstdc\+\+-6|libgcc_s_[a-z0-9_]+-1|libwinpthread-1)\.dll' || true)
  if [ -n "$runtime" ]; then
    runtime=${runtime//DLL Name: /}
    fail "$image needs MinGW runtime DLLs: ${runtime//$'\n'/ }"
  fi
done

# The resources, decompiled.
if ! resources=$("$windres" --input-format=coff -i "$exe" -O rc 2>&1); then
  fail "$exe has no resources: $resources"
  resources=
fi

# Icon group 101: the ten images of the icon file, in its order. Each line
# of the group reads "WIDTH HEIGHT COLOURS PAD", planes, bits, bytes, index;
# the numbers are octal escapes, and a width of 0 means 256.
group=$(sed -n '/^101 14 \/\* RT_GROUP_ICON \*\//,/^END/p' <<<"$resources")
if [ -z "$group" ]; then
  fail "$exe has no icon group 101"
else
  compiled=$(sed -nE 's/^ *"\\([0-7]+)\\([0-7]+)\\[0-7]+\\[0-7]+", ([0-9]+), ([0-9]+), (0x[0-9a-f]+)L.*/\1 \2 \3 \4 \5/p' \
    <<<"$group" | while read -r width height planes bits bytes; do
      echo "$((8#$width)) $((8#$height)) $planes $bits $((bytes))"
    done)
  sizes=$(cut -d ' ' -f 1,2,4 <<<"$compiled" | tr '\n' ';')
  want_sizes='0 0 32;48 48 4;48 48 8;48 48 32;32 32 4;32 32 8;32 32 32;16 16 4;16 16 8;16 16 32;'
  if [ "$sizes" != "$want_sizes" ]; then
    fail "icon group 101 holds (width height bits) $sizes, not $want_sizes"
  fi

  # The icon file's directory: the same fields, and where each image lies.
  directory=$(od -An -v -tu1 -j6 -N$((16 * 10)) "$icon" | tr -s ' \n' '\n' | sed '/^$/d' |
    paste -d ' ' - - - - - - - - - - - - - - - - |
    while read -r w h _ _ p0 p1 b0 b1 s0 s1 s2 s3 o0 o1 o2 o3; do
      echo "$w $h $((p0 + 256 * p1)) $((b0 + 256 * b1))" \
        "$((s0 + 256 * (s1 + 256 * (s2 + 256 * s3))))" \
        "$((o0 + 256 * (o1 + 256 * (o2 + 256 * o3))))"
    done)
  if [ "$compiled" != "$(cut -d ' ' -f 1-5 <<<"$directory")" ]; then
    fail "icon group 101 does not list the images of $icon"
  fi
  # Each image of the file must be in the resource section byte for byte.
  # One byte is three characters, "xx ", so matches fall on byte boundaries.
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  "$objcopy" -O binary --only-section=.rsrc "$exe" "$scratch/rsrc"
  od -An -v -tx1 "$scratch/rsrc" | tr -s ' \n' ' ' >"$scratch/rsrc.hex"
  while read -r width _ _ bits size offset; do
    [ "$width" != 0 ] || width=256
    od -An -v -tx1 -j"$offset" -N"$size" "$icon" | tr -s ' \n' ' ' | sed 's/^ //' >"$scratch/image"
    grep -qF -f "$scratch/image" "$scratch/rsrc.hex" ||
      fail "$exe lacks the ${width}x${width} ${bits} bpp image of $icon"
  done <<<"$directory"
fi

# One manifest, resource 1, with the settings the window code relies on.
manifests=$(grep -cE '^[0-9]+ 24 /\* RT_MANIFEST \*/' <<<"$resources" || true)
if [ "$manifests" != 1 ] || ! grep -qE '^1 24 /\* RT_MANIFEST \*/' <<<"$resources"; then
  fail "$exe carries $manifests manifests, not one manifest with the identifier 1"
fi
manifest=$(sed -n '/^1 24 \/\* RT_MANIFEST \*\//,/^END/p' <<<"$resources" | sed 's/""/"/g')
for setting in 'requestedExecutionLevel level="asInvoker" uiAccess="false"' \
               '>PerMonitorV2</dpiAwareness>' \
               'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"'; do
  grep -qF -- "$setting" <<<"$manifest" || fail "the manifest lacks: $setting"
done

# The version block, for U.S. English in code page 1252.
version=$(sed -n '/^1 VERSIONINFO/,/^END/p' <<<"$resources" | sed 's/^ *//')
if [ -z "$version" ]; then
  fail "$exe has no version block"
else
  for line in "FILEVERSION $version_numbers" "PRODUCTVERSION $version_numbers" 'FILETYPE 0x1' \
              'BLOCK "040904e4"' \
              'VALUE "CompanyName", "com.norvalis"' \
              'VALUE "FileDescription", "photos_norvalis"' \
              "VALUE \"FileVersion\", \"$version_text\"" \
              'VALUE "InternalName", "photos_norvalis"' \
              'VALUE "OriginalFilename", "photos_norvalis.exe"' \
              'VALUE "ProductName", "photos_norvalis"' \
              "VALUE \"ProductVersion\", \"$version_text\"" \
              'VALUE "Translation", 0x409, 1252'; do
    has_line "$version" "$line" || fail "the version block lacks: $line"
  done
fi

if [ $failures -ne 0 ]; then
  echo "check-windows-build: $failures checks failed for $bundle" >&2
  exit 1
fi
echo "check-windows-build: $exe is a GUI program importing flutter_windows.dll and" \
  "app_links_plugin.dll, with icon group 101 (10 images), its manifest and version block"
