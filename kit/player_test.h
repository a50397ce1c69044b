// A fresh model player with the plug-in handed to it as the player does before start-up, in
// one of two ways: linked into this program (its state put back as right after loading), or,
// on Windows, the built gen_tunelore.dll loaded from a copy of its own per case, so that a
// module one case leaves pinned is never the one another case loads. Brings the whole kit.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "kit/files.h"
#include "kit/model_player.h"
#include "kit/player_numbers.h"
#include "kit/player_place.h"
#include "kit/sample_mp3.h"

namespace kit {

enum class Way { Linked, Dll };
// The ways this build has: the DLL on Windows only.
std::vector<Way> ways();
std::string wayName(Way way);

}  // namespace kit

class PlayerFixture : public ::testing::Test {
 protected:
  explicit PlayerFixture(kit::Way way) : way(way) {}
  void SetUp() override;
  void TearDown() override;

  // Writes an MP3 file into the case's folder and returns its path.
  std::string writeTrack(const std::string& name, const std::string& bytes);
  std::string taggedTrack(const std::string& name, const samplemp3::TextFrames& frames) {
    return writeTrack(name, samplemp3::taggedTrack(frames));
  }
  // Makes `entries` the playlist, with the current position at `position`.
  void play(const std::vector<modelplayer::Entry>& entries, int position = 0) {
    modelplayer::setPlaylist(entries);
    modelplayer::setPosition(position);
  }
  // Plays "<title>.mp3" for each title, tagged with it and the artist "Band" and listed as
  // "Band - <title>".
  void playBandTracks(const std::vector<std::string>& titles);
  // Starts the plug-in with these switches saved before (by default only the start-up page
  // off), and forgets what start-up sent.
  void startUpWith(bool pluginOff = false, bool startUpPageOff = true, bool autoOpenOff = false);
  // The player's notice that a track starts, as it sends it for whatever started it: one
  // update for the track at the current position.
  void noticePlaying() const;
  // The mini-browser requests so far; take...() also forgets them.
  std::vector<std::string> requests() const { return modelplayer::describedRequests(); }
  std::vector<std::string> takeRequests() const;

  // The settings file as this program opens it.
  std::string readSettingsFile() const { return kit::readFile(kit::settingsFileOnDisk()); }
  void writeSettingsFile(const std::string& text) const {
    kit::writeFile(kit::settingsFileOnDisk(), text);
  }
  // The plug-in's file name: the section of the settings file.
  std::string pluginFileName() const;
  // The plug-in's section with these keys, and as the plug-in saves its switches.
  std::string section(const kit::Keys& keys = {}) const {
    return kit::settingsSection(pluginFileName(), keys);
  }
  std::string saved(bool plugin, bool startUp, bool autoOpen) const {
    return kit::savedSwitches(pluginFileName(), plugin, startUp, autoOpen);
  }
  // The record's description after start-up, and once the settings have been saved.
  std::string startUpDescription() const;
  std::string savedDescription() const;
  // Whether hooks stand in front of the player's own procedures of its two windows.
  static bool hooked();

  // Opens the settings dialog through the record; `user` acts once it is up.
  void runSettingsDialog(std::function<void(HWND)> user) const;
  // Clicks the box `id` in the settings dialog, then OK.
  void tickAndOk(int id) const;
  // After quit: whether the module stays in memory for the hook another plug-in still calls.
  // The DLL is freed and looked for; the linked one is asked of the model, and where it
  // is this program itself, the case says it cannot be seen. A fatal failure otherwise.
  void expectPinned(bool pinned);

  const kit::Way way;
  playernumbers::PluginRecord* record = nullptr;
  HMODULE module = nullptr;            // the DLL's, while loaded
  std::string folder;                  // the case's own temporary folder
  std::string dllPath;                 // the case's copy of the DLL
  modelplayer::Options playerOptions;  // how the player is built; set before SetUp
};

// The cases that run both ways: TEST_P, then BOTH_WAYS(suite).
class PlayerTest : public PlayerFixture, public ::testing::WithParamInterface<kit::Way> {
 protected:
  PlayerTest() : PlayerFixture(GetParam()) {}
};
#define BOTH_WAYS(suite)                                              \
  INSTANTIATE_TEST_SUITE_P(, suite, ::testing::ValuesIn(kit::ways()), \
                           [](const auto& info) { return kit::wayName(info.param); })

// The cases only the DLL can show (Windows): TEST_P, then DLL_WAY_ONLY(suite).
#define DLL_WAY_ONLY(suite)                                           \
  INSTANTIATE_TEST_SUITE_P(, suite, ::testing::Values(kit::Way::Dll), \
                           [](const auto& info) { return kit::wayName(info.param); })

// A table whose rows (each with a name) run both ways: TEST_P, then BOTH_WAYS_OVER(suite, rows).
template <typename Row>
class PlayerTableTest : public PlayerFixture,
                        public ::testing::WithParamInterface<std::tuple<Row, kit::Way>> {
 protected:
  PlayerTableTest() : PlayerFixture(std::get<1>(PlayerTableTest::GetParam())) {}
  static const Row& row() { return std::get<0>(PlayerTableTest::GetParam()); }
};
#define BOTH_WAYS_OVER(suite, rows)                                                             \
  INSTANTIATE_TEST_SUITE_P(                                                                     \
      , suite, ::testing::Combine(::testing::ValuesIn(rows), ::testing::ValuesIn(kit::ways())), \
      [](const auto& info) {                                                                    \
        return std::string(std::get<0>(info.param).name) + "_" +                                \
               kit::wayName(std::get<1>(info.param));                                           \
      })

// The cases that need the plug-in's insides: the linked plug-in only.
class LinkedPlayerTest : public PlayerFixture {
 protected:
  LinkedPlayerTest() : PlayerFixture(kit::Way::Linked) {}
  // The three switches as "010" (plug-in, start-up page, auto open), and set directly.
  static std::string switches();
  static void setSwitches(bool plugin, bool startUp, bool autoOpen);
};

void clickButton(HWND dialog, int id);
using modelplayer::currentProcedure;
using modelplayer::pageRequests;
// The site's front page, and a lyrics page's address, as the player sees the plug-in open them.
std::string frontPage();
std::string pageAddress(const std::string& query);
// The update's requests for a track by "Band" with this title.
std::vector<std::string> bandPage(const std::string& title);
