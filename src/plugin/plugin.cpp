#include "plugin/plugin.h"

#include <shlwapi.h>

#include "settings/path_text.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/lyrics_window.h"
#include "tracking/song_change.h"
#include "ui/lyrics_menu.h"
#include "ui/settings_dialog.h"
#include "winamp/player_requests.h"

// "TuneLore" at start-up and "Tunelore" once saved: both spellings as earlier releases showed
// them in the player's list.
static const char START_UP_DESCRIPTION[] = "TuneLore Plugin (Duskwarn) (%s)";
static const char SAVED_DESCRIPTION[] = "Tunelore Plugin (Duskwarn) (%s)";

static char emptyDescription[1] = "";
static char startUpDescription[DESCRIPTION_SIZE];
static char savedDescription[DESCRIPTION_SIZE];

winampGeneralPurposePlugin plugin = {
    GPPHDR_VER, emptyDescription, pluginInit, pluginConfig, pluginQuit, nullptr, nullptr,
};

winampGeneralPurposePlugin* winampGetGeneralPurposePlugin() { return &plugin; }

const char* readPluginFileName(char* path) {
  ZeroMemory(path, MODULE_PATH_SIZE);
  // Older Windows leaves a truncated path unterminated; the last byte stays zero.
  GetModuleFileNameA(plugin.hDllInstance, path, MODULE_PATH_SIZE - 1);
  return afterLastBackslash(path);
}

void describePlugin(char* buffer, const char* format, const char* fileName) {
  plugin.description = buffer;
  wnsprintfA(buffer, DESCRIPTION_SIZE, format, fileName);
}

static void openStartUpPage() {
  blockMiniBrowser(false);
  if (!bDisabledStartUp) {
    openInMiniBrowser(LYRICS_BASE_ADDRESS);
    blockMiniBrowser(true);
  }
}

// The main-window messages that are the plug-in's own rather than the player's.
static bool answerOwnMessage(UINT message, WPARAM wParam) {
  if (!isLyricsMenuPick(message, wParam)) return false;
  openLyricsForThisSong();
  return true;
}

int pluginInit() {
  connectToPlayer(plugin.hwndParent);
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  describePlugin(startUpDescription, START_UP_DESCRIPTION, fileName);
  loadSettings(fileName, playerSettingsFolder());
  installHooks(answerOwnMessage);
  if (!bDisabledPlugin) openStartUpPage();
  addLyricsMenuItem();
  return 0;
}

void pluginConfig() { showSettingsDialog(plugin.hDllInstance, plugin.hwndParent, saveAndRename); }

void saveAndRename() {
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  describePlugin(savedDescription, SAVED_DESCRIPTION, fileName);
  saveSettings(fileName, playerSettingsFolder());
}

void pluginQuit() {
  closeLyricsWindow();  // first: its place is saved with the switches
  saveAndRename();
  removeLyricsMenuItem();
  removeHooks();
}
