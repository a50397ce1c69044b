// id3lib on its own, the way the plug-in reads a tag, for profilers and tracers:
//
//   tunelore-tag-probe --make FILE MB [PMB [TITLE]]  writes a tagged track with MB megabytes
//        of audio, a PMB-megabyte cover picture (0: none) and the title TITLE (else "Song")
//   tunelore-tag-probe [--repeat N] FILE
//        reads FILE's title, artist and album N times (bench/id3_reading.h says how) and
//        prints them and the bytes this process read doing so.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/id3_reading.h"
#include "kit/files.h"
#include "kit/sample_mp3.h"

static int usage() {
  fprintf(stderr,
          "usage: tunelore-tag-probe --make FILE MB [PICTURE_MB [TITLE]]\n"
          "       tunelore-tag-probe [--repeat N] FILE\n");
  return 2;
}

static int makeTrack(const char* path, const char* megabytes, const char* pictureMegabytes,
                     const char* title) {
  long size = strtol(megabytes, nullptr, 10);
  long pictureSize = pictureMegabytes != nullptr ? strtol(pictureMegabytes, nullptr, 10) : 0;
  if (size <= 0 || pictureSize < 0) return usage();
  samplemp3::TextFrames frames = samplemp3::typicalFrames(title, "Band", "Disc");
  if (pictureSize > 0) frames.push_back(samplemp3::coverPicture((size_t)pictureSize * 1000000));
  if (!kit::writeFile(path, samplemp3::taggedTrack(frames, (size_t)size * 1000000))) {
    fprintf(stderr, "tunelore-tag-probe: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc >= 4 && argc <= 6 && strcmp(argv[1], "--make") == 0) {
    return makeTrack(argv[2], argv[3], argc >= 5 ? argv[4] : nullptr, argc == 6 ? argv[5] : "Song");
  }
  bool repeated = argc == 4 && strcmp(argv[1], "--repeat") == 0;
  long repeat = repeated ? strtol(argv[2], nullptr, 10) : 1;
  const char* path = argv[argc - 1];
  if ((argc != 2 && !repeated) || repeat < 1 || path[0] == '-') return usage();

  id3reading::Fields fields = {};
  int found = 0;
  long long before = kit::bytesRead();
  for (long n = 0; n < repeat; ++n) found = id3reading::readFields(path, fields);
  long long after = kit::bytesRead();
  printf("%d frames: title=%s artist=%s album=%s\n", found, fields.text[0], fields.text[1],
         fields.text[2]);
  printf("bytes read: %lld in %ld readings (%lld per reading)\n", after - before, repeat,
         (after - before) / repeat);
  return found == 3 ? 0 : 1;
}
