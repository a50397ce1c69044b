// Whatever files, tags, titles and settings people have: no crash, nothing written past a
// buffer, the switches and the settings file intact, and the next track still handled.
#include <cstdio>
#include <filesystem>
#include <string>

#include "kit/player_test.h"
#include "ui/resource_ids.h"

namespace {

using samplemp3::bigEndian;

std::string tagHeader(size_t declaredSize) { return samplemp3::id3v2Header(3, 0, declaredSize); }

std::string frame(const std::string& id, size_t declaredSize, const std::string& body) {
  return samplemp3::id3v2Frame(id, body, 3, 0, declaredSize);
}

class BadInputTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    startUpWith();
  }
  // Plays `entry` and then a good track: the bad one may give any page (its address is
  // returned, "" for none), but the good one must still get its own.
  std::string playThenRecover(const modelplayer::Entry& entry) {
    std::string good = taggedTrack("good.mp3", {{"TIT2", "Good"}, {"TPE1", "Band"}});
    play({entry, {good, "Band - Good"}});
    noticePlaying();
    std::string sent;
    for (const std::string& line : takeRequests()) {
      if (line.rfind("open ", 0) == 0) sent = line.substr(5);
    }
    modelplayer::setPosition(1);
    noticePlaying();
    EXPECT_EQ(takeRequests(), pageRequests(pageAddress("title=Good&&artist=Band")));
    return sent;
  }
};

TEST_P(BadInputTest, BrokenTagsFallBackOrKeepWhatIsReadable) {
  const std::string audio = samplemp3::silentAudio(2000);
  const std::string title = frame("TIT2", 5, std::string("\0Song", 5));
  const std::pair<const char*, std::string> files[] = {
      {"truncated-header", std::string("ID3\x03\x00", 5)},
      {"size-past-file", tagHeader(1 << 20) + title},
      {"frame-past-tag", tagHeader(30) + frame("TIT2", 5000, std::string("\0Song", 5)) + audio},
      {"empty-frame", tagHeader(10) + frame("TIT2", 0, "") + audio},
      {"encoding-only", tagHeader(11) + frame("TIT2", 1, std::string(1, '\0')) + audio},
      {"zero-size-tag", tagHeader(0) + audio},
      // id3lib takes "CDM\0" for a 2.2 frame whose field list its own build lacks an end to.
      {"cdm-frame", tagHeader(29) + frame(std::string("CDM\0", 4), 4, "abcd") + title + audio},
      {"garbage", std::string(3000, '\xFF')},
      {"empty-file", ""},
  };
  for (const auto& [name, bytes] : files) {
    std::string sent =
        playThenRecover({writeTrack(std::string(name) + ".mp3", bytes), "Band - Song"});
    // Whatever id3lib made of it, a readable title or the display title was used.
    EXPECT_TRUE(sent == pageAddress("title=Song&&artist=Band") || sent == pageAddress("title=Song"))
        << name << ": " << sent;
  }
}

// A compressed frame is unpacked into as many bytes as it claims: a claim too small keeps
// what fits; a claim past what zlib can unpack from the frame's bytes (here near 4 GiB) is
// capped to that, so nothing like it is allocated, and the true text is read.
TEST_P(BadInputTest, CompressedFramesWithTrueAndFalseSizes) {
  const std::pair<size_t, std::string> sizes[] = {
      {5, "title=Song"},
      {4, "title=Son"},
      {0xFFFFFFF0u, "title=Song"},
  };
  for (const auto& [claimed, query] : sizes) {
    std::string compressed = samplemp3::id3v2Frame(
        "TIT2", bigEndian(claimed) + samplemp3::zlibbed(std::string("\0Song", 5)), 3, 0x0080);
    std::string bytes = tagHeader(compressed.size()) + compressed + samplemp3::silentAudio(2000);
    std::string name = "packed" + std::to_string(claimed) + ".mp3";
    EXPECT_EQ(playThenRecover({writeTrack(name, bytes), "Band - Other"}), pageAddress(query))
        << claimed;
  }
}

TEST_P(BadInputTest, Utf16TextFramesGiveNothingSoTheDisplayTitleIsUsed) {
  std::string bytes =
      samplemp3::id3v2Tag(
          {{"TIT2", samplemp3::utf16Text("Song")}, {"TPE1", samplemp3::utf16Text("Band")}}, 1) +
      samplemp3::silentAudio(2000);
  EXPECT_EQ(playThenRecover({writeTrack("utf16.mp3", bytes), "Other - Title"}),
            pageAddress("title=Title&&artist=Other"));
}

TEST_P(BadInputTest, FolderInsteadOfAFile) {
  std::filesystem::create_directories(folder + "/album.mp3");
  EXPECT_EQ(playThenRecover({folder + "/album.mp3", "Band - Song"}),
            pageAddress("title=Song&&artist=Band"));
}

