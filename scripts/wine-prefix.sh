# Sourced by the scripts that run the Windows build under Wine.
# use_wine_prefix DIR: points Wine at a prefix of the caller's own in DIR
# (never the user's ~/.wine), making it on first use: no Mono or Gecko, no
# debug chatter, IPA Gothic standing in for the Japanese faces that the game
# and its dialog templates ask for, and windows that Wine frames itself: with
# no window manager on the virtual display, hiding a window managed by one
# would wait seconds for an answer that never comes.

use_wine_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The same in every caller's locale.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  [ -f "$WINEPREFIX/wrigglet.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Wine's own faces (the frame's buttons, its dialogs), which this Wine
  # does not find in its data folder by itself.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # IPAGothic for both faces: its 12-pixel Latin letters are 6 wide, as on
  # the Japanese desktop, so the dialog's layout comes out nearest to it.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' |
    iconv -f UTF-8 -t UTF-16 >"$WINEPREFIX/wrigglet.tmp"
  wine regedit /S "$(winepath -w "$WINEPREFIX/wrigglet.tmp" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  mv "$WINEPREFIX/wrigglet.tmp" "$WINEPREFIX/wrigglet.reg"
}
