// The floor under the plug-in's tag reading: id3lib alone reading title, artist and album the
// way src/tracking/track_metadata.cpp does, with nothing of the plug-in around it.
#pragma once

#include <id3.h>

namespace id3reading {

const size_t FIELD_SIZE = 1024;
struct Fields {
  char text[3][FIELD_SIZE];
};

// Returns how many of the three frames had a text field.
inline int readFields(const char* path, Fields& fields) {
  static const ID3_FrameID ids[3] = {ID3FID_TITLE, ID3FID_LEADARTIST, ID3FID_ALBUM};
  ID3Tag* tag = ID3Tag_New();
  if (tag == nullptr) return 0;
  ID3Tag_LinkWithFrames(tag, path, ids, 3);
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
