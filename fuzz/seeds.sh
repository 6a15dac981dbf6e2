#!/usr/bin/env bash
# Writes small seed corpora for the fuzz targets into the folder given.
set -euo pipefail
out=${1:?usage: seeds.sh DIR}
mkdir -p "$out"/{load,number,catalogue,savepath,model,keptwork,values}

# Missions: empty, short, exactly 400 zero bytes, a new mission, a longer file.
: > "$out/load/empty"
head -c 399 /dev/zero > "$out/load/short"
head -c 400 /dev/zero > "$out/load/zeros"
{ printf '\x7a\xcb\x7b\x3f\x65\x02\x00\xaa'; head -c 392 /dev/zero; } > "$out/load/new"
{ printf '\x00\x00\x00\x00\x65\x02\x00\xaa\x00\x80\x00\x00Dogfight'; head -c 480 /dev/zero | tr '\0' '\377'; } > "$out/load/long"

i=0
for t in "1500" "2 500" "1.5E3" "12abc" "1,500" "&HFFFF" "&O177777" "-1e20" "1e-3" ".1" "4294967295" "1D2" "&H123456789" "9e999" ""; do
  printf '%s' "$t" > "$out/number/n$i"; i=$((i + 1))
done

printf 'Hurricane\nSpitfire\n' > "$out/catalogue/lf"
printf 'a\r\nb\rc\n\nd' > "$out/catalogue/mixed"
printf '\xef\xbb\xbfCaf\xc3\xa9\n' > "$out/catalogue/bom"
printf 'Caf\xe9 \x80\n' > "$out/catalogue/cp1252"

# Field values: a field (first byte), names or not (second), then the text.
i=0
for t in '\x04\x001945' '\x04\x00 3  # 1945' '\x0c\x01Random' '\x0c\x01Spitfire\nHurricane\nBf 109\n' \
         '\x03\x00"Raid \\u0081#1"  # name' '\x02\x00off' '\x08\x01Dover' '\x1b\x001'; do
  printf "$t" > "$out/values/v$i"; i=$((i + 1))
done

i=0
for t in "mission1" "mission1.msn" "" ".." "a/b" 'a\b' "what?" "tab	x" "été"; do
  printf '%s' "$t" > "$out/savepath/s$i"; i=$((i + 1))
done

# Event sequences for the window model: the example mission loaded, then
# edited and saved; a new mission edited and saved onto a full disk.
{ printf '\x00\xc8\x01'; cat "$(dirname "$0")/../examples/sample.msn"; printf '\x01\x02\x03\x03\x01\x05\x31\x32\x01\x05\x00\x08\x03\x61\x62\x63\x04\x07\x01\x01'; } > "$out/model/sample"
printf '\x06\x01\x00\x02\x02\x01\x03\x81\x01\x37\x02\x01\x08\x02\x6d\x31\x04\x00\x07\x00\x07\x01\x08\x01\x61\x05\x00' > "$out/model/new"

# Kept works: a whole one of each format, and a cut one.
here=$(dirname "$0")
cp "$here/seeds/kept-v2.json" "$out/keptwork/v2"
cp "$here/seeds/kept-v1.json" "$out/keptwork/v1"
head -c 300 "$here/seeds/kept-v2.json" > "$out/keptwork/cut"
