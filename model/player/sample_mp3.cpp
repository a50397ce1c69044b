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

std::string id3v2Tag(const TextFrames& frames, char encoding) {
  std::string body;
  for (const auto& frame : frames) {
    body += frame.first.substr(0, 4);
    appendBigEndian(body, frame.second.size() + 1);
    body += std::string(2, '\0');  // flags
    body += encoding;
    body += frame.second;
  }
  std::string tag = "ID3";
  tag += '\x03';
  tag += '\x00';
  tag += '\x00';  // no unsynchronisation, no extended header
  appendSyncSafe(tag, body.size());
  return tag + body;
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
