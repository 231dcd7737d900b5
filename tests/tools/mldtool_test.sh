#!/usr/bin/env bash
# mldtool from the outside: a dump builds back to the same file, for the shipped table and for
# texts beyond Windows-1252; what cannot come back unchanged is refused with a message and a
# non-zero exit status, and leaves no file behind.
#   mldtool_test.sh MLDTOOL SHIPPED_TABLE
set -u
tool="$1"
shipped="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed=0
check() {
  if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; failed=1; fi
}

# round_trip NAME TABLE [OPTIONS...]: build, dump, build the dump; the two files are equal.
round_trip() {
  local name="$1" table="$2"
  shift 2
  "$tool" build "$table" "$work/$name.mld" "$@" &&
    "$tool" dump "$work/$name.mld" >"$work/$name.dump.tsv" &&
    "$tool" build "$work/$name.dump.tsv" "$work/$name.again.mld" &&
    cmp -s "$work/$name.mld" "$work/$name.again.mld"
}

check "the shipped table: dump then build gives the same file" round_trip shipped "$shipped"

# Czech in code page 1250 and a custom locale whose separators are no-break spaces.
printf '%s\n' '[header]' 'layout	0' \
  '[language]' 'primary	9' 'sub	1' 'codepage	1252' 'english	English' 'native	English' \
  '[language]' 'primary	5' 'sub	1' 'codepage	1250' 'english	Czech' 'native	Čeština' \
  '[locale]' 'primary	5' 'sub	1' 'codepage	1250' 'thousandSeparator	 ' 'decimalSeparator	,' \
  'currency	Kč' \
  '[translations]' 'Free Space	Volné místo' >"$work/cs.tsv"
for options in "" "--utf16" "--utf16 --big-endian --version 2" "--version 1"; do
  # shellcheck disable=SC2086
  check "Czech and no-break spaces${options:+ ($options)}: dump then build gives the same file" \
    round_trip cs "$work/cs.tsv" $options
  check "Czech and no-break spaces${options:+ ($options)}: the dump shows the texts" \
    grep -q $'^native\tČeština$' "$work/cs.dump.tsv"
done
# one_byte_nbsp: the 8-bit file holds the separator as the single byte 0xA0.
one_byte_nbsp() {
  "$tool" build "$work/cs.tsv" "$work/nbsp.mld" && LC_ALL=C grep -q $'\xa0' "$work/nbsp.mld" &&
    ! LC_ALL=C grep -q $'\xc2\xa0' "$work/nbsp.mld"
}
check "the no-break space is one byte, 0xA0, in the 8-bit file" one_byte_nbsp

# refused TABLE MESSAGE [OPTIONS...]: exit status 1, the message, no file.
refused() {
  local table="$1" message="$2"
  shift 2
  rm -f "$work/refused.mld"
  "$tool" build "$table" "$work/refused.mld" "$@" 2>"$work/err.txt"
  local status=$?
  [ "$status" -eq 1 ] && grep -qF "$message" "$work/err.txt" && [ ! -e "$work/refused.mld" ] &&
    [ ! -e "$work/refused.mld.tmp" ]
}
sed 's/^codepage\t1250$/codepage\t1252/' "$work/cs.tsv" >"$work/cs1252.tsv"
check "Czech in a Windows-1252 language is refused" \
  refused "$work/cs1252.tsv" 'code page 1252 has no character U+010C'
printf '%s\n' '[language]' 'primary	9' '[language]' 'primary	17' 'codepage	932' 'native	日本語' >"$work/ja.tsv"
check "Japanese as 8-bit text is refused (no table for code page 932)" \
  refused "$work/ja.tsv" 'no table for code page 932'
check "Japanese as UTF-16 text round-trips" round_trip ja "$work/ja.tsv" --utf16

exit "$failed"
