#!/usr/bin/env bash
# Writes the sample question files in code page 932 from the UTF-8 texts
# below. Run it again after changing a text: questions/make_samples.sh
set -euo pipefail
cd "$(dirname "$0")"

# Writes stdin, converted to code page 932, to the file $1. With "crlf" as $2
# every line ends in CR LF, as a file saved by a Windows editor does.
write() {
  local name=$1 ends=${2:-lf}
  if [ "$ends" = crlf ]; then
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$name"
  else
    iconv -f UTF-8 -t CP932 > "$name"
  fi
}

# Writes stdin as UTF-8 with a byte-order mark and CR LF line ends, as a
# spreadsheet saves "CSV UTF-8".
write_utf8() {
  { printf '\357\273\277'; sed 's/$/\r/'; } > "$1"
}

# Answers in ASCII: one tile per letter.
write fruits_english.csv <<'TEXT'
APPLE,りんご を英語で
LEMON,レモン を英語で
PEACH,もも を英語で
GRAPE,ぶどう を英語で
MELON,メロン を英語で
CHERRY,さくらんぼ を英語で
TEXT

# Answers in half-width katakana: one tile per character, marks included.
write animals_katakana.csv <<'TEXT'
ﾈｺ,「猫」を半角カタカナで
ｲﾇ,「犬」を半角カタカナで
ｳｻｷﾞ,「兎」を半角カタカナで
ｷﾂﾈ,「狐」を半角カタカナで
ﾊﾟﾝﾀﾞ,「熊猫」を半角カタカナで
ｿﾞｳ,「象」を半角カタカナで
TEXT

# Answers in kanji: two tiles per character, one for each byte.
write kanji_reading.csv crlf <<'TEXT'
山,「やま」を漢字で
花火,「はなび」を漢字で
富士山,日本でいちばん高い山は？
月曜日,日曜日の次の日は？
東京,日本の首都は？
図書館,本を借りるところは？
TEXT

# The same kind of quiz saved as UTF-8: read as it is, converted on loading.
write_utf8 kanji_utf8.csv <<'TEXT'
富士山,日本でいちばん高い山は？
山,「やま」を漢字で
日本,「にほん」を漢字で
東京,日本の首都は？
大阪,「おおさか」を漢字で
北海道,日本のいちばん北にある都道府県は？
TEXT
