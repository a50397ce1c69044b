#include "kit/model_player.h"

#include <algorithm>
#include <cstring>

#include "kit/player_numbers.h"

namespace modelplayer {

using namespace playernumbers;

const char STALE_TEXT[] = "<stale text from an earlier request>";
static const char MAIN_CLASS[] = "Tunelore Model Player";
static const char SKIN_CLASS[] = "Tunelore Model Skin";
// Long enough for the longest test entry; longer texts are cut.
static const size_t HANDED_OUT_SIZE = 65536;

// What the player holds for one run; stop() puts it back as new.
struct State {
  Options built;
  HWND mainHandle = nullptr;
  HWND playlistHandle = nullptr;
  HWND skinHandle = nullptr;
  HMENU menuHandle = nullptr;
  std::vector<Entry> playlist;
  int currentPosition = 0;
  int selectedPosition = 0;
  bool isPlaying = false;
  bool isPaused = false;
  UINT nextCommand = FIRST_REGISTERED_COMMAND;
  std::vector<LPARAM> numbers;  // of every request, in order
  std::vector<BrowserRequest> requests;
  std::vector<InfoRequest> infoRequests;
  std::vector<UINT> mainMessages;
  std::vector<UINT> playlistMessages;
  std::wstring mainText;
  std::wstring playlistText;
  std::function<void(const BrowserRequest&)> browserHandler;
  std::function<void(HWND)> idleHandler;
};
static State player;
static char handedOut[HANDED_OUT_SIZE];

LRESULT mainWindowAnswer(UINT message) { return (LRESULT)(0x5A5A0000 + message); }
LRESULT playlistWindowAnswer(UINT message) { return (LRESULT)(0x3C3C0000 + message); }

// The player's own messages get answers no other code would give; the system's messages
// (creation, painting, ...) get the default handling a real window needs.
static bool answersDistinctively(UINT message) {
  return message == WM_COMMAND || message >= WM_USER;
}

static const Entry* entryAt(WPARAM index) {
  if ((INT_PTR)index < 0 || (size_t)index >= player.playlist.size()) return nullptr;
  return &player.playlist[(size_t)index];
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
  player.requests.push_back(recorded);
  if (player.browserHandler) player.browserHandler(recorded);
  return 0;
}

// ---- IPC_GET_EXTENDED_FILE_INFO: what the decoder read from the file the request names,
// written into the caller's buffer as the entry's answer says.

// The decoder reads the file the request names, whichever entry lists it.
static const Entry* entryForFile(const char* file) {
  for (const Entry& entry : player.playlist) {
    if (entry.hasPath && entry.path == file) return &entry;
  }
  return nullptr;
}

// A URL has no title, artist or album of its own: only the stream's title is known.
static const std::string* valueFor(const Entry& entry, const std::string& key) {
  if (entry.path.find("://") != std::string::npos && key != infokey::STREAM_TITLE) return nullptr;
  auto found = entry.info.find(key);
  return found == entry.info.end() ? nullptr : &found->second;
}

static LRESULT answerFileInfo(const ExtendedFileInfo* query) {
  if (query == nullptr) return 0;
  std::string key = query->metadata != nullptr ? query->metadata : "";
  player.infoRequests.push_back({query->filename != nullptr ? query->filename : "", key});
  const Entry* entry = query->filename != nullptr ? entryForFile(query->filename) : nullptr;
  const std::string* value = entry != nullptr ? valueFor(*entry, key) : nullptr;
  if (value == nullptr || query->ret == nullptr) return 0;
  InfoAnswer answer = entry->infoAnswer;
  if (answer == InfoAnswer::FillsUnterminated) {
    for (size_t i = 0; i < query->retlen; ++i)
      query->ret[i] = i < value->size() ? (*value)[i] : INFO_FILLER;
  } else if (answer != InfoAnswer::OneWithoutWriting && query->retlen > 0) {
    size_t kept = std::min(value->size(), query->retlen - 1);  // cut, and terminated
    memcpy(query->ret, value->data(), kept);
    query->ret[kept] = '\0';
  }
  return answer == InfoAnswer::ZeroAfterWriting ? 0 : 1;
}

const std::vector<InfoRequest>& infoRequests() { return player.infoRequests; }

// ---- Beyond the requests of the 5.0 days: the version, the main menu and its command ids,
// the settings folder, the web browser.

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
static LRESULT unhandled() { return player.built.miniBrowser ? 0 : 1; }

static LRESULT giveCommandIds(WPARAM count) {
  if (player.menuHandle == nullptr || !player.built.givesCommandIds) return unhandled();
  UINT first = player.nextCommand;
  player.nextCommand += (UINT)count;
  return first;
}

HMENU mainMenu() { return player.menuHandle; }

std::vector<UINT> menuCommands() {
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(player.menuHandle); ++i)
    ids.push_back(GetMenuItemID(player.menuHandle, i));
  return ids;
}

