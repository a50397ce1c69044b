// The setup program and its uninstaller, run in silent mode as an administrator would, on
// made-up player folders (a winamp.exe placeholder, other plug-ins' files). Each case sets up
// folders and the registry, runs the program and checks files, program list and exit code.
// One start of this program runs every case: each process start is slow under emulation.
//
//   setup_program_test <tunelore-setup.exe> <gen_tunelore.dll it carries> <version>
#include <shlobj.h>
#include <shlwapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kit/files.h"

namespace {

namespace fs = std::filesystem;
using kit::readFile;

// --- checks: each failure is printed, and counted for the case it belongs to ---
int failures = 0;

void fail(const char* file, int line, const std::string& what) {
  ++failures;
  std::printf("%s:%d: failed: %s\n", file, line, what.c_str());
}

template <typename Actual, typename Expected>
void checkEqual(const Actual& actual, const Expected& expected, const char* text, const char* file,
                int line) {
  if (actual == expected) return;
  std::ostringstream what;
  what << text << " is \"" << actual << "\", expected \"" << expected << "\"";
  fail(file, line, what.str());
}

#define SETUP_CHECK(condition) ((condition) ? (void)0 : fail(__FILE__, __LINE__, #condition))
#define SETUP_CHECK_EQ(actual, expected) checkEqual(actual, expected, #actual, __FILE__, __LINE__)

// The setup program's own names and numbers, written out here as a user would read them.
const char LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tunelore";
const char PLAYER_KEY[] = "Software\\Winamp";
const char PLAYER_LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
const char PLAYER_WINDOW_CLASS[] = "Winamp v1.x";
const char UNINSTALLER[] = "tunelore-uninstall.exe";
const char NOTICES[] = "gen_tunelore-notices.txt";  // the licences of what the DLL contains
const long EXIT_NO_PLAYER = 3;
const long EXIT_PLAYER_RUNNING = 4;

std::string setupProgram;  // from the command line
std::string shippedDll;    // its bytes
std::string version;       // the version the build states
std::string root;          // every made-up folder lies here (no trailing backslash)

// --- files ---
typedef std::map<std::string, std::string> Files;

// kit::writeFile, in a folder made with every missing parent.
void writeFile(const std::string& path, const std::string& content) {
  std::error_code failure;
  fs::create_directories(fs::path(path).parent_path(), failure);
  SETUP_CHECK(!failure && kit::writeFile(path, content));
}

// Read-only files too: their attribute is cleared first, as Windows will not delete them.
void removeTree(const std::string& path) {
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(path, ignored), end; it != end; it.increment(ignored)) {
    SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(path, ignored);
}

// Every file under folder, by path relative to it, with its content.
Files snapshot(const std::string& folder) {
  Files files;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end;
       it.increment(ignored)) {
    files[it->path().lexically_relative(folder).string()] =
        it->is_directory(ignored) ? std::string("<folder>") : readFile(it->path().string());
  }
  return files;
}

// The user's roaming application data, no trailing backslash.
std::string appDataFolder() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// --- registry (the 32-bit view, as the player's own installer writes it) ---
// The value's bytes when it has that type; "" when it has another or is missing.
std::string readValue(HKEY hive, const char* key, const char* name, DWORD wantedType) {
  char data[1024];
  DWORD type = 0, size = sizeof data;
  if (SHGetValueA(hive, key, name, &type, data, &size) != ERROR_SUCCESS || type != wantedType) {
    return std::string();
  }
  std::string value(data, size);
  return type == REG_SZ ? value.substr(0, value.find('\0')) : value;
}

bool writeString(HKEY hive, const char* key, const char* name, const std::string& value) {
  return SHSetValueA(hive, key, name, REG_SZ, value.c_str(), (DWORD)value.size() + 1) ==
         ERROR_SUCCESS;
}

bool keyExists(HKEY hive, const char* key) {
  HKEY opened;
  if (RegOpenKeyExA(hive, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void clearRegistry() {
  SHDeleteKeyA(HKEY_CURRENT_USER, LIST_KEY);
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, LIST_KEY);
  SHDeleteKeyA(HKEY_CURRENT_USER, PLAYER_KEY);
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, PLAYER_LIST_KEY);
}

// --- the player and the programs under test ---
// A window of the class the player's main window has, for as long as the object lives.
struct RunningPlayer {
  HWND window;
  RunningPlayer() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = PLAYER_WINDOW_CLASS;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window = CreateWindowA(PLAYER_WINDOW_CLASS, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, windowClass.hInstance, nullptr);
    SETUP_CHECK(window != nullptr);
  }
  ~RunningPlayer() { DestroyWindow(window); }
};

// Runs commandLine to its end, answering window messages meanwhile; its exit code, or -1
// when it could not start.
long runToEnd(std::string commandLine) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  CloseHandle(process.hThread);
  // The program may send messages to our windows (the player's window above): answer them.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  return static_cast<long>(exitCode);
}

