#include "tests/setup/setup_test_support.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace setuptest {

namespace {
const char* currentCase = "";
int failuresInCase = 0;
const char PLAYER_WINDOW_CLASS[] = "Winamp v1.x";
}  // namespace

void beginCase(const char* name) {
  currentCase = name;
  failuresInCase = 0;
  std::printf("[ RUN  ] %s\n", name);
  std::fflush(stdout);
}

bool endCase() {
  std::printf("[ %s ] %s\n", failuresInCase == 0 ? " OK " : "FAIL", currentCase);
  std::fflush(stdout);
  return failuresInCase == 0;
}

void fail(const char* file, int line, const std::string& what) {
  ++failuresInCase;
  std::printf("%s:%d: failed: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool writeFile(const std::string& path, const std::string& content) {
  std::error_code failure;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), failure);
  return !failure && kit::writeFile(path, content);
}

namespace {
// Calls visit(relative path, is folder) for everything under folder, children first.
template <typename Visit>
void walk(const std::string& folder, const std::string& relative, Visit visit) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + relative + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder) walk(folder, relative + name + "\\", visit);
    visit(relative + name, isFolder);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}
}  // namespace

void removeTree(const std::string& path) {
  walk(path, "", [&](const std::string& relative, bool isFolder) {
    std::string full = path + "\\" + relative;
    if (isFolder) {
      RemoveDirectoryA(full.c_str());
    } else {
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(full.c_str());
    }
  });
  RemoveDirectoryA(path.c_str());
}

std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  walk(folder, "", [&](const std::string& relative, bool isFolder) {
    files[relative] = isFolder ? std::string("<folder>") : kit::readFile(folder + "\\" + relative);
  });
  return files;
}

std::string tempFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD length = GetTempPathA(sizeof path, path);
  return length > 0 && length < sizeof path ? std::string(path) : std::string();
}

std::string appDataFolder() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::string();
  }
  return path;
}

namespace {
bool readValue(HKEY root, const std::string& key, const std::string& name, DWORD wantedType,
               std::vector<char>* data) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = 0;
  LONG status = RegQueryValueExA(opened, name.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS && type == wantedType) {
    data->assign(size + 1, '\0');  // room for a terminator the value may lack
    status = RegQueryValueExA(opened, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data->data()), &size);
  }
  RegCloseKey(opened);
  return status == ERROR_SUCCESS && type == wantedType;
}
}  // namespace

bool readString(HKEY root, const std::string& key, const std::string& name, std::string* value) {
  std::vector<char> data;
  if (!readValue(root, key, name, REG_SZ, &data)) return false;
  *value = data.data();
  return true;
}

bool readDword(HKEY root, const std::string& key, const std::string& name, DWORD* value) {
  std::vector<char> data;
  if (!readValue(root, key, name, REG_DWORD, &data) || data.size() < sizeof(DWORD)) return false;
  std::memcpy(value, data.data(), sizeof(DWORD));
  return true;
}

bool writeString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value) {
  HKEY created;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG status =
      RegSetValueExA(created, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(created);
  return status == ERROR_SUCCESS;
}

bool keyExists(HKEY root, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void deleteKey(HKEY root, const std::string& key) { RegDeleteKeyA(root, key.c_str()); }

PlayerWindow::PlayerWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = PLAYER_WINDOW_CLASS;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
  window = CreateWindowA(PLAYER_WINDOW_CLASS, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

PlayerWindow::~PlayerWindow() {
  if (window != nullptr) DestroyWindow(window);
}

long runToEnd(const std::string& commandLine) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
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

}  // namespace setuptest