void setVersion(unsigned version, bool miniBrowser) {
  player.built.version = version;
  player.built.miniBrowser = miniBrowser;
}

void setSettingsFolder(const std::string& folder) { player.built.settingsFolder = folder; }

static void toMain(UINT message, WPARAM wParam) {
  SendMessageA(player.mainHandle, message, wParam, 0);
}
void chooseMenuItem(UINT command) { toMain(WM_COMMAND, MAKEWPARAM(command, 0)); }
void chooseSystemMenuItem(UINT command) { toMain(WM_SYSCOMMAND, command); }

int countRequests(LPARAM number) {
  return (int)std::count(player.numbers.begin(), player.numbers.end(), number);
}

// ---- Requests

static LRESULT answerRequest(WPARAM argument, LPARAM number) {
  const Entry* entry = entryAt(argument);
  const Options& built = player.built;
  switch (number) {
    case request::GETLISTPOS:
      return player.currentPosition;
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
      return (LRESULT)player.playlistHandle;
    case request::GET_EXTENDED_FILE_INFO:
      return answerFileInfo((const ExtendedFileInfo*)argument);
    case request::GETVERSION:
      return (LRESULT)built.version;
    case request::GETINIDIRECTORY:
      return built.settingsFolder.empty() ? 0 : (LRESULT)built.settingsFolder.c_str();
    case request::GET_HMENU:
      return argument == 0 ? (LRESULT)player.menuHandle : 0;
    case request::REGISTER_LOWORD_COMMAND:
      return giveCommandIds(argument);
    case request::OPEN_URL:
      return recordBrowserRequest((int)number, argument);
    case request::GET_API_SERVICE:
      return built.browserComponent.serviceApi ? built.browserComponent.serviceApi() : unhandled();
    default:
      return unhandled();
  }
}

// The playlist editor is told to show the new entry: twice while a track plays, once when
// playback starts from stop.
static void showEntry() {
  SendMessageA(player.playlistHandle, PE_SHOW_ENTRY, SHOW_ENTRY_ARGUMENT, 0);
}

// Posted, not sent: it reaches the main window through the message loop, after the entry's
// display title has changed.
static void postTitleNotice() { PostMessageA(player.mainHandle, WA_IPC, misc::TITLE, CB_MISC); }

static std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// What the player does whatever started the track: move, show it, tell the main window.
static void startTrack(int position) {
  const Entry* entry = entryAt((WPARAM)position);
  if (entry == nullptr) return;
  bool wasPlaying = player.isPlaying;
  player.currentPosition = position;
  player.isPlaying = true;
  player.isPaused = false;
  showEntry();
  if (wasPlaying) showEntry();
  std::string path = entry->path;  // the player's own copy, not the handed-out buffer
  SendMessageA(player.mainHandle, WA_IPC, (WPARAM)path.c_str(), request::PLAYING_FILE);
  SendMessageW(player.mainHandle, WA_IPC, (WPARAM)wide(path).c_str(), request::PLAYING_FILEW);
  postTitleNotice();
}

static int stepped(int step) {
  int count = (int)player.playlist.size();
  return count == 0 ? -1 : ((player.currentPosition + step) % count + count) % count;
}

static void handleCommand(WORD command) {
  if (command == command::NEXT) startTrack(stepped(1));
  if (command == command::PREVIOUS) startTrack(stepped(-1));
  if (command == command::STOP) {
    player.isPlaying = false;
    player.isPaused = false;
    showEntry();
    postTitleNotice();
  }
  // Pausing and resuming change the title the player shows; a stopped player ignores both.
  if (command == command::PAUSE && player.isPlaying) {
    player.isPaused = !player.isPaused;
    postTitleNotice();
  }
}

static void recordText(std::wstring& text, bool unicode, LPARAM lParam) {
  wchar_t converted[1024] = {};
  if (lParam != 0 && !unicode)
    MultiByteToWideChar(CP_ACP, 0, (const char*)lParam, -1, converted, 1024);
  text = lParam == 0 ? L"" : unicode ? (const wchar_t*)lParam : converted;
}

