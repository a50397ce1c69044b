#include "model/player/sample_mp3.h"

#include <fstream>

namespace samplemp3 {

static const size_t FRAME_BYTES = 417;  // 144 * 128000 / 44100

static void appendBigEndian(std::string& out, size_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += (char)((value >> shift) & 0xFF);
}

static void appendSyncSafe(std::string& out, size_t value) {
  for (int shift = 21; shift >= 0; shift -= 7) out += (char)((value >> shift) & 0x7F);
}

// ID3v2.4 stores frame sizes sync-safe, as the tag's own size; ID3v2.3 plain.
std::string id3v2Tag(const TextFrames& frames, char encoding, char version) {
  std::string body;
  for (const auto& frame : frames) {
    body += frame.first.substr(0, 4);
    if (version == 4) {
      appendSyncSafe(body, frame.second.size() + 1);
    } else {
      appendBigEndian(body, frame.second.size() + 1);
    }
    body += std::string(2, '\0');  // flags
    body += encoding;
    body += frame.second;
  }
  std::string tag = "ID3";
  tag += version;
  tag += '\x00';
  tag += '\x00';  // no unsynchronisation, no extended header
  appendSyncSafe(tag, body.size());
  return tag + body;
}

std::string utf16Text(const std::string& latin1) {
  std::string text("\xFF\xFE", 2);  // little-endian
  for (char c : latin1) text += std::string(1, c) + '\0';
  return text;
}

std::string utf8Text(const std::string& latin1) {
  std::string text;
  for (char c : latin1) {
    unsigned char byte = (unsigned char)c;
    if (byte < 0x80) {
      text += c;
    } else {
      text += (char)(0xC0 | (byte >> 6));
      text += (char)(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

static std::string fixedField(const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  return field;
}

std::string id3v1Tag(const std::string& title, const std::string& artist,
                     const std::string& album) {
  std::string tag = "TAG" + fixedField(title, 30) + fixedField(artist, 30) + fixedField(album, 30);
  tag += fixedField("2026", 4) + fixedField("", 30);
  tag += '\xFF';  // no genre
  return tag;
}

std::string silentAudio(size_t bytes) {
  std::string frame("\xFF\xFB\x90\x00", 4);
  frame.resize(FRAME_BYTES, '\0');
  std::string audio;
  audio.reserve(bytes + FRAME_BYTES);
  while (audio.size() < bytes) audio += frame;
  return audio;
}

std::string taggedTrack(const TextFrames& frames) {
  return (frames.empty() ? std::string() : id3v2Tag(frames)) + silentAudio(8 * FRAME_BYTES);
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), (std::streamsize)bytes.size());
  return (bool)out;
}

}  // namespace samplemp3
