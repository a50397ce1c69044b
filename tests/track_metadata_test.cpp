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

class TrackMetadataTest : public PlayerTest {
 protected:
  TrackInfo gather(const modelplayer::Entry& entry) {
    play({entry});
    TrackInfo info;
    gatherTrackInfo(0, info);
    return info;
  }
};

TEST_F(TrackMetadataTest, FullTagGivesAllThreeFields) {
  std::string path =
      taggedTrack("full.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}});
  TrackInfo info = gather({path, "Other - Thing"});
  EXPECT_EQ(fields(info), "Song|Band|Disc");
}

TEST_F(TrackMetadataTest, AlbumOnlyTagKeepsAlbumBesideTheDisplayTitle) {
  std::string path = taggedTrack("album.mp3", {{"TALB", "Disc"}});
  TrackInfo info = gather({path, "Band - Song"});
  EXPECT_EQ(fields(info), "Song|Band|Disc");
}

TEST_F(TrackMetadataTest, TitleOnlyOrSpacesTitleIsEnoughToSkipTheFallback) {
  TrackInfo titled = gather({taggedTrack("t.mp3", {{"TIT2", "Song  "}}), "Band - Other"});
  EXPECT_STREQ(titled.title, "Song  ");  // tag texts are used untrimmed
  EXPECT_STREQ(titled.artist, "");
  TrackInfo spaces = gather({taggedTrack("s.mp3", {{"TIT2", "   "}}), "Band - Other"});
  EXPECT_STREQ(spaces.title, "   ");
  EXPECT_STREQ(spaces.artist, "");
}

TEST_F(TrackMetadataTest, LongTagTextIsCutAt1023Characters) {
  std::string longTitle(1500, 'x');
  longTitle[1022] = 'E';
  TrackInfo info = gather({taggedTrack("long.mp3", {{"TIT2", longTitle}}), "x"});
  EXPECT_EQ(std::string(info.title), longTitle.substr(0, 1023));
}

TEST_F(TrackMetadataTest, Id3v1OnlyFileIsRead) {
  std::string path =
      writeTrack("v1.mp3", samplemp3::silentAudio(4000) +
                               samplemp3::id3v1Tag("Old Song", "Old Band", "Old Disc"));
  TrackInfo info = gather({path, "Band - Song"});
  EXPECT_EQ(fields(info), "Old Song|Old Band|Old Disc");
}

TEST_F(TrackMetadataTest, UntaggedMissingOrUnnamedFilesFallBackToTheDisplayTitle) {
  std::string untagged = writeTrack("plain.mp3", samplemp3::silentAudio(4000));
  const modelplayer::Entry entries[] = {
      {untagged, "Band - Song"},
      {folder + "/does-not-exist.mp3", "Band - Song"},
      {"", "Band - Song", /*hasPath=*/false},
  };
  for (const auto& entry : entries) {
    TrackInfo info = gather(entry);
    EXPECT_EQ(fields(info), "Song|Band|") << entry.path;
  }
}

TEST_F(TrackMetadataTest, NoPathAndNoTitleLeaveEverythingEmpty) {
  TrackInfo info = gather({"", "", /*hasPath=*/false, /*hasTitle=*/false});
  EXPECT_EQ(fields(info), "||");
}

TEST_F(TrackMetadataTest, FullTagNeverAsksForTheDisplayTitle) {
  std::string path = taggedTrack("full.mp3", {{"TIT2", "Song"}, {"TPE1", "Band"}});
  play({{path, "Other - Thing"}});
  // The player records every message its main window gets.
  size_t before = modelplayer::mainWindowMessages().size();
  TrackInfo info;
  gatherTrackInfo(0, info);
  EXPECT_EQ(modelplayer::mainWindowMessages().size() - before, 1u);  // the file path only
}

// Where the tag gives nothing and nothing answers, the player is asked about the name it gave,
// whole, and about a stream's song only for a stream; a name that fills the plug-in's whole
// buffer, or an empty one, is not asked about.
TEST_F(TrackMetadataTest, PlayerIsAskedAboutWholeNamesAndAboutStreamsForTheirSong) {
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
    gather({row.name, "Band - Song"});
    std::vector<std::string> keys;
    for (size_t i = before; i < modelplayer::infoRequests().size(); ++i) {
      EXPECT_EQ(modelplayer::infoRequests()[i].file, row.name);
      keys.push_back(modelplayer::infoRequests()[i].key);
    }
    EXPECT_EQ(keys, row.keys) << "a name of " << row.name.size() << " characters";
  }
}

struct SplitCase {
  const char* displayTitle;
  const char* artist;
  const char* title;
};

void PrintTo(const SplitCase& split, std::ostream* out) {
  *out << "'" << split.displayTitle << "'";
}

class SplitPlaylistTitleTest : public PlayerTest,
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

TEST_F(PlayerTest, SplitCutsEachHalfAt1023Characters) {
  std::string artist(1500, 'a'), title(2000, 't');
  play({{"", artist + " - " + title, false}});
  TrackInfo info = {};
  splitPlaylistTitle(0, info);
  EXPECT_EQ(std::string(info.artist), artist.substr(0, 1023));
  EXPECT_EQ(std::string(info.title), title.substr(0, 1023));
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
