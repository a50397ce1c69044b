// MP3 files built byte by byte: ID3v2.3, ID3v2.4 and ID3v1 tags in front of or behind silent
// MPEG audio frames, as the tests, the session and the benchmarks need them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace samplemp3 {

using TextFrames = std::vector<std::pair<std::string, std::string>>;  // {"TIT2", "Song"}

// An ID3v2.3 (or, with version 4, ID3v2.4) tag whose text frames hold the given bytes after
// the given encoding byte (0 ISO-8859-1, 1 UTF-16 with byte-order mark, 3 UTF-8).
std::string id3v2Tag(const TextFrames& frames, char encoding = 0, char version = 3);
// An ISO-8859-1 text in those encodings, ready for a frame of that encoding.
std::string utf16Text(const std::string& latin1);
std::string utf8Text(const std::string& latin1);
// A 128-byte ID3v1 tag.
std::string id3v1Tag(const std::string& title, const std::string& artist, const std::string& album);
// At least `bytes` bytes of silent MPEG-1 layer III frames (128 kbit/s, 44.1 kHz).
std::string silentAudio(size_t bytes);
// A tagged track: the tag, then a few audio frames.
std::string taggedTrack(const TextFrames& frames);

bool writeFile(const std::string& path, const std::string& bytes);

}  // namespace samplemp3
