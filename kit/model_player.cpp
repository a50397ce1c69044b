#include "kit/model_player.h"

#include "kit/file_info.h"
#include "kit/player_numbers.h"

namespace modelplayer {

using namespace playernumbers;

const char STALE_TEXT[] = "<stale text from an earlier request>";
static const char MAIN_CLASS[] = "Tunelore Model Player";
static const char SKIN_CLASS[] = "Tunelore Model Skin";
// Long enough for the longest test entry; longer texts are cut.
static const size_t HANDED_OUT_SIZE = 65536;

static Options built;
static HWND mainHandle;
static HWND playlistHandle;
static HWND skinHandle;
static std::vector<Entry> playlist;
static int currentPosition;
static int selectedPosition;
static bool isPlaying;
static bool isPaused;
static std::vector<BrowserRequest> requests;
static std::vector<UINT> mainMessages;
static std::vector<UINT> playlistMessages;
static std::wstring mainText;
static std::wstring playlistText;
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
  bool opens = request == request::MBOPEN || request == request::OPEN_URL;
  if (opens && argument != 0) recorded.address = (const char*)argument;
  requests.push_back(recorded);
  if (browserHandler) browserHandler(recorded);
  return 0;
}

// ---- Beyond the requests of the 5.0 days: the version, the main menu and its command ids,
// the settings folder, the web browser.

static HMENU menuHandle;
static UINT nextCommand = FIRST_REGISTERED_COMMAND;
static std::vector<LPARAM> numbers;

static HMENU buildMainMenu() {
  HMENU playback = CreatePopupMenu();
  AppendMenuA(playback, MF_STRING, command::PLAY, "Play");
  AppendMenuA(playback, MF_STRING, command::NEXT, "Next track");
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_POPUP, (UINT_PTR)playback, "Playback");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, command::EXIT, "Exit");
  return menu;
}

// The answer to a request the player does not handle: 1 from the players without a
// mini-browser, as their handler's default; 0 from the older ones.
static LRESULT unhandled() { return built.miniBrowser ? 0 : 1; }

static LRESULT giveCommandIds(WPARAM count) {
  if (menuHandle == nullptr || !built.givesCommandIds) return unhandled();
  UINT first = nextCommand;
  nextCommand += (UINT)count;
  return first;
}

static LRESULT answerLaterRequest(WPARAM argument, LPARAM number) {
  switch (number) {
    case request::GETVERSION:
      return (LRESULT)built.version;
    case request::GETINIDIRECTORY:
      return built.settingsFolder.empty() ? 0 : (LRESULT)built.settingsFolder.c_str();
    case request::GET_HMENU:
      return argument == 0 ? (LRESULT)menuHandle : 0;
    case request::REGISTER_LOWORD_COMMAND:
      return giveCommandIds(argument);
    case request::OPEN_URL:
      return recordBrowserRequest((int)number, argument);
    default:
      return unhandled();
  }
}

HMENU mainMenu() { return menuHandle; }

void setVersion(unsigned version, bool miniBrowser) {
  built.version = version;
  built.miniBrowser = miniBrowser;
}

void setSettingsFolder(const std::string& folder) { built.settingsFolder = folder; }

