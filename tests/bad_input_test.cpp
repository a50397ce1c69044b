// Whatever files, tags, titles and settings people have: no crash, nothing written past a
// buffer, the switches and the settings file intact, and the next track still handled.
#include <cstdio>
#include <filesystem>
#include <string>

#include "kit/player_test.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/tracking_state.h"

namespace {

using samplemp3::bigEndian;

std::string tagHeader(size_t declaredSize) { return samplemp3::id3v2Header(3, 0, declaredSize); }

std::string frame(const std::string& id, size_t declaredSize, const std::string& body) {
  return samplemp3::id3v2Frame(id, body, 3, 0, declaredSize);
}

class BadInputTest : public PlayerTest {
 protected:
  // Plays `entry` and then a good track: the bad one may give any page, but its fields stay
  // within bounds, and the good one must still get its own page.
  std::string playThenRecover(const modelplayer::Entry& entry) {
    std::string good = taggedTrack("good.mp3", {{"TIT2", "Good"}, {"TPE1", "Band"}});
    play({entry, {good, "Band - Good"}});
    TrackInfo info;
    gatherTrackInfo(0, info);
    for (const char* field : {info.title, info.artist, info.album})
      EXPECT_LT(strlen(field), (size_t)TRACK_FIELD_SIZE);
    updateLyricsPage();
    std::string sent = tracking.lastPageAddress;
    modelplayer::setPosition(1);
    modelplayer::clearBrowserRequests();
    updateLyricsPage();
    EXPECT_EQ(requests(), pageRequests(pageAddress("title=Good&&artist=Band")));
    return sent;
  }
};

TEST_F(BadInputTest, BrokenTagsFallBackOrKeepWhatIsReadable) {
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

#ifdef _WIN32
// Debian's 64-bit Linux id3lib writes past its stack on any compressed frame; the Windows
// builds carry the project's fix, which also stops a false unpacked size from allocating
// gigabytes.
TEST_F(BadInputTest, CompressedFramesWithTrueAndFalseSizes) {
  for (size_t claimed : {(size_t)5, (size_t)0xFFFFFFF0u}) {
    std::string compressed = samplemp3::id3v2Frame(
        "TIT2", bigEndian(claimed) + samplemp3::zlibbed(std::string("\0Song", 5)), 3, 0x0080);
    std::string bytes = tagHeader(compressed.size()) + compressed + samplemp3::silentAudio(2000);
    std::string sent = playThenRecover({writeTrack("packed.mp3", bytes), "Band - Other"});
    if (claimed == 5) EXPECT_EQ(sent, pageAddress("title=Song")) << claimed;
  }
}
#endif

TEST_F(BadInputTest, Utf16TextFramesGiveNothingSoTheDisplayTitleIsUsed) {
  std::string bytes =
      samplemp3::id3v2Tag(
          {{"TIT2", samplemp3::utf16Text("Song")}, {"TPE1", samplemp3::utf16Text("Band")}}, 1) +
      samplemp3::silentAudio(2000);
  EXPECT_EQ(playThenRecover({writeTrack("utf16.mp3", bytes), "Other - Title"}),
            pageAddress("title=Title&&artist=Other"));
}

TEST_F(BadInputTest, FolderInsteadOfAFile) {
  std::filesystem::create_directories(folder + "/album.mp3");
  EXPECT_EQ(playThenRecover({folder + "/album.mp3", "Band - Song"}),
            pageAddress("title=Song&&artist=Band"));
}

TEST_F(BadInputTest, FieldsAtAndPastTheLimitAreCut) {
  for (size_t length : {1023u, 1024u, 5000u}) {
    std::string text(length, 'x');
    std::string path = taggedTrack("long" + std::to_string(length) + ".mp3",
                                   {{"TIT2", text}, {"TPE1", text}, {"TALB", text}});
    std::string sent = playThenRecover({path, text + " - " + text});
    EXPECT_EQ(sent, pageAddress("title=" + std::string(1023, 'x'))) << length;
    play({{"", text + " - " + text, false}});
    TrackInfo info;
    gatherTrackInfo(0, info);
    for (const char* field : {info.artist, info.title})
      EXPECT_EQ(std::string(field), std::string(std::min<size_t>(length, 1023), 'x'));
  }
}

TEST_F(BadInputTest, DisplayTitlesOfHyphensOrSpaces) {
  const std::pair<const char*, std::string> titles[] = {
      {"-----", pageAddress("title=----")},
      {"     ", pageAddress("")},
      {" - ", pageAddress("")},
      {"-", pageAddress("")},
      {"", pageAddress("")},
  };
  for (const auto& [title, expected] : titles) {
    tracking.lastPageAddress[0] = '\0';
    EXPECT_EQ(playThenRecover({"", title, false}), expected) << "'" << title << "'";
  }
}

TEST_F(BadInputTest, EmptyPlaylistAndPositionsOutsideIt) {
  for (int position : {-1, 0, 0x7FFFFFFF}) {
    play({}, position);
    updateLyricsPage();
  }
  EXPECT_EQ(requests(), pageRequests(pageAddress("")));
}

class BadSettingsTest : public PlayerTest {
 protected:
  // Saves a known state over whatever the file held and reads it back.
  void expectRoundTrip() {
    setSwitches(true, false, true);
    saveSettings(pluginFileName().c_str());
    setSwitches(false, false, false);
    loadSettings(pluginFileName().c_str());
    EXPECT_EQ(switches(), "101");
  }
  std::string otherValue(const char* section, const char* key) {
    char value[64] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value,
                             kit::settingsFile().c_str());
    return value;
  }
};

TEST_F(BadSettingsTest, JunkLinesAndOtherSectionsSurviveASave) {
  writeSettingsFile("junk without equals\r\n[other]\r\nkeep=me\r\n" + section() +
                    "=no key\r\nbDisabledStartUp=TRUE\r\n[[odd]]\r\nx=1\r\n");
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "010");
  expectRoundTrip();
  EXPECT_EQ(otherValue("other", "keep"), "me");
}

TEST_F(BadSettingsTest, DuplicateKeysReadTheFirstAndSaveOverIt) {
  writeSettingsFile(section() + "bDisabledPlugin=FALSE\r\nbDisabledPlugin=TRUE\r\n");
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "000");
  expectRoundTrip();
}

TEST_F(BadSettingsTest, ByteOrderMarkOrMissingSectionStillRoundTrips) {
  writeSettingsFile("\xEF\xBB\xBF" + section() + "bDisabledStartUp=TRUE\r\n");
  loadSettings(pluginFileName().c_str());  // read either way; what matters is what follows
  expectRoundTrip();
  writeSettingsFile("[other]\r\nkeep=me\r\n");
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "000");
  expectRoundTrip();
  EXPECT_EQ(otherValue("other", "keep"), "me");
}

TEST_F(BadSettingsTest, MissingPluginsFolderMeansNothingIsWrittenOrChanged) {
  std::filesystem::path plugins = std::filesystem::path(kit::settingsFileOnDisk()).parent_path();
  std::filesystem::remove_all(plugins);
  bDisabledAutoOpen = true;
  saveAndRename();
  EXPECT_TRUE(bDisabledAutoOpen);
  EXPECT_EQ(std::string(plugin.description), savedDescription());
  EXPECT_FALSE(std::filesystem::exists(plugins));
  loadSettings(pluginFileName().c_str());
  EXPECT_EQ(switches(), "000");
  std::filesystem::create_directories(plugins);
}

}  // namespace
