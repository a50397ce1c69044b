#include "model/player/model_player.h"

#include "host/winamp.h"

namespace modelplayer {

const char STALE_TEXT[] = "<stale text from an earlier request>";
static const char MAIN_CLASS[] = "Tunelore Model Player";
// Long enough for the longest test entry; longer texts are cut.
static const size_t HANDED_OUT_SIZE = 65536;

static HWND mainHandle;
static HWND playlistHandle;
static std::vector<Entry> playlist;
static int currentPosition;
static std::vector<BrowserRequest> requests;
static std::vector<UINT> mainMessages;
static std::vector<UINT> playlistMessages;
static std::function<void(const BrowserRequest&)> browserHandler;
static std::function<void(HWND)> idleHandler;
static char handedOut[HANDED_OUT_SIZE];

LRESULT mainWindowAnswer(UINT message) { return (LRESULT)(0x5A5A0000 + message); }
LRESULT playlistWindowAnswer(UINT message) { return (LRESULT)(0x3C3C0000 + message); }

// The player's own messages get answers no other code would give; the system's messages
// (creation, painting, ...) get the default handling a real window needs.
static bool answersDistinctively(UINT message) {
  return message == WM_COMMAND || message >= WM_USER;
}

static const Entry* entryAt(WPARAM index) {
  if ((INT_PTR)index < 0 || (size_t)index >= playlist.size()) return nullptr;
  return &playlist[(size_t)index];
}

static LRESULT handOut(bool present, const std::string& text) {
  if (!present) return 0;
  lstrcpynA(handedOut, text.c_str(), (int)HANDED_OUT_SIZE);
  return (LRESULT)handedOut;
}

static LRESULT recordBrowserRequest(int request, WPARAM argument) {
  BrowserRequest recorded{request, argument, ""};
  if (request == IPC_MBOPEN && argument != 0) recorded.address = (const char*)argument;
  requests.push_back(recorded);
  if (browserHandler) browserHandler(recorded);
  return 0;
}

static LRESULT answerRequest(WPARAM argument, LPARAM request) {
  const Entry* entry = entryAt(argument);
  switch (request) {
    case IPC_GETLISTPOS:
      return currentPosition;
    case IPC_GETPLAYLISTFILE:
      return handOut(entry != nullptr && entry->hasPath, entry ? entry->path : "");
    case IPC_GETPLAYLISTTITLE:
      return handOut(entry != nullptr && entry->hasTitle, entry ? entry->title : "");
    case IPC_MBOPEN:
    case IPC_MBBLOCK:
      return recordBrowserRequest((int)request, argument);
    default:
      return 0;
  }
}

static LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  mainMessages.push_back(message);
  lstrcpynA(handedOut, STALE_TEXT, (int)HANDED_OUT_SIZE);
  if (message == WM_WA_IPC) return answerRequest(wParam, lParam);
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
    if (idleHandler) idleHandler((HWND)lParam);
    return 0;
  }
  if (!answersDistinctively(message)) return DefWindowProcA(window, message, wParam, lParam);
  return mainWindowAnswer(message);
}

static LRESULT CALLBACK playlistProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  playlistMessages.push_back(message);
  if (!answersDistinctively(message)) return DefWindowProcA(window, message, wParam, lParam);
  return playlistWindowAnswer(message);
}

static bool registerClass(const char* name, WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

static HWND createTopLevel(const char* className, const char* title) {
  return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool start() {
  if (!registerClass(MAIN_CLASS, mainProcedure)) return false;
  if (!registerClass(WINAMP_PLAYLIST_CLASS, playlistProcedure)) return false;
  mainHandle = createTopLevel(MAIN_CLASS, "Model Player");
  playlistHandle = createTopLevel(WINAMP_PLAYLIST_CLASS, "Model Player Playlist Editor");
  return mainHandle != nullptr && playlistHandle != nullptr;
}

void stop() {
  if (playlistHandle != nullptr) DestroyWindow(playlistHandle);
  if (mainHandle != nullptr) DestroyWindow(mainHandle);
  mainHandle = playlistHandle = nullptr;
  UnregisterClassA(WINAMP_PLAYLIST_CLASS, GetModuleHandleA(nullptr));
  UnregisterClassA(MAIN_CLASS, GetModuleHandleA(nullptr));
  playlist.clear();
  currentPosition = 0;
  requests.clear();
  mainMessages.clear();
  playlistMessages.clear();
  browserHandler = nullptr;
  idleHandler = nullptr;
}

HWND mainWindow() { return mainHandle; }
HWND playlistWindow() { return playlistHandle; }
void setPlaylist(const std::vector<Entry>& entries) { playlist = entries; }

void changeTrack(int position) {
  currentPosition = position;
  SendMessageA(mainHandle, WM_COMMAND, WINAMP_BUTTON5, 0);
  SendMessageA(playlistHandle, PLAYLIST_FIRST_MESSAGE, 0, 0);
  SendMessageA(playlistHandle, PLAYLIST_SECOND_MESSAGE, 0, 0);
}

std::string playerFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\') + 1);
}
void setPosition(int position) { currentPosition = position; }
int position() { return currentPosition; }
const std::vector<BrowserRequest>& browserRequests() { return requests; }
void clearBrowserRequests() { requests.clear(); }
const std::vector<UINT>& mainWindowMessages() { return mainMessages; }
const std::vector<UINT>& playlistWindowMessages() { return playlistMessages; }
void onBrowserRequest(std::function<void(const BrowserRequest&)> handler) {
  browserHandler = std::move(handler);
}
void onDialogIdle(std::function<void(HWND)> handler) { idleHandler = std::move(handler); }

std::string describe(const BrowserRequest& request) {
  if (request.request == IPC_MBBLOCK) return "block " + std::to_string(request.argument);
  if (request.argument == 0) return "bring up";
  return "open " + request.address;
}

std::vector<std::string> describedRequests() {
  std::vector<std::string> lines;
  for (const BrowserRequest& request : requests) lines.push_back(describe(request));
  return lines;
}

}  // namespace modelplayer
