# Sourced by the scripts that run the Windows build under Wine.
# use_wine_prefix DIR: points Wine at a prefix of the caller's own in DIR
# (never the user's ~/.wine), making it on first use: no Mono or Gecko, no
# debug chatter, and IPA Gothic standing in for the Japanese faces that the
# game and its dialog templates ask for.

use_wine_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The same in every caller's locale.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  [ -f "$WINEPREFIX/wrigglet-fonts.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # IPAGothic for both faces: its 12-pixel Latin letters are 6 wide, as on
  # the Japanese desktop, so the dialog's layout comes out nearest to it.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAGothic"' |
    iconv -f UTF-8 -t UTF-16 >"$WINEPREFIX/fonts.tmp"
  wine regedit /S "$(winepath -w "$WINEPREFIX/fonts.tmp" 2>/dev/null)" >/dev/null 2>&1
  wineserver -w
  mv "$WINEPREFIX/fonts.tmp" "$WINEPREFIX/wrigglet-fonts.reg"
}
