// The title, artist and album that id3lib gives for a file, taken as the plug-in takes them:
// the text frames' first texts, at most 1023 characters each. Header-only, so that each
// program reads through the id3lib it links.
#pragma once

#include <id3.h>

#include <array>
#include <string>

namespace id3fields {

const ID3_FrameID FRAMES[] = {ID3FID_TITLE, ID3FID_LEADARTIST, ID3FID_ALBUM};
const size_t FIELD_SIZE = 1024;  // as the plug-in's fields

// From the tag linked with only those frames (as the plug-in links it) or whole.
inline std::array<std::string, 3> read(const std::string& path, bool onlyTheFrames) {
  ID3Tag* tag = ID3Tag_New();
  if (onlyTheFrames) {
    ID3Tag_LinkWithFrames(tag, path.c_str(), FRAMES, 3);
  } else {
    ID3Tag_Link(tag, path.c_str());
  }
  std::array<std::string, 3> texts;
  for (int i = 0; i < 3; ++i) {
    char text[FIELD_SIZE] = "";
    ID3Frame* frame = ID3Tag_FindFrameWithID(tag, FRAMES[i]);
    ID3Field* field = frame != nullptr ? ID3Frame_GetField(frame, ID3FN_TEXT) : nullptr;
    if (field != nullptr) ID3Field_GetASCII(field, text, FIELD_SIZE - 1);
    text[FIELD_SIZE - 1] = '\0';
    texts[i] = text;
  }
  ID3Tag_Delete(tag);
  return texts;
}

}  // namespace id3fields
