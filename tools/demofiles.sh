#!/bin/sh
# Writes the files of the demo's page "Dateien" into DIR/dateien: two ZIP
# archives (Debian's zip with folders, dates and a start file two levels
# down; python3's zipfile with umlaut names, flagged UTF-8), a read-only
# file and a folder of read-only files with a subfolder for the copy codes.
# The player tests lay the same files down beside their projects.
#   sh tools/demofiles.sh DIR
set -eu
d="$1/dateien"
[ -d "$d" ] && chmod -R u+w "$d"
rm -rf "$d"
mkdir -p "$d/quelle/docs/info" "$d/quelle/leer" "$d/ordner/unter"
q="$d/quelle"
printf 'Willkommen im Archiv.\r\n' > "$q/lies.txt"
printf 'Diese Datei wird nach dem Entpacken ge\366ffnet.\r\n' > "$q/docs/info/liesmich.txt"
seq 1 30000 > "$q/docs/zahlen.txt"
# Even seconds: the entries keep DOS times, which have two-second steps.
touch -d '2019-07-08 09:10:12' "$q/lies.txt"
touch -d '2001-02-03 04:05:06' "$q/docs/zahlen.txt"
touch -d '2024-12-24 18:00:00' "$q/docs/info/liesmich.txt"
(cd "$q" && zip -qr ../demo.zip .)
rm -rf "$q"
python3 - "$d/umlaute.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr('Gr\u00fc\u00dfe.txt', 'Viele Gr\u00fc\u00dfe\r\n')
    z.writestr('\u00dcbersicht/\u00c4pfel.txt', '\u00c4pfel und Birnen\r\n')
PY
printf 'Eine schreibgesch\374tzte Datei.\r\n' > "$d/liesmich.txt"
printf 'eins\r\n' > "$d/ordner/eins.txt"
printf 'zwei\r\n' > "$d/ordner/unter/zwei.txt"
chmod a-w "$d/liesmich.txt" "$d/ordner/eins.txt" "$d/ordner/unter/zwei.txt"
