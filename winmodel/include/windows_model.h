// Controls of the Linux model of Windows: what a test or the session sets up that Windows
// would take from the machine (file system root, executable, loaded modules, code page,
// dialog templates). Only Linux builds have it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winmodel {

// Forgets every window, class, module, dialog template and setting.
void reset();

// Windows paths "C:\..." map to files below this Linux folder (default: the current folder).
void setDriveRoot(const std::string& linuxFolder);
std::string hostPath(const char* windowsPath);

// What GetModuleFileNameA(NULL, ...) reports: the player's executable.
void setExecutablePath(const char* windowsPath);

// A loaded module, e.g. the plug-in. The last one added is taken as the module that holds
// the plug-in's code (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS answers with it).
HMODULE addModule(const char* windowsPath);
bool isPinned(HMODULE module);

// 1252 (single byte, the default) or 932 (Shift-JIS lead bytes) for CharNextA.
void setAnsiCodePage(unsigned codePage);

// A dialog template as the resource compiler would have stored it: the controls' ids and
// kinds. DialogBoxParamA creates these controls with their built-in behaviour.
enum class ControlKind { PushButton, AutoCheckBox, Edit, Static };
struct DialogControl {
  int id;
  ControlKind kind;
};
void defineDialog(HMODULE module, int templateId, std::vector<DialogControl> controls);

}  // namespace winmodel
