// The real gen_tunelore.dll in the model player, for the end-to-end tests: each case copies
// the DLL under test into a folder of its own, so a module one case leaves pinned in memory
// is never the one another case loads, and the cases run in any order.
//
//   <program> <path of gen_tunelore.dll> [GoogleTest options]
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/files.h"
#include "kit/model_player.h"
#include "kit/player_place.h"

class DllTest : public ::testing::Test {
 protected:
  // Starts the player built as `options` says, with a playlist of three tagged tracks
  // ("Band - Song 1" to 3, album "Disc #1"), and no settings file.
  void SetUp() override;
  void TearDown() override;
  // Loads the case's copy of the DLL and hands its record to the player; null on failure.
  playernumbers::PluginRecord* load();
  // Loads it and starts it up, as the player does, and forgets the start-up's requests; a
  // fatal failure when it does not load.
  void startPlugin();
  // FreeLibrary's answer; TearDown frees a module the case left loaded.
  bool unload();

  // The page of track 1 to 3 as an update opens it, requests joined by "|".
  static std::string pageOf(int track, bool bringUp = true);
  static std::string pageFor(const std::string& query, bool bringUp = true);
  // What the mini-browser was asked since the last call.
  static std::string takeRequests();

  modelplayer::Options options;         // set by a derived fixture before SetUp
  bool settingsFolderOfItsOwn = false;  // the player names one, in the case's folder
  std::string folder, dllPath, iniPath;
  std::vector<modelplayer::Entry> playlist;
  playernumbers::PluginRecord* record = nullptr;
  HMODULE module = nullptr;
};

// Parametrised cases over the same fixture.
template <typename Parameter>
class DllTestWithParam : public DllTest, public ::testing::WithParamInterface<Parameter> {};

// The site's address as the player sees the plug-in open it.
extern const std::string SITE;