// The player's two procedures, in the A and the W form.
template <bool unicode>
static LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  player.mainMessages.push_back(message);
  lstrcpynA(handedOut, STALE_TEXT, (int)HANDED_OUT_SIZE);
  if (message == WA_IPC) {
    player.numbers.push_back(lParam);
    return answerRequest(wParam, lParam);
  }
  if (message == WM_SETTEXT) recordText(player.mainText, unicode, lParam);
  if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
    if (player.idleHandler) player.idleHandler((HWND)lParam);
    return 0;
  }
  bool follows = player.built.followsCommands;
  if (follows && message == WM_COMMAND) handleCommand(LOWORD(wParam));
  if (follows && message == END_OF_TRACK) startTrack(stepped(1));
  if (!answersDistinctively(message))
    return (unicode ? DefWindowProcW : DefWindowProcA)(window, message, wParam, lParam);
  return mainWindowAnswer(message);
}

template <bool unicode>
static LRESULT CALLBACK playlistProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  player.playlistMessages.push_back(message);
  if (message == WM_SETTEXT) recordText(player.playlistText, unicode, lParam);
  if (player.built.followsCommands && message == WM_LBUTTONDBLCLK)
    startTrack(player.selectedPosition);
  if (!answersDistinctively(message))
    return (unicode ? DefWindowProcW : DefWindowProcA)(window, message, wParam, lParam);
  return playlistWindowAnswer(message);
}

// Through RegisterClassA or RegisterClassW, with the name in their character set.
template <typename WindowClass, typename Char>
static bool registerWith(ATOM(WINAPI* registerClass)(const WindowClass*), const Char* name,
                         WNDPROC procedure) {
  WindowClass windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = name;
  return registerClass(&windowClass) != 0;
}

bool registerClass(const char* name, WNDPROC procedure, bool unicode) {
  return unicode ? registerWith(RegisterClassW, wide(name).c_str(), procedure)
                 : registerWith(RegisterClassA, name, procedure);
}

