#!/usr/bin/env bash
# Installs what building and testing need, once. Quiet when everything is present.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick fonts-wqy-zenhei locales)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in the middle of a sync can fail one index (apt-get update then exits 100
  # though the others are fresh): try again a few times, then install from what is there.
  for attempt in 1 2 3; do
    apt-get update -qq && break
    echo "setup: package lists not all refreshed (try $attempt of 3)"
    sleep $((attempt * 5))
  done
  if ! apt-get install -y -qq "${missing[@]}" >/dev/null; then
    # Without a fresh security index for one architecture, the two architectures of a
    # multi-arch library get different candidates and cannot be installed together. Take
    # both from the main suite then (what is installed already stays).
    echo "setup: installing again with the main suite's versions of shared libraries"
    pref=$(mktemp)
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$pref"
    apt-get install -y -qq -o Dir::Etc::Preferences="$pref" "${missing[@]}" >/dev/null
    rm -f "$pref"
  fi
fi

# Wine takes its ANSI code page from the Unix locale: zh_CN gives code page 936 (GBK).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
