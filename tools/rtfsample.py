#!/usr/bin/env python3
"""Writes a realistic RTF document for the document tests: German text with
umlauts in code page 1252, two fonts, colours, a table, hidden link markup,
and enough paragraphs to scroll. Pictures are left out.

usage: rtfsample.py OUT.rtf [LINK-COMMAND...]
Each link command gets a marked link in the first paragraph.

usage: rtfsample.py --short TITLE OUT.rtf [WORDS LINK-COMMAND]...
A short document instead: the title in red on the first line, then one line
per link, each the same height (12 points)."""
import sys


def escape(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in '\\{}':
            out.append('\\' + ch)
        elif code < 128:
            out.append(ch)
        else:
            out.append("\\'%02x" % ch.encode('cp1252')[0])
    return ''.join(out)


def link(words, command):
    # The marker and the block are visible text: their backslashes and
    # braces are escaped in the RTF source.
    return '\\\\BEGIN_TSLPARM' + escape(words) + '\\\\TSLPARM=\\{' + escape(command) + '\\}'


HEAD = ['{\\rtf1\\ansi\\ansicpg1252\\deff0',
        '{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}',
        '{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;\\red0\\green0\\blue190;}',
        '\\f0\\fs24 ']


def short(title, out, pairs):
    parts = list(HEAD)
    parts.append('{\\b\\cf2 ' + escape(title) + '}\\par ')
    for words, command in zip(pairs[0::2], pairs[1::2]):
        parts.append('{\\cf3\\ul ' + link(words, command) + '}\\par ')
    parts.append('}')
    with open(out, 'wb') as f:
        f.write(''.join(parts).encode('ascii'))


def main():
    if len(sys.argv) > 3 and sys.argv[1] == '--short':
        short(sys.argv[2], sys.argv[3], sys.argv[4:])
        return
    out = sys.argv[1]
    commands = sys.argv[2:]
    parts = list(HEAD)
    parts.append('{\\b\\fs32\\cf2 ' + escape('Größere Überschrift: Prüfung der Dokumente') + '}\\par ')
    intro = 'Verweise: '
    for i, command in enumerate(commands):
        intro_link = link('Verweis%d' % (i + 1), command)
        parts.append(escape(intro) if i == 0 else ' ')
        parts.append('{\\cf3\\ul ' + intro_link + '}')
    parts.append('\\par ')
    parts.append('\\trowd\\cellx2000\\cellx4000\\cellx6000 ')
    for row in (('Straße', 'Größe', 'Maß'), ('Äpfel', 'Öl', 'Übung')):
        parts.append(''.join(escape(c) + '\\cell ' for c in row) + '\\row ')
    parts.append('\\pard ')
    for i in range(40):
        font = '\\f1' if i % 2 else '\\f0'
        parts.append('{' + font + ' ' + escape('Absatz %d: Fließtext mit Umlauten ä ö ü Ä Ö Ü ß, '
                                               'der lang genug ist, um umzubrechen.' % (i + 1)) + '}\\par ')
    parts.append('}')
    with open(out, 'wb') as f:
        f.write(''.join(parts).encode('ascii'))


if __name__ == '__main__':
    main()