HWND createWindow(const char* className, const char* title, bool unicode, HWND parent) {
  DWORD style = parent != nullptr ? WS_CHILD : WS_OVERLAPPEDWINDOW;
  if (unicode) {
    return CreateWindowExW(0, wide(className).c_str(), wide(title).c_str(), style, 0, 0, 300, 200,
                           parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return CreateWindowExA(0, className, title, style, 0, 0, 300, 200, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool start(const Options& options) {
  player.built = options;
  bool unicode = options.unicodeWindows;
  if (!registerClass(MAIN_CLASS, unicode ? mainProcedure<true> : mainProcedure<false>, unicode) ||
      !registerClass(PLAYLIST_CLASS, unicode ? playlistProcedure<true> : playlistProcedure<false>,
                     unicode))
    return false;
  player.mainHandle = createWindow(MAIN_CLASS, "Model Player", unicode, nullptr);
  if (options.playlistInsideSkin) {
    if (!registerClass(SKIN_CLASS, DefWindowProcW, true)) return false;
    player.skinHandle = createWindow(SKIN_CLASS, "Model Skin", true, nullptr);
  }
  player.playlistHandle =
      createWindow(PLAYLIST_CLASS, "Model Player Playlist Editor", unicode, player.skinHandle);
  if (options.mainMenu) player.menuHandle = buildMainMenu();
  if (player.mainHandle == nullptr || player.playlistHandle == nullptr) return false;
  if (options.browserComponent.load) options.browserComponent.load(player.mainHandle);
  return true;
}

void stop() {
  // Notices still queued for the player die with it; left in the queue they would reach the
  // next player's windows.
  MSG message;
  while (player.mainHandle != nullptr &&
         PeekMessageA(&message, player.mainHandle, 0, 0, PM_REMOVE)) {
  }
  for (HWND window : {player.playlistHandle, player.skinHandle, player.mainHandle})
    if (window != nullptr) DestroyWindow(window);
  for (const char* name : {PLAYLIST_CLASS, SKIN_CLASS, MAIN_CLASS})
    UnregisterClassA(name, GetModuleHandleA(nullptr));
  if (player.menuHandle != nullptr) DestroyMenu(player.menuHandle);
  // The component's windows the main window owned went with it.
  if (player.built.browserComponent.unload) player.built.browserComponent.unload();
  player = State();
}

HWND mainWindow() { return player.mainHandle; }
HWND playlistWindow() { return player.playlistHandle; }

static WNDPROC behindOtherHook;
static LRESULT CALLBACK otherPluginHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(behindOtherHook, window, message, wParam, lParam);
}
WNDPROC hookInFrontOfMainWindow() {
  behindOtherHook =
      (WNDPROC)SetWindowLongPtrW(player.mainHandle, GWLP_WNDPROC, (LONG_PTR)otherPluginHook);
  return otherPluginHook;
}

LONG_PTR currentProcedure(HWND window) {
  return IsWindowUnicode(window) ? GetWindowLongPtrW(window, GWLP_WNDPROC)
                                 : GetWindowLongPtrA(window, GWLP_WNDPROC);
}

bool hasOwnProcedure(HWND window) {
  bool unicode = IsWindowUnicode(window) != FALSE;
  WNDPROC own = nullptr;
  if (window == player.mainHandle) own = unicode ? mainProcedure<true> : mainProcedure<false>;
  if (window == player.playlistHandle)
    own = unicode ? playlistProcedure<true> : playlistProcedure<false>;
  return own != nullptr && currentProcedure(window) == (LONG_PTR)own;
}

void setPlaylist(const std::vector<Entry>& entries) { player.playlist = entries; }
void setPosition(int position) { player.currentPosition = position; }
bool playing() { return player.isPlaying; }

std::string playerFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\') + 1);
}

void pressNext() { toMain(WM_COMMAND, command::NEXT); }
void pressStop() { toMain(WM_COMMAND, command::STOP); }
void pressPause() { toMain(WM_COMMAND, command::PAUSE); }

void doubleClickEntry(int position) {
  player.selectedPosition = position;
  SendMessageA(player.playlistHandle, WM_LBUTTONDBLCLK, 0, 0);
}

void changeTrack(int position) { startTrack(position); }

const std::vector<Route> TRACK_ROUTES = {
    {"jump to file, from stop", [] { changeTrack(0); }, 1},
    {"next button", pressNext, 2},
    {"next key", [] { toMain(WM_COMMAND, MAKEWPARAM(command::NEXT, 1)); }, 3},
    {"previous button", [] { toMain(WM_COMMAND, command::PREVIOUS); }, 2},
    {"playlist double-click", [] { doubleClickEntry(0); }, 1},
    {"media library or Explorer", [] { changeTrack(2); }, 3},
    {"end of track", endOfTrack, 1},
    {"stop", pressStop, 0},
    {"replay from stop", [] { changeTrack(0); }, 0},
};

void endOfTrack() {
  PostMessageA(player.mainHandle, END_OF_TRACK, 0, 0);
  deliverPostedMessages();
}

void deliverPostedMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// The display title "Artist - Title (Station)" and the "streamtitle" of a stream's title.
static void setStreamTitle(Entry& entry, const std::string& streamTitle) {
  entry.title = streamTitle + " (" + entry.station + ")";
  entry.info[infokey::STREAM_TITLE] = streamTitle;
}

Entry streamEntry(const std::string& url, const std::string& station,
                  const std::string& streamTitle) {
  Entry entry{url, ""};
  entry.station = station;
  setStreamTitle(entry, streamTitle);
  return entry;
}

void changeStreamTitle(int position, const std::string& streamTitle) {
  if (entryAt((WPARAM)position) == nullptr) return;
  setStreamTitle(player.playlist[(size_t)position], streamTitle);
  postTitleNotice();
}

const std::vector<BrowserRequest>& browserRequests() { return player.requests; }
void clearBrowserRequests() { player.requests.clear(); }
const std::vector<UINT>& mainWindowMessages() { return player.mainMessages; }
const std::vector<UINT>& playlistWindowMessages() { return player.playlistMessages; }
const std::vector<LPARAM>& requestNumbers() { return player.numbers; }

std::wstring textReceived(HWND window) {
  if (window == player.mainHandle) return player.mainText;
  return window == player.playlistHandle ? player.playlistText : L"";
}

void onBrowserRequest(std::function<void(const BrowserRequest&)> handler) {
  player.browserHandler = std::move(handler);
}
void onDialogIdle(std::function<void(HWND)> handler) { player.idleHandler = std::move(handler); }

std::string describe(const BrowserRequest& request) {
  if (request.request == request::MBBLOCK) return "block " + std::to_string(request.argument);
  if (request.request == request::OPEN_URL) return "web browser " + request.address;
  if (request.argument == 0) return "bring up";
  return "open " + request.address;
}

std::vector<std::string> describedRequests() {
  std::vector<std::string> lines;
  for (const BrowserRequest& request : player.requests) lines.push_back(describe(request));
  return lines;
}

std::vector<std::string> pageRequests(const std::string& address, bool bringUp) {
  if (!bringUp) return {"block 0", "open " + address, "block 1"};
  return {"block 0", "bring up", "open " + address, "block 1"};
}

}  // namespace modelplayer
