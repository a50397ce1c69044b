// The page address and the mini-browser requests of the update.
#include <string>

#include "kit/player_test.h"
#include "tracking/lyrics_page.h"
#include "ui/resource_ids.h"

namespace {

std::string compose(const char* title, const char* artist, const char* album) {
  TrackInfo info = {};
  lstrcpynA(info.title, title, TRACK_FIELD_SIZE);
  lstrcpynA(info.artist, artist, TRACK_FIELD_SIZE);
  lstrcpynA(info.album, album, TRACK_FIELD_SIZE);
  char address[PAGE_ADDRESS_SIZE];
  composePageAddress(info, address);
  return address;
}

TEST(ComposePageAddressTest, EmptyFieldsLeaveOutTheirKeys) {
  EXPECT_EQ(compose("Song", "Band", "Disc"), pageAddress("title=Song&&artist=Band&&album=Disc"));
  EXPECT_EQ(compose("", "Band", ""), pageAddress("&&artist=Band"));
  EXPECT_EQ(compose("Song", "", "Disc"), pageAddress("title=Song&&album=Disc"));
  EXPECT_EQ(compose("", "", ""), pageAddress(""));
}

TEST(ComposePageAddressTest, FieldBytesAreKeptExceptHash) {
  EXPECT_EQ(compose("a & b", "x=y", "\xe9t\xe9 100%"),
            pageAddress("title=a & b&&artist=x=y&&album=\xe9t\xe9 100%"));
  EXPECT_EQ(compose("#1 Hit", "Band", "Vol. #2#"),
            pageAddress("title=%231 Hit&&artist=Band&&album=Vol. %232%23"));
}

TEST(ComposePageAddressTest, FieldsThatDoNotFitWholeAreDroppedFromTheEnd) {
  const std::string full(1023, 'f');
  // The title fits; the artist would pass 2055 characters, and the album goes with it.
  std::string address = compose(full.c_str(), full.c_str(), "Disc");
  EXPECT_EQ(address, pageAddress("title=" + full));
  EXPECT_LE(address.size(), (size_t)PAGE_ADDRESS_SIZE - 1);

  // The exact limit: a field that ends the address at 2055 characters still fits.
  size_t room =
      PAGE_ADDRESS_SIZE - 1 - pageAddress("title=").size() - std::string("&&album=").size();
  std::string exactAlbum(room - 1000, 'a');
  std::string fits = compose(std::string(1000, 't').c_str(), "", exactAlbum.c_str());
  EXPECT_EQ(fits.size(), (size_t)PAGE_ADDRESS_SIZE - 1);
  std::string oneMore = compose(std::string(1000, 't').c_str(), "", (exactAlbum + "a").c_str());
  EXPECT_EQ(oneMore, pageAddress("title=" + std::string(1000, 't')));

  // Escaping counts: 700 "#" become 2100 characters and cannot fit; nor can what follows.
  EXPECT_EQ(compose(std::string(700, '#').c_str(), "Band", ""), pageAddress(""));
}

// Each update as the player's "playing file" notice brings it about.
class UpdateLyricsPageTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    playBandTracks({"Song A", "Song B"});
    startUpWith();
  }
  void updateAt(int position) {
    modelplayer::setPosition(position);
    noticePlaying();
  }
  const std::string addressA = pageAddress("title=Song A&&artist=Band");
  const std::string addressB = pageAddress("title=Song B&&artist=Band");
};

TEST_P(UpdateLyricsPageTest, NewAddressSendsFourRequestsInOrder) {
  updateAt(0);
  EXPECT_EQ(requests(), pageRequests(addressA));
}

TEST_P(UpdateLyricsPageTest, OnlyTheImmediatelyPrecedingAddressIsSkipped) {
  updateAt(0);
  updateAt(0);
  EXPECT_EQ(takeRequests(), pageRequests(addressA));
  updateAt(1);
  EXPECT_EQ(takeRequests(), pageRequests(addressB));
  updateAt(0);
  EXPECT_EQ(takeRequests(), pageRequests(addressA));
}

// The longest address that fits is still remembered whole, so its repeat sends nothing.
TEST_P(UpdateLyricsPageTest, LongestAddressIsSentOnce) {
  std::string title(1000, 't'), artist(500, 'a'), album(500, 'b');
  play({{taggedTrack("long.mp3", {{"TIT2", title}, {"TPE1", artist}, {"TALB", album}}), ""}});
  const std::string address =
      pageAddress("title=" + title + "&&artist=" + artist + "&&album=" + album);
  ASSERT_EQ(address.size(), 2055u);
  updateAt(0);
  updateAt(0);
  EXPECT_EQ(requests(), pageRequests(address));
}

// No title in the tag is no reason for the fallback while it names the artist.
TEST_P(UpdateLyricsPageTest, ArtistOnlyTagGivesAnAddressWithoutTitle) {
  play({{taggedTrack("artist.mp3", {{"TPE1", "Band"}}), "Other - Thing"}});
  updateAt(0);
  EXPECT_EQ(requests(), pageRequests(pageAddress("&&artist=Band")));
}

TEST_P(UpdateLyricsPageTest, AutoOpenSwitchLeavesOutBringingTheBrowserUp) {
  tickAndOk(IDC_DISABLE_AUTOOPEN);
  updateAt(0);
  EXPECT_EQ(requests(), pageRequests(addressA, false));
}

TEST_P(UpdateLyricsPageTest, NothingKnownStillSendsTheBarePageOnce) {
  play({{"", "", false, false}});
  noticePlaying();
  noticePlaying();
  EXPECT_EQ(requests(), pageRequests(pageAddress("")));
}

TEST_P(UpdateLyricsPageTest, UpdateReenteredFromItsOwnRequestsSendsNothingTwice) {
  int nested = 0;
  modelplayer::onBrowserRequest([&](const modelplayer::BrowserRequest&) {
    if (nested++ < 8) noticePlaying();
  });
  updateAt(0);
  EXPECT_EQ(requests(), pageRequests(addressA));
}

TEST_P(UpdateLyricsPageTest, PositionOutsideThePlaylistSendsTheBarePage) {
  updateAt(-1);
  updateAt(7);
  EXPECT_EQ(requests(), pageRequests(pageAddress("")));
}

BOTH_WAYS(UpdateLyricsPageTest);

// The model player's texts live only until its next message: a plug-in that kept one
// would send the wrong address, and this shows the model would catch it.
TEST_F(LinkedPlayerTest, PlayerTextsDoNotOutliveTheNextRequest) {
  using namespace playernumbers;
  play({{"C:\\music\\song.mp3", "Band - Song"}});
  auto ask = [](LPARAM request) {
    return SendMessageA(modelplayer::mainWindow(), WA_IPC, 0, request);
  };
  const char* title = (const char*)ask(request::GETPLAYLISTTITLE);
  ASSERT_STREQ(title, "Band - Song");
  ask(request::GETPLAYLISTFILE);
  EXPECT_STRNE(title, "Band - Song");
  ask(request::GETLISTPOS);
  EXPECT_STREQ(title, modelplayer::STALE_TEXT);
}

}  // namespace
