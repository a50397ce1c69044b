// What the player knows of a track (IPC_GET_EXTENDED_FILE_INFO) where the tag gives nothing,
// and the player's title notice (IPC_CB_MISC) as a track change: through the whole plug-in,
// judged by the pages it sends and the requests the player received.
#include <algorithm>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "kit/player_test.h"

namespace {

using namespace playernumbers;
using modelplayer::InfoAnswer;
using Info = std::map<std::string, std::string>;

const UINT LYRICS_ITEM = modelplayer::FIRST_REGISTERED_COMMAND;
const char STREAM_URL[] = "http://radio.test:8000/live";
const char STATION[] = "Radio Test";
const size_t FIELD_LIMIT = 1023;  // the plug-in keeps at most this many characters a field

std::string mp3(const samplemp3::TextFrames& frames, char encoding, char version) {
  return samplemp3::id3v2Tag(frames, encoding, version) + samplemp3::silentAudio(2000);
}

// What the player's decoder reads, written as a page's query: "title=Song&&artist=Band".
Info infoOf(const std::string& text) {
  Info info;
  for (size_t start = 0; start < text.size();) {
    size_t end = std::min(text.find("&&", start), text.size());
    size_t equals = text.find('=', start);
    info[text.substr(start, equals - start)] = text.substr(equals + 1, end - equals - 1);
    start = end + 2;
  }
  return info;
}

// Latin-1 fields, as the page's query and as what the player's decoder reads; and as tag
// frames in an encoding of the tag's.
const char CAFE_QUERY[] =
    "title=Caf\xE9&&artist=Bj\xF6rk&&album=D\xE9"
    "but";
samplemp3::TextFrames encoded(std::string (*encode)(const std::string&)) {
  Info cafe = infoOf(CAFE_QUERY);
  return {{"TIT2", encode(cafe["title"])},
          {"TPE1", encode(cafe["artist"])},
          {"TALB", encode(cafe["album"])}};
}

// One playlist entry as the player has it. `file` is written into the test's folder with
// `bytes`; a URL (no bytes) is used as it is; no file at all leaves the entry without one.
struct GatheringCase {
  const char* name;
  std::string file;
  std::string bytes;
  std::string displayTitle;
  std::string info;   // what the player's decoder read, as infoOf() takes it
  std::string query;  // of the page address
  bool asksPlayer;    // whether IPC_GET_EXTENDED_FILE_INFO is sent at all
  InfoAnswer answer = InfoAnswer::Writes;
};

void PrintTo(const GatheringCase& row, std::ostream* out) { *out << row.name; }

const std::string FLAC_BYTES = std::string("fLaC\0\0\0\x22", 8) + std::string(34, '\0');
const std::string UNTAGGED = samplemp3::silentAudio(2000);

const GatheringCase GATHERING_CASES[] = {
    {"TagRead", "tagged.mp3", mp3({{"TIT2", "Song"}, {"TPE1", "Band"}, {"TALB", "Disc"}}, 0, 3),
     "Other - Thing", "title=Other&&artist=Other&&album=Other",
     "title=Song&&artist=Band&&album=Disc", false},
    {"TagTitleAlone", "titled.mp3", mp3({{"TIT2", "Song"}}, 0, 3), "Other - Thing",
     "artist=Band&&album=Disc", "title=Song", false},
    {"Utf16Tag", "utf16.mp3", mp3(encoded(samplemp3::utf16Text), 1, 3), "Other - Thing", CAFE_QUERY,
     CAFE_QUERY, true},
    {"Utf8Id3v24Tag", "utf8.mp3", mp3(encoded(samplemp3::utf8Text), 3, 4), "Other - Thing",
     CAFE_QUERY, CAFE_QUERY, true},
    {"AlbumOnlyTag", "album.mp3", mp3({{"TALB", "Disc"}}, 0, 3), "Other - Thing",
     "title=Song&&artist=Band&&album=Player Disc", "title=Song&&artist=Band&&album=Disc", true},
    {"Flac", "song.flac", FLAC_BYTES, "Other - Thing", CAFE_QUERY, CAFE_QUERY, true},
    {"TitleAloneKeptAsGiven", "song.flac", FLAC_BYTES, "Other - Thing", "title=  Song ",
     "title=  Song ", true},
    {"ZeroAfterWriting", "song.flac", FLAC_BYTES, "Band - Song", "title=Wrong&&artist=Wrong",
     "title=Song&&artist=Band", true, InfoAnswer::ZeroAfterWriting},
    {"OneWithoutWriting", "song.flac", FLAC_BYTES, "Band - Song", "title=Unseen&&artist=Unseen",
     "title=Song&&artist=Band", true, InfoAnswer::OneWithoutWriting},
    {"UnterminatedFullBuffer", "song.flac", FLAC_BYTES, "Other - Thing", "title=Song",
     "title=Song" + std::string(FIELD_LIMIT - 4, modelplayer::INFO_FILLER), true,
     InfoAnswer::FillsUnterminated},
    {"StreamTitle", STREAM_URL, "", "Band - Song (Radio Test)", "streamtitle=Band - Song",
     "title=Song&&artist=Band", true},
    {"StreamWithoutStreamTitle", STREAM_URL, "", "Band - Song (Radio Test)", "",
     "title=Song (Radio Test)&&artist=Band", true},
    {"NothingAnywhere", "plain.mp3", UNTAGGED, "Track 01", "", "", true},
    {"NoFileName", "", "", "Band - Song", CAFE_QUERY, "title=Song&&artist=Band", false},
};

void expectPages(const std::vector<std::string>& queries, const char* when) {
  std::vector<std::string> expected;
  for (const auto& query : queries) {
    for (const auto& line : pageRequests(pageAddress(query))) expected.push_back(line);
  }
  EXPECT_EQ(modelplayer::describedRequests(), expected) << when;
  modelplayer::clearBrowserRequests();
}

// A 5.0 player with a main menu: an update and the menu pick both bring the page up.
template <typename Row>
class StartedWithMenuTest : public PlayerTableTest<Row> {
 protected:
  StartedWithMenuTest() { this->playerOptions.mainMenu = true; }
  void SetUp() override {
    PlayerTableTest<Row>::SetUp();
    this->startUpWith();
  }
};

class GatheringTest : public StartedWithMenuTest<GatheringCase> {};

TEST_P(GatheringTest, UpdateAndMenuPickSendTheSamePage) {
  const GatheringCase& row = GatheringTest::row();
  modelplayer::Entry entry{row.file, row.displayTitle, !row.file.empty(),
                           true,     infoOf(row.info), row.answer};
  if (!row.bytes.empty()) entry.path = writeTrack(row.file, row.bytes);
  play({entry});
  modelplayer::changeTrack(0);
  expectPages({row.query}, "update");
  modelplayer::chooseMenuItem(LYRICS_ITEM);
  expectPages({row.query}, "menu pick");
  EXPECT_EQ(!modelplayer::infoRequests().empty(), row.asksPlayer);
  for (const auto& request : modelplayer::infoRequests()) {
    EXPECT_EQ(request.file, entry.path) << request.key;
  }
}

BOTH_WAYS_OVER(GatheringTest, GATHERING_CASES);

// A stream plays with its first title's page sent; then the player acts and its message loop
// runs. The title notice is posted: nothing happens before the loop delivers it.
struct NoticeCase {
  const char* name;
  std::function<void()> act;
  std::vector<std::string> queries;  // of the new pages
};

void PrintTo(const NoticeCase& row, std::ostream* out) { *out << row.name; }

void changeTitleSilently(const std::string& streamTitle) {
  modelplayer::setPlaylist({modelplayer::streamEntry(STREAM_URL, STATION, streamTitle)});
}

void post(WPARAM notice) { PostMessageA(modelplayer::mainWindow(), WA_IPC, notice, CB_MISC); }

const NoticeCase NOTICE_CASES[] = {
    {"NewStreamTitle",
     [] { modelplayer::changeStreamTitle(0, "Other - Tune"); },
     {"title=Tune&&artist=Other"}},
    {"TwoTitlesBeforeTheLoopRuns",
     [] {
       modelplayer::changeStreamTitle(0, "First - One");
       modelplayer::changeStreamTitle(0, "Second - Two");
     },
     {"title=Two&&artist=Second"}},
    {"SameTitleAgain", [] { modelplayer::changeStreamTitle(0, "Band - Song"); }, {}},
    {"Stop", [] { modelplayer::pressStop(); }, {}},
    {"PauseAndResume",
     [] {
       modelplayer::pressPause();
       modelplayer::pressPause();
     },
     {}},
    {"StatusAndInfoNotices",
     [] {
       changeTitleSilently("Other - Tune");
       post(misc::STATUS);
       post(misc::INFO);
     },
     {}},
    {"TitleNoticeAfterASilentChange",
     [] {
       changeTitleSilently("Other - Tune");
       post(misc::TITLE);
     },
     {"title=Tune&&artist=Other"}},
};

class TitleNoticeTest : public StartedWithMenuTest<NoticeCase> {};

TEST_P(TitleNoticeTest, NewTitleGivesItsPageOnce) {
  play({modelplayer::streamEntry(STREAM_URL, STATION, "Band - Song")});
  modelplayer::changeTrack(0);
  modelplayer::deliverPostedMessages();
  expectPages({"title=Song&&artist=Band"}, "the stream starts");
  row().act();
  expectPages({}, "before the message loop runs");
  modelplayer::deliverPostedMessages();
  expectPages(row().queries, "after it");
}

BOTH_WAYS_OVER(TitleNoticeTest, NOTICE_CASES);

class SwitchedOffTest : public PlayerTest {
 protected:
  SwitchedOffTest() { playerOptions.mainMenu = true; }
};

TEST_P(SwitchedOffTest, AsksThePlayerNothing) {
  startUpWith(true);
  modelplayer::Entry flac{writeTrack("song.flac", FLAC_BYTES), "Band - Song"};
  flac.info = infoOf(CAFE_QUERY);
  play({flac, modelplayer::streamEntry(STREAM_URL, STATION, "Band - Song")});
  modelplayer::changeTrack(0);
  modelplayer::chooseMenuItem(LYRICS_ITEM);
  modelplayer::changeTrack(1);
  modelplayer::changeStreamTitle(1, "Other - Tune");
  modelplayer::deliverPostedMessages();
  EXPECT_TRUE(modelplayer::browserRequests().empty());
  EXPECT_TRUE(modelplayer::infoRequests().empty());
}

BOTH_WAYS(SwitchedOffTest);

}  // namespace
