#include "tests/setup/setup_test_support.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace setuptest {

namespace fs = std::filesystem;

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
  fs::create_directories(fs::path(path).parent_path(), failure);
  return !failure && kit::writeFile(path, content);
}

// Read-only files too: their attribute is cleared first, as Windows will not delete them.
void removeTree(const std::string& path) {
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(path, ignored), end; it != end; it.increment(ignored)) {
    if (!it->is_directory(ignored)) {
      SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  fs::remove_all(path, ignored);
}

std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code ignored;
  for (fs::recursive_directory_iterator it(folder, ignored), end; it != end;
       it.increment(ignored)) {
    files[it->path().lexically_relative(folder).string()] =
        it->is_directory(ignored) ? std::string("<folder>") : kit::readFile(it->path().string());
  }
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
