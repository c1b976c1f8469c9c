#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/ from the real-server captures and the language files.

Run from the repository's top folder after a capture or a language file changed; the seeds are
committed, so a build never needs this script.
"""
import glob
import json
import os
import shutil

CORPUS = 'fuzz/corpus'
SETTINGS = b'[lang]\r\nDefault=english\r\nChecked=True\r\n'
EDITED = (b'; Korvane settings\r\n[window]\r\nLeft=120\r\n\r\n[LANG]\r\n  default = "french" \r\n'
          b'; remember\r\nChecked=False\r\n\r\n[servers]\r\nLast=127.0.0.1:27960\n')


def write(target, name, data):
    os.makedirs(os.path.join(CORPUS, target), exist_ok=True)
    with open(os.path.join(CORPUS, target, name), 'wb') as f:
        f.write(data)


def main():
    shutil.rmtree(CORPUS, ignore_errors=True)
    for path in sorted(glob.glob('tests/data/captures/*.json')):
        capture = os.path.splitext(os.path.basename(path))[0]
        with open(path) as f:
            replies = json.load(f)['replies']
        for index, reply in enumerate(replies):
            datagram = bytes.fromhex(reply['hex'])
            for target in ('reply', 'campaign'):
                write(target, f'{capture}-{index}', datagram)

    files = {'settings.ini': SETTINGS, 'edited.ini': EDITED}
    for path in sorted(glob.glob('lang/*.lang')):
        with open(path, 'rb') as f:
            files[os.path.basename(path)] = f.read()
    for name, data in files.items():
        write('language', name, data)
    # fuzz_profile: two choice bytes, the value to write, a zero byte, then the file.
    for name, data in (('settings.ini', SETTINGS), ('edited.ini', EDITED), ('english.lang', files['english.lang'])):
        write('profile', name, b'\x00\x01dutch\x00' + data)
    write('profile', 'no-file', b'\x02\x00Fran\xe7ais "quoted"\x00')
    # Once a finding: a new section after a last line that ends in a lone CR.
    write('profile', 'lone-cr-at-the-end', b'\x00\x00english\x00[x]\nLeft=1\n[lang\r')


if __name__ == '__main__':
    main()