TEST_P(BadInputTest, FieldsAtAndPastTheLimitAreCut) {
  for (size_t length : {1023u, 1024u, 5000u}) {
    std::string text(length, 'x');
    std::string path = taggedTrack("long" + std::to_string(length) + ".mp3",
                                   {{"TIT2", text}, {"TPE1", text}, {"TALB", text}});
    std::string sent = playThenRecover({path, "Band - Song"});
    EXPECT_EQ(sent, pageAddress("title=" + std::string(1023, 'x'))) << length;
    // The display title's halves are cut alike; the artist then no longer fits.
    sent = playThenRecover({"", text + " - " + text, false});
    EXPECT_EQ(sent, pageAddress("title=" + std::string(std::min<size_t>(length, 1023), 'x')))
        << length;
  }
}

TEST_P(BadInputTest, DisplayTitlesOfHyphensOrSpaces) {
  const std::pair<const char*, std::string> titles[] = {
      {"-----", pageAddress("title=----")},
      {"     ", pageAddress("")},
      {" - ", pageAddress("")},
      {"-", pageAddress("")},
      {"", pageAddress("")},
  };
  for (const auto& [title, expected] : titles) {
    EXPECT_EQ(playThenRecover({"", title, false}), expected) << "'" << title << "'";
  }
}

TEST_P(BadInputTest, EmptyPlaylistAndPositionsOutsideIt) {
  for (int position : {-1, 0, 0x7FFFFFFF}) {
    play({}, position);
    noticePlaying();
  }
  EXPECT_EQ(requests(), pageRequests(pageAddress("")));
}

BOTH_WAYS(BadInputTest);

class BadSettingsTest : public PlayerTest {
 protected:
  std::string valueIn(const std::string& section, const char* key) const {
    char value[64] = {};
    GetPrivateProfileStringA(section.c_str(), key, "<missing>", value, sizeof value,
                             kit::settingsFile().c_str());
    return value;
  }
  // Starts up on `file` and quits: the switches as quit saved them, "010" for the plug-in,
  // start-up page and auto open.
  std::string switchesThroughAStartUp(const std::string& file) {
    writeSettingsFile(file);
    record->init();
    record->quit();
    std::string seen;
    for (const char* key : {"bDisabledPlugin", "bDisabledStartUp", "bDisabledAutoOpen"})
      seen += valueIn(pluginFileName(), key) == "TRUE" ? "1" : "0";
    return seen;
  }
  // The file as saved gives the same switches again.
  void expectRoundTrip(const std::string& switches) {
    EXPECT_EQ(switchesThroughAStartUp(readSettingsFile()), switches);
  }
};

TEST_P(BadSettingsTest, JunkLinesAndOtherSectionsSurviveASave) {
  EXPECT_EQ(switchesThroughAStartUp("junk without equals\r\n[other]\r\nkeep=me\r\n" + section() +
                                    "=no key\r\nbDisabledStartUp=TRUE\r\n[[odd]]\r\nx=1\r\n"),
            "010");
  expectRoundTrip("010");
  EXPECT_EQ(valueIn("other", "keep"), "me");
}

TEST_P(BadSettingsTest, DuplicateKeysReadTheFirstAndSaveOverIt) {
  EXPECT_EQ(
      switchesThroughAStartUp(section() + "bDisabledPlugin=FALSE\r\nbDisabledPlugin=TRUE\r\n"),
      "000");
  expectRoundTrip("000");
}

TEST_P(BadSettingsTest, ByteOrderMarkOrMissingSectionStillRoundTrips) {
  // Read either way; what matters is what follows.
  expectRoundTrip(
      switchesThroughAStartUp("\xEF\xBB\xBF" + section() + "bDisabledStartUp=TRUE\r\n"));
  EXPECT_EQ(switchesThroughAStartUp("[other]\r\nkeep=me\r\n"), "000");
  expectRoundTrip("000");
  EXPECT_EQ(valueIn("other", "keep"), "me");
}

TEST_P(BadSettingsTest, MissingPluginsFolderMeansNothingIsWrittenOrChanged) {
  std::filesystem::path plugins = std::filesystem::path(kit::settingsFileOnDisk()).parent_path();
  std::filesystem::remove_all(plugins);
  playBandTracks({"Song"});
  record->init();
  tickAndOk(IDC_DISABLE_AUTOOPEN);
  EXPECT_EQ(std::string(record->description), savedDescription());
  modelplayer::clearBrowserRequests();
  modelplayer::changeTrack(0);
  EXPECT_EQ(requests(), pageRequests(pageAddress("title=Song&&artist=Band"), false))
      << "auto open stays off";
  record->quit();
  EXPECT_FALSE(std::filesystem::exists(plugins));
  std::filesystem::create_directories(plugins);
}

BOTH_WAYS(BadSettingsTest);

}  // namespace
