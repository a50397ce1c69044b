#include "host/plugin.h"

#include <shlwapi.h>

#include "host/player_menu.h"
#include "host/player_requests.h"
#include "settings/path_text.h"
#include "settings/settings.h"
#include "tracking/lyrics_page.h"
#include "tracking/song_change.h"
#include "ui/settings_dialog.h"

static char emptyDescription[1] = "";
static char startUpDescription[DESCRIPTION_SIZE];
static char savedDescription[DESCRIPTION_SIZE];

winampGeneralPurposePlugin plugin = {
    GPPHDR_VER, emptyDescription, pluginInit, showSettingsDialog, pluginQuit, nullptr, nullptr,
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

int pluginInit() {
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  describePlugin(startUpDescription, "TuneLore Plugin (Duskwarn) (%s)", fileName);
  loadSettings(fileName, playerSettingsFolder());
  installHooks();
  if (!bDisabledPlugin) openStartUpPage();
  addLyricsMenuItem();
  return 0;
}

void saveAndRename() {
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  describePlugin(savedDescription, "Tunelore Plugin (Duskwarn) (%s)", fileName);
  saveSettings(fileName, playerSettingsFolder());
}

void pluginQuit() {
  saveAndRename();
  removeLyricsMenuItem();
  removeHooks();
}
