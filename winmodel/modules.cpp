// Loaded modules, their file paths, and the mapping of Windows paths onto Linux files.
#include <algorithm>

#include "model_state.h"

using winmodel::state;

void winmodel::setDriveRoot(const std::string& linuxFolder) { state().driveRoot = linuxFolder; }

std::string winmodel::hostPath(const char* windowsPath) {
  std::string path(windowsPath);
  // The model player names its files as Linux paths below the drive root, which the C
  // runtime (not modelled) opens as they are: the same files here.
  const std::string& root = state().driveRoot;
  if (!root.empty() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/') {
    return path;
  }
  // "C:\dir\file" and "\dir\file" both lie below the drive root; other names are relative.
  if (path.size() >= 2 && path[1] == ':') path.erase(0, 2);
  std::replace(path.begin(), path.end(), '\\', '/');
  return !path.empty() && path[0] == '/' ? root + path : path;
}

void winmodel::setExecutablePath(const char* windowsPath) { state().executablePath = windowsPath; }

HMODULE winmodel::addModule(const char* windowsPath) {
  state().modules.push_back(std::make_unique<ModelModule>());
  HMODULE module = state().modules.back().get();
  module->path = windowsPath;
  state().codeModule = module;
  return module;
}

bool winmodel::isPinned(HMODULE module) { return module != nullptr && module->pinned; }

static bool isKnownModule(HMODULE module) {
  for (const auto& known : state().modules) {
    if (known.get() == module) return true;
  }
  return false;
}

// As Windows XP does: a path longer than the buffer fills it completely, unterminated, and
// the full capacity is returned. Later versions terminate; a caller must cope with both.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR path, DWORD capacity) {
  if (module != nullptr && !isKnownModule(module)) {
    SetLastError(126);  // ERROR_MOD_NOT_FOUND
    return 0;
  }
  const std::string& name = module != nullptr ? module->path : state().executablePath;
  if (name.size() < capacity) {
    memcpy(path, name.c_str(), name.size() + 1);
    return (DWORD)name.size();
  }
  memcpy(path, name.data(), capacity);
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return capacity;
}

// Only the executable's handle is asked for by name (NULL), and the executable has no module
// object in the model.
HMODULE WINAPI GetModuleHandleA(LPCSTR) { return nullptr; }

BOOL WINAPI GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module) {
  HMODULE found = (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) != 0
                      ? state().codeModule
                      : GetModuleHandleA(moduleName);
  if (module != nullptr) *module = found;
  if (found == nullptr) return FALSE;
  if ((flags & GET_MODULE_HANDLE_EX_FLAG_PIN) != 0) found->pinned = true;
  return TRUE;
}

DWORD WINAPI GetLastError(void) { return state().lastError; }

void WINAPI SetLastError(DWORD error) { state().lastError = error; }
