// The floor under the plug-in's tag reading: id3lib alone reading title, artist and album,
// the way the plug-in asks for them, and three alternatives measured for comparison.
#pragma once

#include <fcntl.h>
#include <id3.h>
#include <id3/readers.h>
#include <id3/tag.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace id3reading {

const size_t FIELD_SIZE = 1024;
struct Fields {
  char text[3][FIELD_SIZE];
};

enum class Link {
  Default,  // ID3Tag_Link: the library's default tag types, as the plug-in links
  V1V2,     // ID3Tag_LinkWithFlags(ID3TT_ID3V1 | ID3TT_ID3V2): no Lyrics3 or MusicMatch search
  Memory,   // the ID3v2 tag read into memory with one fread, parsed by ID3Tag_Parse
  Mapped,   // the file mapped into memory and linked through id3lib's memory reader: the
            // default tag types and the same parser, without the stream's position queries
};

// The tag types ID3Tag_Link parses, with the file behind id3lib's memory reader.
inline void linkMapped(ID3Tag* tag, const char* path) {
  int file = open(path, O_RDONLY);
  if (file < 0) return;
  struct stat status;
  void* bytes = fstat(file, &status) == 0 && status.st_size > 0
                    ? mmap(nullptr, (size_t)status.st_size, PROT_READ, MAP_PRIVATE, file, 0)
                    : MAP_FAILED;
  if (bytes != MAP_FAILED) {
    ID3_MemoryReader reader((const char*)bytes, (ID3_Reader::size_type)status.st_size);
    reinterpret_cast<ID3_Tag*>(tag)->Link(reader, ID3TT_ALL);
    munmap(bytes, (size_t)status.st_size);
  }
  close(file);
}

// ID3v2 tag header: "ID3", version, flags, then the body size as four 7-bit bytes.
inline bool readTagIntoMemory(const char* path, uchar header[ID3_TAGHEADERSIZE],
                              std::vector<uchar>& body) {
  FILE* file = fopen(path, "rb");
  if (file == nullptr) return false;
  bool read = fread(header, 1, ID3_TAGHEADERSIZE, file) == ID3_TAGHEADERSIZE && header[0] == 'I' &&
              header[1] == 'D' && header[2] == '3';
  if (read) {
    size_t size = ((size_t)(header[6] & 0x7F) << 21) | ((size_t)(header[7] & 0x7F) << 14) |
                  ((size_t)(header[8] & 0x7F) << 7) | (size_t)(header[9] & 0x7F);
    body.resize(size);
    read = fread(body.data(), 1, size, file) == size;
  }
  fclose(file);
  return read;
}

// Returns how many of the three frames had a text field.
inline int readFields(const char* path, Link link, Fields& fields) {
  static const ID3_FrameID ids[3] = {ID3FID_TITLE, ID3FID_LEADARTIST, ID3FID_ALBUM};
  ID3Tag* tag = ID3Tag_New();
  if (tag == nullptr) return 0;
  if (link == Link::Default) {
    ID3Tag_Link(tag, path);
  } else if (link == Link::V1V2) {
    ID3Tag_LinkWithFlags(tag, path, ID3TT_ID3V1 | ID3TT_ID3V2);
  } else if (link == Link::Mapped) {
    linkMapped(tag, path);
  } else {
    uchar header[ID3_TAGHEADERSIZE];
    std::vector<uchar> body;
    if (readTagIntoMemory(path, header, body)) ID3Tag_Parse(tag, header, body.data());
  }
  int found = 0;
  for (int i = 0; i < 3; ++i) {
    ID3Frame* frame = ID3Tag_FindFrameWithID(tag, ids[i]);
    ID3Field* text = frame != nullptr ? ID3Frame_GetField(frame, ID3FN_TEXT) : nullptr;
    if (text == nullptr) continue;
    ID3Field_GetASCII(text, fields.text[i], FIELD_SIZE - 1);
    fields.text[i][FIELD_SIZE - 1] = '\0';
    ++found;
  }
  ID3Tag_Delete(tag);
  return found;
}

}  // namespace id3reading