void chooseMenuItem(UINT command) {
  SendMessageA(mainHandle, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
void chooseSystemMenuItem(UINT command) { SendMessageA(mainHandle, WM_SYSCOMMAND, command, 0); }

int countRequests(LPARAM number) {
  int count = 0;
  for (LPARAM seen : numbers) count += seen == number ? 1 : 0;
  return count;
}

static void forgetLaterState() {
  if (menuHandle != nullptr) DestroyMenu(menuHandle);
  menuHandle = nullptr;
  nextCommand = FIRST_REGISTERED_COMMAND;
  numbers.clear();
}

// ---- Requests

static LRESULT answerRequest(WPARAM argument, LPARAM number) {
  const Entry* entry = entryAt(argument);
  switch (number) {
    case request::GETLISTPOS:
      return currentPosition;
    case request::GETPLAYLISTFILE:
      return handOut(entry != nullptr && entry->hasPath, entry ? entry->path : "");
    case request::GETPLAYLISTTITLE:
      return handOut(entry != nullptr && entry->hasTitle, entry ? entry->title : "");
    case request::MBOPEN:
    case request::MBBLOCK:
      recordBrowserRequest((int)number, argument);
      return unhandled();
    case request::GETWND:
      if (!built.answersPlaylistWindowRequest || argument != GETWND_PE) return 0;
      return (LRESULT)playlistHandle;
    case request::GET_EXTENDED_FILE_INFO:
      return answerFileInfo((const ExtendedFileInfo*)argument, playlist);
    default:
      return answerLaterRequest(argument, number);
  }
}

// The playlist editor is told to show the new entry: twice while a track plays, once when
// playback starts from stop.
static void showEntry() { SendMessageA(playlistHandle, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0); }

// Posted, not sent: it reaches the main window through the message loop, after the entry's
// display title has changed.
static void postTitleNotice() { PostMessageA(mainHandle, WA_IPC, misc::TITLE, CB_MISC); }

// What the player does whatever started the track: move, show it, tell the main window.
static void startTrack(int position) {
  const Entry* entry = entryAt((WPARAM)position);
  if (entry == nullptr) return;
  bool wasPlaying = isPlaying;
  currentPosition = position;
  isPlaying = true;
  isPaused = false;
  showEntry();
  if (wasPlaying) showEntry();
  std::string path = entry->path;  // the player's own copy, not the handed-out buffer
  std::wstring widePath(path.begin(), path.end());
  SendMessageA(mainHandle, WA_IPC, (WPARAM)path.c_str(), request::PLAYING_FILE);
  SendMessageW(mainHandle, WA_IPC, (WPARAM)widePath.c_str(), request::PLAYING_FILEW);
  postTitleNotice();
}

static int stepped(int step) {
  int count = (int)playlist.size();
  return count == 0 ? -1 : ((currentPosition + step) % count + count) % count;
}

static void stopPlaying() {
  isPlaying = false;
  isPaused = false;
  showEntry();
  postTitleNotice();
}

// Pausing and resuming change the title the player shows; a stopped player ignores both.
static void togglePause() {
  if (!isPlaying) return;
  isPaused = !isPaused;
  postTitleNotice();
}

static void handleCommand(WORD command) {
  if (command == command::NEXT) startTrack(stepped(1));
  if (command == command::PREVIOUS) startTrack(stepped(-1));
  if (command == command::STOP) stopPlaying();
  if (command == command::PAUSE) togglePause();
}

static void recordText(std::wstring& text, bool unicode, LPARAM lParam) {
  if (lParam == 0) {
    text.clear();
  } else if (unicode) {
    text = (const wchar_t*)lParam;
  } else {
    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, (const char*)lParam, -1, wide, 1024);
    text = wide;
  }
}

static LRESULT defaultAnswer(bool unicode, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  return unicode ? DefWindowProcW(window, message, wParam, lParam)
                 : DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT mainProcedure(bool unicode, HWND window, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  mainMessages.push_back(message);
  lstrcpynA(handedOut, STALE_TEXT, (int)HANDED_OUT_SIZE);
  if (message == WA_IPC) {
    numbers.push_back(lParam);
    return answerRequest(wParam, lParam);
  }
  if (message == WM_SETTEXT) recordText(mainText, unicode, lParam);
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
    if (idleHandler) idleHandler((HWND)lParam);
    return 0;
  }
  if (built.followsCommands && message == WM_COMMAND) handleCommand(LOWORD(wParam));
  if (built.followsCommands && message == END_OF_TRACK) startTrack(stepped(1));
  if (!answersDistinctively(message))
    return defaultAnswer(unicode, window, message, wParam, lParam);
  return mainWindowAnswer(message);
}

static LRESULT playlistProcedure(bool unicode, HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  playlistMessages.push_back(message);
  if (message == WM_SETTEXT) recordText(playlistText, unicode, lParam);
  if (built.followsCommands && message == WM_LBUTTONDBLCLK) startTrack(selectedPosition);
  if (!answersDistinctively(message))
    return defaultAnswer(unicode, window, message, wParam, lParam);
  return playlistWindowAnswer(message);
}

static LRESULT CALLBACK mainProcedureA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return mainProcedure(false, window, message, wParam, lParam);
}
static LRESULT CALLBACK mainProcedureW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return mainProcedure(true, window, message, wParam, lParam);
}
static LRESULT CALLBACK playlistProcedureA(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return playlistProcedure(false, window, message, wParam, lParam);
}
static LRESULT CALLBACK playlistProcedureW(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  return playlistProcedure(true, window, message, wParam, lParam);
}
static LRESULT CALLBACK skinProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

