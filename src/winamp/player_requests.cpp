#include "winamp/player_requests.h"

#include "winamp/winamp.h"

static HWND mainWindow;

void connectToPlayer(HWND window) { mainWindow = window; }

HWND playerWindow() { return mainWindow; }

static LRESULT request(WPARAM argument, LPARAM requestNumber) {
  return SendMessageA(mainWindow, WM_WA_IPC, argument, requestNumber);
}

int currentListPosition() { return (int)request(0, IPC_GETLISTPOS); }

const char* playlistFilePath(int index) {
  return (const char*)request((WPARAM)index, IPC_GETPLAYLISTFILE);
}

const char* playlistDisplayTitle(int index) {
  return (const char*)request((WPARAM)index, IPC_GETPLAYLISTTITLE);
}

bool askFileInfo(const char* file, const char* key, char* value, size_t size) {
  ZeroMemory(value, size);
  extendedFileInfoStruct query = {file, key, value, size};
  bool answered = request((WPARAM)&query, IPC_GET_EXTENDED_FILE_INFO) != 0;
  // After a refusal the buffer means nothing; after an answer it may lack its terminator.
  if (!answered) ZeroMemory(value, size);
  value[size - 1] = '\0';
  return answered;
}

const char* playerSettingsFolder() { return (const char*)request(0, IPC_GETINIDIRECTORY); }

HWND playlistEditorWindow() { return (HWND)request(IPC_GETWND_PE, IPC_GETWND); }

unsigned playerVersion() { return (unsigned)request(0, IPC_GETVERSION); }

HMENU playerMainMenu() { return (HMENU)request(0, IPC_GET_HMENU); }

UINT registerMenuCommand() { return (UINT)request(1, IPC_REGISTER_LOWORD_COMMAND); }

Dispatchable* playerServiceApi() {
  LRESULT answer = request(0, IPC_GET_API_SERVICE);
  // Players that do not know the request answer their default, 1, or 0.
  return answer == 0 || answer == 1 ? nullptr : (Dispatchable*)answer;
}

void openInWebBrowser(const char* address) { request((WPARAM)address, IPC_OPEN_URL); }

void bringUpMiniBrowser() { request(0, IPC_MBOPEN); }

void openInMiniBrowser(const char* address) { request((WPARAM)address, IPC_MBOPEN); }

void blockMiniBrowser(bool blocked) { request(blocked ? 1 : 0, IPC_MBBLOCK); }