// A player folder with winamp.exe (unless without) and another plug-in's files.
std::string makePlayer(const std::string& name, bool withPlayer = true) {
  std::string folder = root + "\\" + name;
  if (withPlayer) writeFile(folder + "\\winamp.exe", "placeholder for the player");
  writeFile(folder + "\\Plugins\\gen_other.dll", "another plug-in");
  writeFile(folder + "\\Plugins\\gen_other.ini", "[gen_other]\nkept=1\n");
  return folder;
}

long runSetup(const std::string& arguments) {
  return runToEnd("\"" + setupProgram + "\" /S" + arguments);
}

// The uninstaller copies itself to TEMP and runs the copy with _?=<its folder>, which is
// then free to delete the original; doing that copy here saves one slow process start.
long runUninstaller(const std::string& pluginsFolder) {
  std::string copy = root + "\\uninstaller-copy.exe";
  if (!CopyFileA((pluginsFolder + "\\" + UNINSTALLER).c_str(), copy.c_str(), FALSE)) return -1;
  long exitCode = runToEnd("\"" + copy + "\" /S _?=" + pluginsFolder);
  DeleteFileA(copy.c_str());
  return exitCode;
}

HKEY listEntryRoot() {
  bool perUser = keyExists(HKEY_CURRENT_USER, LIST_KEY);
  bool perMachine = keyExists(HKEY_LOCAL_MACHINE, LIST_KEY);
  if (perUser == perMachine) return nullptr;  // none, or one too many
  return perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

bool noListEntry() {
  return !keyExists(HKEY_CURRENT_USER, LIST_KEY) && !keyExists(HKEY_LOCAL_MACHINE, LIST_KEY);
}

void checkInstalled(const std::string& player) {
  std::string plugins = player + "\\Plugins";
  SETUP_CHECK(readFile(plugins + "\\gen_tunelore.dll") == shippedDll);
  SETUP_CHECK(fs::exists(plugins + "\\" + UNINSTALLER));
  SETUP_CHECK(readFile(plugins + "\\" + NOTICES).find("id3lib") != std::string::npos);
  HKEY entry = listEntryRoot();
  SETUP_CHECK(entry != nullptr);
  if (entry == nullptr) return;
  SETUP_CHECK(!readValue(entry, LIST_KEY, "DisplayName", REG_SZ).empty());
  SETUP_CHECK_EQ(readValue(entry, LIST_KEY, "DisplayVersion", REG_SZ), version);
  SETUP_CHECK_EQ(readValue(entry, LIST_KEY, "Publisher", REG_SZ), "Duskwarn");
  SETUP_CHECK_EQ(readValue(entry, LIST_KEY, "UninstallString", REG_SZ),
                 "\"" + plugins + "\\" + UNINSTALLER + "\"");
  std::string size = readValue(entry, LIST_KEY, "EstimatedSize", REG_DWORD);
  DWORD kilobytes = 0;
  std::memcpy(&kilobytes, size.data(), std::min(size.size(), sizeof kilobytes));
  SETUP_CHECK(size.size() == sizeof kilobytes && kilobytes >= shippedDll.size() / 1024);
}

// The setup program refuses folder with that exit code and leaves everything as it was.
void checkRefused(const std::string& folder, long exitCode) {
  Files before = snapshot(folder);
  SETUP_CHECK_EQ(runSetup(" /D=" + folder), exitCode);
  SETUP_CHECK(snapshot(folder) == before);
  SETUP_CHECK(noListEntry());
}

// Installs, is refused to uninstall while the player runs, uninstalls: the folders end as
// they began, the player's settings folder keeps what is not the plug-in's.
void installsIntoTheGivenFolderAndUninstallsCleanly() {
  std::string player = makePlayer("Player One");
  std::string settingsFolder = appDataFolder() + "\\Winamp";
  writeFile(settingsFolder + "\\winamp.ini", "[Winamp]\nkept=1\n");
  Files playerBefore = snapshot(player);
  Files settingsBefore = snapshot(settingsFolder);

  SETUP_CHECK_EQ(runSetup(" /D=" + player), 0L);
  checkInstalled(player);
  SETUP_CHECK_EQ(snapshot(player).size(), playerBefore.size() + 3);  // DLL, notices, uninstaller

  // The plug-in's settings, beside it and in the player's settings folder.
  writeFile(player + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\nbDisabledPlugin=TRUE\n");
  writeFile(settingsFolder + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\n");
  Files withSettings = snapshot(player);
  {
    RunningPlayer running;
    SETUP_CHECK_EQ(runUninstaller(player + "\\Plugins"), EXIT_PLAYER_RUNNING);
  }
  SETUP_CHECK(snapshot(player) == withSettings);
  SETUP_CHECK(listEntryRoot() != nullptr);

  SETUP_CHECK_EQ(runUninstaller(player + "\\Plugins"), 0L);
  SETUP_CHECK(snapshot(player) == playerBefore);
  Files settingsAfter = snapshot(settingsFolder);
  settingsBefore.erase("Plugins");  // the folder the settings copy needed may stay
  settingsAfter.erase("Plugins");
  SETUP_CHECK(settingsAfter == settingsBefore);
  SETUP_CHECK(noListEntry());
  DeleteFileA((settingsFolder + "\\winamp.ini").c_str());
}

void refusesAFolderWithoutThePlayer() {
  checkRefused(makePlayer("No Player", false), EXIT_NO_PLAYER);
}

void refusesWhileThePlayerRuns() {
  std::string player = makePlayer("Running");
  writeFile(player + "\\Plugins\\gen_tunelore.dll", "an earlier version");
  writeFile(player + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\n");
  RunningPlayer running;
  checkRefused(player, EXIT_PLAYER_RUNNING);
}

// No /D: the player's own key names the folder (over its program-list entry). An earlier
// DLL is replaced; the user's settings stay, wherever they are.
void findsThePlayerByItsKeyAndUpgradesKeepingSettings() {
  std::string player = makePlayer("Keyed");
  std::string other = makePlayer("Listed");
  writeFile(player + "\\Plugins\\gen_tunelore.dll", "an earlier version");
  std::string settings = "[gen_tunelore.dll]\nbDisabledStartUp=TRUE\n";
  writeFile(player + "\\Plugins\\gen_tunelore.ini", settings);
  std::string settingsCopy = appDataFolder() + "\\Winamp\\Plugins\\gen_tunelore.ini";
  writeFile(settingsCopy, settings);
  Files otherBefore = snapshot(other);
  SETUP_CHECK(writeString(HKEY_CURRENT_USER, PLAYER_KEY, "", player));
  SETUP_CHECK(writeString(HKEY_LOCAL_MACHINE, PLAYER_LIST_KEY, "UninstallString",
                          "\"" + other + "\\UninstWA.exe\""));

  SETUP_CHECK_EQ(runSetup(""), 0L);
  checkInstalled(player);
  SETUP_CHECK_EQ(readFile(player + "\\Plugins\\gen_tunelore.ini"), settings);
  SETUP_CHECK_EQ(readFile(settingsCopy), settings);
  SETUP_CHECK(snapshot(other) == otherBefore);
  DeleteFileA(settingsCopy.c_str());
}

// No /D, and the player's own key names a folder it has left: its program-list entry
// (the uninstaller's command line) names the folder.
void findsThePlayerByItsUninstallEntry() {
  std::string left = makePlayer("Left", false);
  std::string player = makePlayer("Listed Player");
  SETUP_CHECK(writeString(HKEY_CURRENT_USER, PLAYER_KEY, "", left));
  SETUP_CHECK(writeString(HKEY_LOCAL_MACHINE, PLAYER_LIST_KEY, "UninstallString",
                          "\"" + player + "\\UninstWA.exe\" /uninstall"));
  Files leftBefore = snapshot(left);

  SETUP_CHECK_EQ(runSetup(""), 0L);
  checkInstalled(player);
  SETUP_CHECK(snapshot(left) == leftBefore);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // each line as it comes, should a case hang
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: setup_program_test <tunelore-setup.exe> <gen_tunelore.dll> <version>\n");
    return 2;
  }
  setupProgram = argv[1];
  shippedDll = readFile(argv[2]);
  version = argv[3];
  root = (fs::temp_directory_path() / "tunelore-setup-test").string();
  if (shippedDll.empty() || !fs::exists(setupProgram)) {
    std::fprintf(stderr, "setup_program_test: cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  const std::pair<const char*, void (*)()> cases[] = {
      {"installsIntoTheGivenFolderAndUninstallsCleanly",
       installsIntoTheGivenFolderAndUninstallsCleanly},
      {"refusesAFolderWithoutThePlayer", refusesAFolderWithoutThePlayer},
      {"refusesWhileThePlayerRuns", refusesWhileThePlayerRuns},
      {"findsThePlayerByItsKeyAndUpgradesKeepingSettings",
       findsThePlayerByItsKeyAndUpgradesKeepingSettings},
      {"findsThePlayerByItsUninstallEntry", findsThePlayerByItsUninstallEntry},
  };
  int failed = 0;
  for (const auto& [name, run] : cases) {
    removeTree(root);
    clearRegistry();
    failures = 0;
    std::printf("[ RUN  ] %s\n", name);
    run();
    std::printf("[ %s ] %s\n", failures == 0 ? " OK " : "FAIL", name);
    if (failures != 0) ++failed;
  }
  removeTree(root);
  clearRegistry();
  std::printf("%d of %d cases failed\n", failed, static_cast<int>(std::size(cases)));
  return failed == 0 ? 0 : 1;
}