static std::wstring wide(const char* text) {
  std::string narrow = text;
  return std::wstring(narrow.begin(), narrow.end());
}

static bool registerClass(const char* name, WNDPROC procedure, bool unicode) {
  if (unicode) {
    std::wstring wideName = wide(name);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = wideName.c_str();
    return RegisterClassW(&windowClass) != 0;
  }
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

static HWND createWindow(const char* className, const char* title, bool unicode, HWND parent) {
  DWORD style = parent != nullptr ? WS_CHILD : WS_OVERLAPPEDWINDOW;
  if (unicode) {
    return CreateWindowExW(0, wide(className).c_str(), wide(title).c_str(), style, 0, 0, 300, 200,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return CreateWindowExA(0, className, title, style, 0, 0, 300, 200, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool start(const Options& options) {
  built = options;
  bool unicode = options.unicodeWindows;
  if (!registerClass(MAIN_CLASS, unicode ? mainProcedureW : mainProcedureA, unicode) ||
      !registerClass(PLAYLIST_CLASS, unicode ? playlistProcedureW : playlistProcedureA, unicode))
    return false;
  mainHandle = createWindow(MAIN_CLASS, "Model Player", unicode, nullptr);
  if (options.playlistInsideSkin) {
    if (!registerClass(SKIN_CLASS, skinProcedure, true)) return false;
    skinHandle = createWindow(SKIN_CLASS, "Model Skin", true, nullptr);
  }
  playlistHandle =
      createWindow(PLAYLIST_CLASS, "Model Player Playlist Editor", unicode, skinHandle);
  if (options.mainMenu) menuHandle = buildMainMenu();
  return mainHandle != nullptr && playlistHandle != nullptr;
}

// Notices still queued for the player die with it; left in the queue they would reach the
// next player's windows.
static void discardPostedMessages() {
  MSG message;
  while (mainHandle != nullptr && PeekMessageA(&message, mainHandle, 0, 0, PM_REMOVE)) {
  }
}

void stop() {
  discardPostedMessages();
  for (HWND* window : {&playlistHandle, &skinHandle, &mainHandle}) {
    if (*window != nullptr) DestroyWindow(*window);
    *window = nullptr;
  }
  for (const char* name : {PLAYLIST_CLASS, SKIN_CLASS, MAIN_CLASS}) {
    UnregisterClassA(name, GetModuleHandleA(nullptr));
  }
  forgetLaterState();
  built = Options();
  playlist.clear();
  currentPosition = selectedPosition = 0;
  isPlaying = isPaused = false;
  forgetInfoRequests();
  requests.clear();
  mainMessages.clear();
  playlistMessages.clear();
  mainText.clear();
  playlistText.clear();
  browserHandler = nullptr;
  idleHandler = nullptr;
}

HWND mainWindow() { return mainHandle; }
HWND playlistWindow() { return playlistHandle; }

static WNDPROC behindOtherHook;
static LRESULT CALLBACK otherPluginHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(behindOtherHook, window, message, wParam, lParam);
}
WNDPROC hookInFrontOfMainWindow() {
  behindOtherHook = (WNDPROC)SetWindowLongPtrW(mainHandle, GWLP_WNDPROC, (LONG_PTR)otherPluginHook);
  return otherPluginHook;
}

LONG_PTR currentProcedure(HWND window) {
  return IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                 : GetWindowLongPtrA(window, GWLP_WNDPROC);
}

bool hasOwnProcedure(HWND window) {
  bool unicode = IsWindowUnicode(window) != FALSE;
  LONG_PTR current = currentProcedure(window);
  if (window == mainHandle) return current == (LONG_PTR)(unicode ? mainProcedureW : mainProcedureA);
  if (window == playlistHandle)
    return current == (LONG_PTR)(unicode ? playlistProcedureW : playlistProcedureA);
  return false;
}

void setPlaylist(const std::vector<Entry>& entries) { playlist = entries; }
void setPosition(int position) { currentPosition = position; }
int position() { return currentPosition; }
bool playing() { return isPlaying; }

std::string playerFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\') + 1);
}

void pressNext() { SendMessageA(mainHandle, WM_COMMAND, command::NEXT, 0); }
void pressPrevious() { SendMessageA(mainHandle, WM_COMMAND, command::PREVIOUS, 0); }
void pressNextKey() { SendMessageA(mainHandle, WM_COMMAND, MAKEWPARAM(command::NEXT, 1), 0); }
void pressStop() { SendMessageA(mainHandle, WM_COMMAND, command::STOP, 0); }
void pressPause() { SendMessageA(mainHandle, WM_COMMAND, command::PAUSE, 0); }

void doubleClickEntry(int position) {
  selectedPosition = position;
  SendMessageA(playlistHandle, WM_LBUTTONDBLCLK, 0, 0);
}

void changeTrack(int position) { startTrack(position); }

void endOfTrack() {
  PostMessageA(mainHandle, END_OF_TRACK, 0, 0);
  deliverPostedMessages();
}

void deliverPostedMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

static std::string streamDisplayTitle(const std::string& streamTitle, const std::string& station) {
  return streamTitle + " (" + station + ")";
}

Entry streamEntry(const std::string& url, const std::string& station,
                  const std::string& streamTitle) {
  Entry entry{url, streamDisplayTitle(streamTitle, station)};
  entry.info[infokey::STREAM_TITLE] = streamTitle;
  entry.station = station;
  return entry;
}

void changeStreamTitle(int position, const std::string& streamTitle) {
  if (entryAt((WPARAM)position) == nullptr) return;
  Entry& entry = playlist[(size_t)position];
  entry.title = streamDisplayTitle(streamTitle, entry.station);
  entry.info[infokey::STREAM_TITLE] = streamTitle;
  postTitleNotice();
}

const std::vector<BrowserRequest>& browserRequests() { return requests; }
void clearBrowserRequests() { requests.clear(); }
const std::vector<UINT>& mainWindowMessages() { return mainMessages; }
const std::vector<UINT>& playlistWindowMessages() { return playlistMessages; }
const std::vector<LPARAM>& requestNumbers() { return numbers; }

std::wstring textReceived(HWND window) {
  return window == mainHandle ? mainText : window == playlistHandle ? playlistText : L"";
}

void onBrowserRequest(std::function<void(const BrowserRequest&)> handler) {
  browserHandler = std::move(handler);
}
void onDialogIdle(std::function<void(HWND)> handler) { idleHandler = std::move(handler); }

std::string describe(const BrowserRequest& request) {
  if (request.request == request::MBBLOCK) return "block " + std::to_string(request.argument);
  if (request.request == request::OPEN_URL) return "web browser " + request.address;
  if (request.argument == 0) return "bring up";
  return "open " + request.address;
}

std::vector<std::string> describedRequests() {
  std::vector<std::string> lines;
  for (const BrowserRequest& request : requests) lines.push_back(describe(request));
  return lines;
}

}  // namespace modelplayer
