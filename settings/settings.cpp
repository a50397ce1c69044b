#include "settings/settings.h"

#include <windows.h>

#include <new>

#include "host/path_text.h"
#include "host/plugin.h"

bool bDisabledPlugin;
bool bDisabledStartUp;
bool bDisabledAutoOpen;

static const char SETTINGS_FILE[] = "Plugins\\gen_tunelore.ini";
static const int PLAYER_PATH_LIMIT = SETTINGS_PATH_SIZE - 1;
static const int VALUE_SIZE = 25;

static char savedDescription[DESCRIPTION_SIZE];

struct Switch {
  const char* key;
  bool* value;
};

static const Switch switches[] = {
    {"bDisabledPlugin", &bDisabledPlugin},
    {"bDisabledStartUp", &bDisabledStartUp},
    {"bDisabledAutoOpen", &bDisabledAutoOpen},
};

char* settingsFilePath() {
  char* path = new (std::nothrow) char[SETTINGS_PATH_SIZE];
  if (path == nullptr) return nullptr;
  ZeroMemory(path, SETTINGS_PATH_SIZE);
  DWORD length = GetModuleFileNameA(nullptr, path, PLAYER_PATH_LIMIT);
  // A truncated path may have lost part of its folder: better no settings than wrong ones.
  bool readWhole = length > 0 && length < (DWORD)PLAYER_PATH_LIMIT;
  char* folderEnd = (char*)afterLastBackslash(path);
  size_t folderLength = (size_t)(folderEnd - path);
  if (!readWhole || folderLength == 0 ||
      folderLength + sizeof SETTINGS_FILE > (size_t)SETTINGS_PATH_SIZE) {
    delete[] path;
    return nullptr;
  }
  lstrcpynA(folderEnd, SETTINGS_FILE, (int)sizeof SETTINGS_FILE);
  return path;
}

void loadSettings(const char* section) {
  char* path = settingsFilePath();
  if (path == nullptr) return;
  for (const Switch& setting : switches) {
    char value[VALUE_SIZE] = {};
    GetPrivateProfileStringA(section, setting.key, "FALSE", value, VALUE_SIZE, path);
    // Exactly "FALSE" and its terminator; any other value, even "false" or "", sets it.
    *setting.value = memcmp(value, "FALSE", sizeof "FALSE") != 0;
  }
  delete[] path;
}

void saveSettings(const char* section) {
  char* path = settingsFilePath();
  if (path == nullptr) return;
  for (const Switch& setting : switches) {
    WritePrivateProfileStringA(section, setting.key, *setting.value ? "TRUE" : "FALSE", path);
  }
  delete[] path;
}

void saveAndRename() {
  char path[MODULE_PATH_SIZE];
  const char* fileName = readPluginFileName(path);
  describePlugin(savedDescription, "Tunelore Plugin (Duskwarn) (%s)", fileName);
  saveSettings(fileName);
}
