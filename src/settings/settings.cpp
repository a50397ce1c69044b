#include "settings/settings.h"

#include <windows.h>

#include <new>

#include "settings/path_text.h"
#include "settings/window_place.h"

bool bDisabledPlugin;
bool bDisabledStartUp;
bool bDisabledAutoOpen;

static const char SETTINGS_FILE[] = "Plugins\\gen_tunelore.ini";
static const int PLAYER_PATH_LIMIT = SETTINGS_PATH_SIZE - 1;
static const int VALUE_SIZE = 25;

struct Switch {
  const char* key;
  bool* value;
};

static const Switch switches[] = {
    {"bDisabledPlugin", &bDisabledPlugin},
    {"bDisabledStartUp", &bDisabledStartUp},
    {"bDisabledAutoOpen", &bDisabledAutoOpen},
};

static char* newPathBuffer() {
  char* path = new (std::nothrow) char[SETTINGS_PATH_SIZE];
  if (path != nullptr) ZeroMemory(path, SETTINGS_PATH_SIZE);
  return path;
}

// Writes SETTINGS_FILE at `folderEnd` (just after a backslash) when it fits in the buffer;
// otherwise frees the path.
static char* withSettingsFile(char* path, char* folderEnd) {
  size_t folderLength = (size_t)(folderEnd - path);
  if (folderLength + sizeof SETTINGS_FILE > (size_t)SETTINGS_PATH_SIZE) {
    delete[] path;
    return nullptr;
  }
  lstrcpynA(folderEnd, SETTINGS_FILE, (int)sizeof SETTINGS_FILE);
  return path;
}

char* settingsFilePath() {
  char* path = newPathBuffer();
  if (path == nullptr) return nullptr;
  DWORD length = GetModuleFileNameA(nullptr, path, PLAYER_PATH_LIMIT);
  // A truncated path may have lost part of its folder: better no settings than wrong ones.
  bool readWhole = length > 0 && length < (DWORD)PLAYER_PATH_LIMIT;
  char* folderEnd = (char*)afterLastBackslash(path);
  if (!readWhole || folderEnd == path) {
    delete[] path;
    return nullptr;
  }
  return withSettingsFile(path, folderEnd);
}

// The folder's length when its text ends within the buffer's size, else -1.
static int folderTextLength(const char* folder) {
  for (int length = 0; length < SETTINGS_PATH_SIZE; ++length) {
    if (folder[length] == '\0') return length;
  }
  return -1;
}

char* settingsFolderFilePath(const char* folder) {
  if (folder == nullptr) return nullptr;
  int length = folderTextLength(folder);
  // With the backslash and the file name's terminator still to come, a folder of
  // SETTINGS_PATH_SIZE - 1 bytes never fits; withSettingsFile checks the exact room.
  if (length <= 0 || length >= PLAYER_PATH_LIMIT) return nullptr;
  char* path = newPathBuffer();
  if (path == nullptr) return nullptr;
  memcpy(path, folder, (size_t)length);
  char* folderEnd = path + length;
  if (*afterLastBackslash(path) != '\0') *folderEnd++ = '\\';
  return withSettingsFile(path, folderEnd);
}

static bool isFile(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

static void readSettingsFile(const char* section, const char* path) {
  for (const Switch& setting : switches) {
    char value[VALUE_SIZE] = {};
    GetPrivateProfileStringA(section, setting.key, "FALSE", value, VALUE_SIZE, path);
    // Exactly "FALSE" and its terminator; any other value, even "false" or "", sets it, as
    // earlier releases read it: a file edited by hand keeps the meaning it had there.
    *setting.value = memcmp(value, "FALSE", sizeof "FALSE") != 0;
  }
  readWindowPlace(section, path);
}

// True when every write succeeded; all are tried either way.
static bool writeSettingsFile(const char* section, const char* path) {
  bool written = true;
  for (const Switch& setting : switches) {
    if (!WritePrivateProfileStringA(section, setting.key, *setting.value ? "TRUE" : "FALSE",
                                    path)) {
      written = false;
    }
  }
  return writeWindowPlace(section, path) && written;
}

// The file's folder ("...\Plugins"); its parent, the settings folder, is the player's.
static void createFileFolder(char* path) {
  char* nameStart = (char*)afterLastBackslash(path);
  char separator = nameStart[-1];
  nameStart[-1] = '\0';
  CreateDirectoryA(path, nullptr);
  nameStart[-1] = separator;
}

void loadSettings(const char* section, const char* settingsFolder) {
  char* folderPath = settingsFolderFilePath(settingsFolder);
  if (folderPath != nullptr && isFile(folderPath)) {
    readSettingsFile(section, folderPath);
  } else {
    char* path = settingsFilePath();
    if (path != nullptr) readSettingsFile(section, path);
    delete[] path;
  }
  delete[] folderPath;
}

void saveSettings(const char* section, const char* settingsFolder) {
  char* folderPath = settingsFolderFilePath(settingsFolder);
  char* path = settingsFilePath();
  bool savedBeside = path != nullptr && writeSettingsFile(section, path);
  if (folderPath != nullptr) {
    if (!savedBeside) {
      createFileFolder(folderPath);
      writeSettingsFile(section, folderPath);
    } else if (isFile(folderPath) && !DeleteFileA(folderPath)) {
      // Left in place it would win the next load: it must hold what was just saved.
      writeSettingsFile(section, folderPath);
    }
  }
  delete[] path;
  delete[] folderPath;
}
