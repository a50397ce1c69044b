#include "kit/sample_mp3.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace samplemp3 {

static const size_t FRAME_BYTES = 417;  // 144 * 128000 / 44100

std::string bigEndian(size_t value, int bytes) {
  std::string out;
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out += (char)((value >> shift) & 0xFF);
  return out;
}

std::string syncSafe(size_t value) {
  std::string out;
  for (int shift = 21; shift >= 0; shift -= 7) out += (char)((value >> shift) & 0x7F);
  return out;
}

std::string id3v2Header(char version, char flags, size_t size) {
  return std::string("ID3") + version + '\0' + flags + syncSafe(size);
}

std::string id3v2Frame(const std::string& id, const std::string& body, char version, int flags,
                       size_t declaredSize) {
  size_t size = declaredSize != std::string::npos ? declaredSize : body.size();
  if (version == 2) return id + bigEndian(size, 3) + body;
  return id + (version == 4 ? syncSafe(size) : bigEndian(size)) + bigEndian((size_t)flags, 2) +
         body;
}

std::string id3v2Tag(const TextFrames& frames, char encoding, char version) {
  std::string body;
  for (const auto& [id, text] : frames)
    body += id3v2Frame(id.substr(0, 4), encoding + text, version);
  return id3v2Header(version, 0, body.size()) + body;
}

std::string encodedText(const std::string& latin1, int encoding) {
  if (encoding == 0) return latin1;
  if (encoding == 3) return utf8Text(latin1);
  std::string text = encoding == 1 ? "\xFF\xFE" : "";
  for (char c : latin1) text += encoding == 1 ? std::string{c, '\0'} : std::string{'\0', c};
  return text;
}

std::string utf16Text(const std::string& latin1) { return encodedText(latin1, 1); }

std::string utf8Text(const std::string& latin1) {
  std::wstring text;
  for (char c : latin1) text += (wchar_t)(unsigned char)c;  // ISO-8859-1 is Unicode's first 256
  return utf8Text(text);
}

std::string utf8Text(const std::wstring& text) {
  std::string utf8;
  for (wchar_t c : text) {
    unsigned code = (unsigned)c & 0xFFFF;
    if (code < 0x80) {
      utf8 += (char)code;
    } else if (code < 0x800) {
      utf8 += (char)(0xC0 | code >> 6);
      utf8 += (char)(0x80 | (code & 0x3F));
    } else {
      utf8 += (char)(0xE0 | code >> 12);
      utf8 += (char)(0x80 | (code >> 6 & 0x3F));
      utf8 += (char)(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

static std::string fixedField(const std::string& text, size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, '\0');
  return field;
}

std::string zlibbed(const std::string& data, int level) {
  uLongf size = compressBound(data.size());
  std::vector<Bytef> out(size);
  compress2(out.data(), &size, (const Bytef*)data.data(), data.size(), level);
  return std::string((const char*)out.data(), size);
}

std::string unsynchronised(const std::string& data) {
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    out += data[i];
    if ((unsigned char)data[i] == 0xFF &&
        (i + 1 == data.size() || (unsigned char)data[i + 1] >= 0xE0 || data[i + 1] == 0)) {
      out += '\0';
    }
  }
  return out;
}

std::string id3v1Tag(const std::string& title, const std::string& artist, const std::string& album,
                     const std::string& year, const std::string& comment, char genre) {
  return "TAG" + fixedField(title, 30) + fixedField(artist, 30) + fixedField(album, 30) +
         fixedField(year, 4) + fixedField(comment, 30) + genre;
}

std::string lyrics3v2(const TextFrames& fields) {
  std::string block = "LYRICSBEGIN";
  char size[7];
  for (const auto& [id, text] : fields) {
    snprintf(size, sizeof size, "%05zu", text.size());
    block += id + size + text;
  }
  snprintf(size, sizeof size, "%06zu", block.size());
  return block + size + "LYRICS200";
}

std::string silentAudio(size_t bytes) {
  std::string frame("\xFF\xFB\x90\x00", 4);
  frame.resize(FRAME_BYTES, '\0');
  std::string audio;
  audio.reserve(bytes + FRAME_BYTES);
  while (audio.size() < bytes) audio += frame;
  return audio;
}

std::string taggedTrack(const TextFrames& frames, size_t audioBytes) {
  return (frames.empty() ? std::string() : id3v2Tag(frames)) + silentAudio(audioBytes);
}

TextFrames typicalFrames(const std::string& title, const std::string& artist,
                         const std::string& album) {
  return {{"TIT2", title},  {"TPE1", artist}, {"TALB", album},
          {"TYER", "2026"}, {"TRCK", "3/12"}, {"TCON", "Rock"}};
}

// The frame writer puts a text encoding byte first, which APIC has too (the description's).
TextFrames::value_type coverPicture(size_t bytes) {
  static const char FRONT_COVER = 3;
  std::string picture = std::string("image/jpeg\0", 11) + FRONT_COVER + '\0';  // no description
  const size_t end = picture.size() + bytes;
  picture += "\xFF\xD8\xFF\xE0";  // JPEG start
  // Compressed image data looks random; a fixed generator keeps every run's file the same.
  uint32_t state = 2463534242u;
  while (picture.size() < end) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    picture += (char)(state & 0xFF);
  }
  return {"APIC", picture};
}

}  // namespace samplemp3
