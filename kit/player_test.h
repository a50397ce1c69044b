// A fresh model player with the plug-in's record filled in, as the player does before
// start-up, and the plug-in's state as it is right after loading. Brings the whole kit.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "kit/files.h"
#include "kit/linked_plugin.h"
#include "kit/model_player.h"
#include "kit/player_numbers.h"
#include "kit/player_place.h"
#include "kit/sample_mp3.h"
#include "plugin/plugin.h"

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes an MP3 file into the test's folder and returns its path.
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
  // The mini-browser requests so far; take...() also forgets them.
  std::vector<std::string> requests() const { return modelplayer::describedRequests(); }
  std::vector<std::string> takeRequests() {
    std::vector<std::string> taken = requests();
    modelplayer::clearBrowserRequests();
    return taken;
  }

  // The settings file as this program opens it (kit::settingsFile() names it as the plug-in).
  std::string readSettingsFile() const { return kit::readFile(kit::settingsFileOnDisk()); }
  void writeSettingsFile(const std::string& text) const {
    kit::writeFile(kit::settingsFileOnDisk(), text);
  }
  // The plug-in's file name: the section of the settings file.
  std::string pluginFileName() const { return kit::pluginFileName(); }
  // The plug-in's section with these keys, and as the plug-in saves its switches.
  std::string section(const kit::Keys& keys = {}) const {
    return kit::settingsSection(pluginFileName(), keys);
  }
  std::string saved(bool plugin, bool startUp, bool autoOpen) const {
    return kit::savedSwitches(pluginFileName(), plugin, startUp, autoOpen);
  }
  // Whether the plug-in's hooks are the procedures of the player's two windows.
  bool hooked() const;
  // The three switches as "010" (plug-in, start-up page, auto open), and the record's
  // description once the settings have been saved.
  std::string switches() const;
  static void setSwitches(bool plugin, bool startUp, bool autoOpen);
  std::string savedDescription() const {
    return "Tunelore Plugin (Duskwarn) (" + pluginFileName() + ")";
  }

  std::string folder;                  // the test's own temporary folder
  modelplayer::Options playerOptions;  // how the player is built; set before SetUp
};

using modelplayer::currentProcedure;

// Opens the settings dialog through the record's config operation; `user` acts once it is up.
void runSettingsDialog(std::function<void(HWND)> user);
void clickButton(HWND dialog, int id);
// Clicks the box `id` in the settings dialog, then OK.
void tickAndOk(int id);

// The four requests of an update that brings the browser up.
std::vector<std::string> pageRequests(const std::string& address);
std::string pageAddress(const std::string& query);
// The update's requests for a track by "Band" with this title.
std::vector<std::string> bandPage(const std::string& title);
