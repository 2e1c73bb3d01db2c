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
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the Unix locale: zh_CN gives code page 936 (GBK).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
