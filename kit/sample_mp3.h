// MP3 files built byte by byte: ID3v2.2 to 2.4 and ID3v1 tags in front of or behind silent
// MPEG audio frames, well-formed or deliberately broken, as the tests, the session, the fuzz
// seeds and the benchmarks need them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace samplemp3 {

using TextFrames = std::vector<std::pair<std::string, std::string>>;  // {"TIT2", "Song"}

std::string bigEndian(size_t value, int bytes = 4);
std::string syncSafe(size_t value);
// An ID3v2 header ("ID3", version, revision 0, flags) claiming `size` bytes of tag.
std::string id3v2Header(char version, char flags, size_t size);
// One frame of that version: ID3v2.2 three-letter ids and three-byte sizes, no flags; 2.3
// plain sizes; 2.4 sync-safe ones. The size written is the body's unless `declaredSize` says.
std::string id3v2Frame(const std::string& id, const std::string& body, char version = 3,
                       int flags = 0, size_t declaredSize = std::string::npos);
// An ID3v2.3 (or, with version 4, ID3v2.4) tag whose text frames hold the given bytes after
// the given encoding byte (0 ISO-8859-1, 1 UTF-16 with byte-order mark, 3 UTF-8).
std::string id3v2Tag(const TextFrames& frames, char encoding = 0, char version = 3);
// An ISO-8859-1 text in a frame's encoding: 0 as it is, 1 UTF-16 with a byte-order mark
// (little-endian), 2 UTF-16BE, 3 UTF-8.
std::string encodedText(const std::string& latin1, int encoding);
std::string utf16Text(const std::string& latin1);
std::string utf8Text(const std::string& latin1);
// Characters of the Basic Multilingual Plane (all an ANSI code page holds) in UTF-8.
std::string utf8Text(const std::wstring& text);
// `data` as zlib compresses it for a compressed frame, at that level (-1 zlib's default, 0
// stored as it is).
std::string zlibbed(const std::string& data, int level = -1);
// The unsynchronisation scheme: a zero after each 0xFF that comes before a byte from 0xE0 up,
// a zero or the end.
std::string unsynchronised(const std::string& data);
// A 128-byte ID3v1 tag, each text cut or filled with zeros to its field (ID3v1.1 keeps a track
// number in the comment's last byte), genre 0xFF none.
std::string id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
                     const std::string& year = "2026", const std::string& comment = "",
                     char genre = '\xFF');
// A Lyrics3v2 block of these fields ({"ETT", "Song"}), as it goes before an ID3v1 tag.
std::string lyrics3v2(const TextFrames& fields);
// At least `bytes` bytes of silent MPEG-1 layer III frames (128 kbit/s, 44.1 kHz).
std::string silentAudio(size_t bytes);
// A tagged track: the tag (none for no frames), then `audioBytes` of audio.
std::string taggedTrack(const TextFrames& frames, size_t audioBytes = 8 * 417);
// The frames of a typical tag: title, artist, album, year, track number, genre.
TextFrames typicalFrames(const std::string& title, const std::string& artist,
                         const std::string& album);
// An attached picture (APIC): a front cover, JPEG by its type and first bytes, `bytes` long.
TextFrames::value_type coverPicture(size_t bytes);

}  // namespace samplemp3
