// The setup program and its uninstaller, run in silent mode as an administrator would, on
// made-up player folders (a winamp.exe placeholder, other plug-ins' files). Each case sets up
// folders and the registry, runs the program and checks files, program list and exit code.
// One start of this program runs every case: each process start is slow under emulation.
//
//   setup_program_test <tunelore-setup.exe> <gen_tunelore.dll it carries>
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "tests/setup/setup_test_support.h"

using namespace setuptest;

namespace {

// The setup program's own names and numbers, written out here as a user would read them.
const char LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tunelore";
const char PLAYER_KEY[] = "Software\\Winamp";
const char PLAYER_LIST_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";
const char UNINSTALLER[] = "tunelore-uninstall.exe";
const char NOTICES[] = "gen_tunelore-notices.txt";  // the licences of what the DLL contains
const long EXIT_NO_PLAYER = 3;
const long EXIT_PLAYER_RUNNING = 4;

std::string setupProgram;  // from the command line
std::string shippedDll;    // its bytes
std::string version;       // the version the build states
std::string root;          // every made-up folder lies here

typedef std::map<std::string, std::string> Files;

void clearRegistry() {
  deleteKey(HKEY_CURRENT_USER, LIST_KEY);
  deleteKey(HKEY_LOCAL_MACHINE, LIST_KEY);
  deleteKey(HKEY_CURRENT_USER, PLAYER_KEY);
  deleteKey(HKEY_LOCAL_MACHINE, PLAYER_LIST_KEY);
}

// A player folder with winamp.exe (unless without) and another plug-in's files.
std::string makePlayer(const std::string& name, bool withPlayer = true) {
  std::string folder = root + name;
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
  std::string copy = root + "uninstaller-copy.exe";
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
  SETUP_CHECK(fileExists(plugins + "\\" + UNINSTALLER));
  SETUP_CHECK(readFile(plugins + "\\" + NOTICES).find("id3lib") != std::string::npos);
  HKEY entry = listEntryRoot();
  SETUP_CHECK(entry != nullptr);
  if (entry == nullptr) return;
  std::string value;
  SETUP_CHECK(readString(entry, LIST_KEY, "DisplayName", &value) && !value.empty());
  SETUP_CHECK(readString(entry, LIST_KEY, "DisplayVersion", &value));
  SETUP_CHECK_EQ(value, version);
  SETUP_CHECK(readString(entry, LIST_KEY, "Publisher", &value));
  SETUP_CHECK_EQ(value, "Duskwarn");
  SETUP_CHECK(readString(entry, LIST_KEY, "UninstallString", &value));
  SETUP_CHECK_EQ(value, "\"" + plugins + "\\" + UNINSTALLER + "\"");
  DWORD kilobytes = 0;
  SETUP_CHECK(readDword(entry, LIST_KEY, "EstimatedSize", &kilobytes));
  SETUP_CHECK(kilobytes >= shippedDll.size() / 1024);
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
  Files installed = snapshot(player);
  SETUP_CHECK_EQ(installed.size(), playerBefore.size() + 3);  // the DLL, notices, uninstaller

  // The plug-in's settings, beside it and in the player's settings folder.
  writeFile(player + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\nbDisabledPlugin=TRUE\n");
  writeFile(settingsFolder + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\n");
  Files withSettings = snapshot(player);
  {
    PlayerWindow running;
    SETUP_CHECK(running.open());
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
  std::string folder = makePlayer("No Player", false);
  Files before = snapshot(folder);
  SETUP_CHECK_EQ(runSetup(" /D=" + folder), EXIT_NO_PLAYER);
  SETUP_CHECK(snapshot(folder) == before);
  SETUP_CHECK(noListEntry());
}

void refusesWhileThePlayerRuns() {
  std::string player = makePlayer("Running");
  writeFile(player + "\\Plugins\\gen_tunelore.dll", "an earlier version");
  writeFile(player + "\\Plugins\\gen_tunelore.ini", "[gen_tunelore.dll]\n");
  Files before = snapshot(player);
  PlayerWindow running;
  SETUP_CHECK(running.open());
  SETUP_CHECK_EQ(runSetup(" /D=" + player), EXIT_PLAYER_RUNNING);
  SETUP_CHECK(snapshot(player) == before);
  SETUP_CHECK(noListEntry());
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
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: setup_program_test <tunelore-setup.exe> <gen_tunelore.dll> <version>\n");
    return 2;
  }
  setupProgram = argv[1];
  shippedDll = readFile(argv[2]);
  version = argv[3];
  root = tempFolder() + "tunelore-setup-test\\";
  if (shippedDll.empty() || !fileExists(setupProgram) || root == "tunelore-setup-test\\") {
    std::fprintf(stderr, "setup_program_test: cannot read %s or %s\n", argv[1], argv[2]);
    return 2;
  }
  typedef void (*Case)();
  const std::pair<const char*, Case> cases[] = {
      {"installsIntoTheGivenFolderAndUninstallsCleanly",
       installsIntoTheGivenFolderAndUninstallsCleanly},
      {"refusesAFolderWithoutThePlayer", refusesAFolderWithoutThePlayer},
      {"refusesWhileThePlayerRuns", refusesWhileThePlayerRuns},
      {"findsThePlayerByItsKeyAndUpgradesKeepingSettings",
       findsThePlayerByItsKeyAndUpgradesKeepingSettings},
      {"findsThePlayerByItsUninstallEntry", findsThePlayerByItsUninstallEntry},
  };
  int failed = 0;
  for (const auto& entry : cases) {
    removeTree(root.substr(0, root.size() - 1));
    clearRegistry();
    beginCase(entry.first);
    entry.second();
    if (!endCase()) ++failed;
  }
  removeTree(root.substr(0, root.size() - 1));
  clearRegistry();
  std::printf("%d of %d cases failed\n", failed, static_cast<int>(sizeof cases / sizeof *cases));
  return failed == 0 ? 0 : 1;
}
