#!/usr/bin/python3
"""Writes the session's corpus: short real audio files (made by sox) tagged "Café / Björk /
Début" in each format and encoding players meet, with mutagen, plus corpus.m3u listing them
and expected.txt, what the player reads from each and the page it should lead to.

    make_corpus.py OUTDIR

The album names the format, so every track has a page of its own.
"""
import os
import subprocess
import sys

from mutagen.flac import FLAC
from mutagen.id3 import ID3, TALB, TIT2, TPE1, Encoding, delete as delete_id3
from mutagen.oggvorbis import OggVorbis

TITLE, ARTIST = "Café", "Björk"
# ID3v2.4 frames are UTF-8: a character the ANSI code page lacks shows how the player
# hands it out.
CUP = "\u2615"


def album(label):
    return "Début " + label


def audio(path):
    """A fifth of a second of a quiet tone, with no tag of any kind."""
    subprocess.run(["sox", "-q", "-n", "-r", "44100", "-c", "1", path,
                    "synth", "0.2", "sine", "440", "vol", "0.1"], check=True)
    if path.endswith(".mp3"):
        delete_id3(path)


def id3v2(path, title, artist, album_name, encoding, version):
    tag = ID3()
    if title:
        tag.add(TIT2(encoding=encoding, text=title))
    if artist:
        tag.add(TPE1(encoding=encoding, text=artist))
    tag.add(TALB(encoding=encoding, text=album_name))
    tag.save(path, v1=0, v2_version=version)


def id3v1(path, title, artist, album_name):
    tag = ID3()
    tag.add(TIT2(text=title))
    tag.add(TPE1(text=artist))
    tag.add(TALB(text=album_name))
    tag.save(path, v1=2, v2_version=3)
    delete_id3(path, delete_v1=False, delete_v2=True)


def synchsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def id3v22(path, title, artist, album_name):
    """mutagen writes no ID3v2.2, so its three-letter frames are written here."""
    body = b""
    for frame_id, text in ((b"TT2", title), (b"TP1", artist), (b"TAL", album_name)):
        data = b"\x00" + text.encode("latin-1")
        body += frame_id + len(data).to_bytes(3, "big") + data
    with open(path, "rb") as f:
        sound = f.read()
    with open(path, "wb") as f:
        f.write(b"ID3\x02\x00\x00" + synchsafe(len(body)) + body + sound)


def comments(tagged, title, artist, album_name):
    tagged["title"], tagged["artist"], tagged["album"] = title, artist, album_name
    tagged.save()


# file name, how it is tagged, and what the player reads (title, artist, album)
def corpus():
    latin1 = lambda p, a: id3v2(p, TITLE, ARTIST, a, Encoding.LATIN1, 3)
    utf16 = lambda p, a: id3v2(p, TITLE, ARTIST, a, Encoding.UTF16, 3)
    utf8 = lambda p, a: id3v2(p, TITLE + " " + CUP, ARTIST, a, Encoding.UTF8, 4)
    album_only = lambda p, a: id3v2(p, "", "", a, Encoding.LATIN1, 3)
    return [
        ("id3v23-latin1.mp3", latin1, album("v2.3 Latin-1"), TITLE, ARTIST),
        ("id3v23-utf16.mp3", utf16, album("v2.3 UTF-16"), TITLE, ARTIST),
        ("id3v24-utf8.mp3", utf8, album("v2.4 UTF-8"), TITLE + " ?", ARTIST),
        ("id3v22.mp3", lambda p, a: id3v22(p, TITLE, ARTIST, a), album("v2.2"), TITLE, ARTIST),
        ("id3v1.mp3", lambda p, a: id3v1(p, TITLE, ARTIST, a), album("v1"), TITLE, ARTIST),
        # The display title (the file name) gives title and artist; the tag its album.
        ("Bjork - Cafe.mp3", album_only, album("album only"), "", ""),
        ("vorbis.flac", lambda p, a: comments(FLAC(p), TITLE, ARTIST, a), album("FLAC"),
         TITLE, ARTIST),
        ("vorbis.ogg", lambda p, a: comments(OggVorbis(p), TITLE, ARTIST, a), album("Ogg"),
         TITLE, ARTIST),
    ]


def main(outdir):
    os.makedirs(outdir, exist_ok=True)
    expected = []
    for name, tag, album_name, title, artist in corpus():
        path = os.path.join(outdir, name)
        audio(path)
        tag(path, album_name)
        stem = os.path.splitext(name)[0]
        page_title, page_artist = (title, artist) if title else stem.split(" - ")[::-1]
        reads = " ".join(f'{key}="{value}"' for key, value in
                         (("title", title), ("artist", artist), ("album", album_name)) if value)
        # The page's fields; its address is the plug-in's to compose (page_address).
        expected.append(f"{name}\t{reads}\t{page_title}\t{page_artist}\t{album_name}")
    # Texts as the player hands them out: the ANSI code page, 1252.
    with open(os.path.join(outdir, "expected.txt"), "w", encoding="cp1252") as f:
        f.write("\n".join(expected) + "\n")
    with open(os.path.join(outdir, "corpus.m3u"), "w", encoding="ascii") as f:
        f.write("\n".join(name for name, *_ in corpus()) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_corpus.py OUTDIR")
    main(sys.argv[1])
