// Title, artist and album from real MP3 files' tags, and the display-title fallback.
#include <ostream>
#include <string>
#include <vector>

#include "kit/player_test.h"
#include "tracking/track_metadata.h"

namespace {

// Title, artist and album as one text, to compare a track's fields at once.
std::string fields(const TrackInfo& info) {
  return std::string(info.title) + "|" + info.artist + "|" + info.album;
}

// The fields gathered for `entry` as the playlist's only entry.
TrackInfo gather(const modelplayer::Entry& entry) {
  modelplayer::setPlaylist({entry});
  TrackInfo info;
  gatherTrackInfo(0, info);
  return info;
}

class TrackMetadataTest : public LinkedPlayerTest {};

// One entry: the file written with `bytes` (none written when empty; no file name at all when
// `file` is empty), its display title (none when empty), and the fields gathered.
struct GatherCase {
  const char* name;
  std::string file;
  std::string bytes;
  std::string displayTitle;
  std::string fields;
};

void PrintTo(const GatherCase& row, std::ostream* out) { *out << row.name; }

std::string tagged(const samplemp3::TextFrames& frames) { return samplemp3::taggedTrack(frames); }
const std::string LONG_TITLE = std::string(1022, 'x') + "E" + std::string(477, 'x');
const std::string UNTAGGED = samplemp3::silentAudio(4000);

const GatherCase GATHER_CASES[] = {
    {"FullTagGivesAllThreeFields", "full.mp3",
     tagged({{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}}), "Other - Thing",
     "Song|Band|Disc"},
    {"AlbumOnlyTagKeepsAlbumBesideTheDisplayTitle", "album.mp3", tagged({{"TALB", "Disc"}}),
     "Band - Song", "Song|Band|Disc"},
    // Tag texts are used untrimmed; a title alone, even of spaces, is enough.
    {"TitleOnlyIsEnoughToSkipTheFallback", "t.mp3", tagged({{"TIT2", "Song  "}}), "Band - Other",
     "Song  ||"},
    {"SpacesTitleIsEnoughToSkipTheFallback", "s.mp3", tagged({{"TIT2", "   "}}), "Band - Other",
     "   ||"},
    {"LongTagTextIsCutAt1023Characters", "long.mp3", tagged({{"TIT2", LONG_TITLE}}), "x",
     LONG_TITLE.substr(0, 1023) + "||"},
    {"Id3v1OnlyFileIsRead", "v1.mp3",
     UNTAGGED + samplemp3::id3v1Tag("Old Song", "Old Band", "Old Disc"), "Band - Song",
     "Old Song|Old Band|Old Disc"},
    {"UntaggedFileFallsBackToTheDisplayTitle", "plain.mp3", UNTAGGED, "Band - Song", "Song|Band|"},
    {"MissingFileFallsBackToTheDisplayTitle", "does-not-exist.mp3", "", "Band - Song",
     "Song|Band|"},
    {"UnnamedFileFallsBackToTheDisplayTitle", "", "", "Band - Song", "Song|Band|"},
    {"NoPathAndNoTitleLeaveEverythingEmpty", "", "", "", "||"},
};

class GatherTest : public TrackMetadataTest, public ::testing::WithParamInterface<GatherCase> {};

TEST_P(GatherTest, GivesTheFields) {
  const GatherCase& row = GetParam();
  std::string path = row.file.empty() ? "" : folder + "/" + row.file;
  if (!row.bytes.empty()) writeTrack(row.file, row.bytes);
  EXPECT_EQ(fields(gather({path, row.displayTitle, !row.file.empty(), !row.displayTitle.empty()})),
            row.fields);
}

INSTANTIATE_TEST_SUITE_P(Entries, GatherTest, ::testing::ValuesIn(GATHER_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// The sources as an update asks them, the plug-in started up as the player starts it.
class TrackSourcesTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    startUpWith();
  }
  void update(const modelplayer::Entry& entry) {
    play({entry});
    noticePlaying();
  }
};

TEST_P(TrackSourcesTest, FullTagNeverAsksForTheDisplayTitle) {
  update({taggedTrack("full.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}}), "Other - Thing"});
  EXPECT_EQ(requests(), bandPage("Song"));
  EXPECT_EQ(modelplayer::countRequests(playernumbers::request::GETPLAYLISTTITLE), 0);
  EXPECT_TRUE(modelplayer::infoRequests().empty());
}

// Where the tag gives nothing and nothing answers, the player is asked about the name it gave,
// whole, and about a stream's song only for a stream; a name that fills the plug-in's whole
// buffer, or an empty one, is not asked about.
TEST_P(TrackSourcesTest, PlayerIsAskedAboutWholeNamesAndAboutStreamsForTheirSong) {
  const std::string STREAM = "http://radio.test:8000/live";
  const struct {
    std::string name;
    std::vector<std::string> keys;
  } cases[] = {
      {std::string(2047, 'n'), {"title", "artist"}},
      {std::string(2048, 'n'), {}},
      {"", {}},
      {STREAM, {"title", "artist", "streamtitle"}},
  };
  for (const auto& row : cases) {
    size_t before = modelplayer::infoRequests().size();
    update({row.name, "Band - Song"});
    std::vector<std::string> keys;
    for (size_t i = before; i < modelplayer::infoRequests().size(); ++i) {
      EXPECT_EQ(modelplayer::infoRequests()[i].file, row.name);
      keys.push_back(modelplayer::infoRequests()[i].key);
    }
    EXPECT_EQ(keys, row.keys) << "a name of " << row.name.size() << " characters";
  }
}

BOTH_WAYS(TrackSourcesTest);

struct SplitCase {
  const char* displayTitle;
  const char* artist;
  const char* title;
};

void PrintTo(const SplitCase& split, std::ostream* out) {
  *out << "'" << split.displayTitle << "'";
}

class SplitPlaylistTitleTest : public LinkedPlayerTest,
                               public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SplitPlaylistTitleTest, SplitsAtTheSeparatorAndTrims) {
  play({{"", GetParam().displayTitle, /*hasPath=*/false}});
  TrackInfo info = {};
  splitPlaylistTitle(0, info);
  EXPECT_EQ(fields(info), std::string(GetParam().title) + "|" + GetParam().artist + "|");
}

INSTANTIATE_TEST_SUITE_P(
    DisplayTitles, SplitPlaylistTitleTest,
    ::testing::Values(SplitCase{"Band - Song", "Band", "Song"},
                      SplitCase{"A-ha - Take On Me", "A-ha", "Take On Me"},
                      SplitCase{"Jay-Z - Run-DMC", "Jay-Z", "Run-DMC"},
                      SplitCase{" - Song", "", "Song"}, SplitCase{"Band -", "Band", ""},
                      SplitCase{"Band-Song", "Band", "Song"},
                      SplitCase{"A-ha-Take", "A", "ha-Take"},
                      SplitCase{"Artist - Title - Live", "Artist", "Title - Live"},
                      SplitCase{"No hyphen at all", "", ""}, SplitCase{"---", "", "--"},
                      SplitCase{"  two  words  - \tTabbed ", "two  words", "\tTabbed"}));

TEST_F(LinkedPlayerTest, SplitCutsEachHalfAt1023Characters) {
  std::string artist(1500, 'a'), title(2000, 't');
  play({{"", artist + " - " + title, false}});
  TrackInfo info = {};
  splitPlaylistTitle(0, info);
  EXPECT_EQ(fields(info), title.substr(0, 1023) + "|" + artist.substr(0, 1023) + "|");
}

TEST(TrimSpacesTest, RemovesOnlyLeadingAndTrailingSpaces) {
  const std::pair<const char*, const char*> cases[] = {
      {"  two  words  ", "two  words"}, {"", ""},    {"     ", ""},
      {"\ttab\t", "\ttab\t"},           {" x", "x"}, {"x ", "x"},
  };
  for (const auto& [before, after] : cases) {
    char text[32];
    lstrcpynA(text, before, sizeof text);
    trimSpaces(text);
    EXPECT_STREQ(text, after) << "'" << before << "'";
  }
}

}  // namespace
