# Sourced by the Windows scripts (bash): Wine for running and testing the Windows build on Debian.
#
#   source scripts/windows/wine-env.sh
#   photocheck_wine_prefix                    make the Wine prefix once (in the photocheck cache)
#   photocheck_wine PROGRAM.exe ARGS...       run a Windows program (under Xvfb when there is no display)
#   photocheck_with_display COMMAND...        run any command with a display (wine, import, ...)
#
# The prefix maps the CJK UI fonts of a Chinese Windows (Microsoft YaHei, SimSun and their Chinese names)
# onto Debian's fonts-wqy-microhei, and links that font behind Wine's UI fonts. That is a test
# environment only: nothing of it is shipped. Wine needs an X display even for a console program.

photocheck_windows_cache=${PHOTOCHECK_WINDOWS_CACHE:-$HOME/.cache/photocheck-windows}
export WINEPREFIX=${PHOTOCHECK_WINE_PREFIX:-$photocheck_windows_cache/wine-prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko (the programs need neither, and Debian's wine has none to install), no menu entries.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
photocheck_cjk_font="WenQuanYi Micro Hei"

# Runs COMMAND with an X display: the current one, or a private Xvfb that lives as long as the command
# (and the Wine processes it left, which would otherwise keep a display that is gone).
photocheck_with_display() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '"$@"; status=$?; wineserver -w; exit $status' -- "$@"
  fi
}

photocheck_wine_prefix() {
  [ -f "$WINEPREFIX/.photocheck-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  photocheck_with_display wineboot -i || return 1
  photocheck_wine_fonts || return 1
  touch "$WINEPREFIX/.photocheck-ready"
}

photocheck_wine_fonts() {
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    local name
    for name in "Microsoft YaHei" "Microsoft YaHei UI" "微软雅黑" SimSun NSimSun "宋体" "新宋体" SimHei "黑体"; do
      printf '"%s"="%s"\r\n' "$name" "$photocheck_cjk_font"
    done
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for name in "Segoe UI" Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" Arial; do
      printf '"%s"=hex(7):%s\r\n' "$name" "$(photocheck_multi_sz "wqy-microhei.ttc,$photocheck_cjk_font")"
    done
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
  photocheck_with_display wine regedit /S "$(winepath -w "$reg")"
  local status=$?
  rm -f "$reg"
  return $status
}

# A REG_MULTI_SZ of one string as regedit's hex(7) list (UTF-16LE, two terminating NULs).
photocheck_multi_sz() {
  printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',,' | sed 's/^,//; s/,$//' |
    sed 's/$/,00,00,00,00/'
}

photocheck_wine() {
  photocheck_wine_prefix || return 1
  photocheck_with_display wine "$@"
}
