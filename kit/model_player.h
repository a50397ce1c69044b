// A model of the player, written against the Win32 API so that it runs on the Linux model
// of Windows and on Windows itself: a main window that answers the plug-in's requests from
// a playlist and records every mini-browser request, and a playlist-editor window. Track
// changes come about as in the real player: inside its own handling of a command, a click
// or the end of a track, with the messages the real player sends.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace modelplayer {

// How the player answers IPC_GET_EXTENDED_FILE_INFO for a key the entry's file has. For a
// key it lacks, and for title, artist and album of a URL, it answers 0 and writes nothing.
enum class InfoAnswer {
  Writes,             // the value, cut to the buffer and terminated; answers 1
  ZeroAfterWriting,   // writes as above, then answers 0: after 0 the buffer means nothing
  OneWithoutWriting,  // answers 1 and leaves the buffer as it was
  FillsUnterminated,  // all retlen bytes: the value, then INFO_FILLER; no terminator; answers 1
};
const char INFO_FILLER = '~';

struct Entry {
  std::string path;   // file path handed out for the entry
  std::string title;  // display title
  bool hasPath = true;
  bool hasTitle = true;
  // What the player's decoder reads from the file, by key, in the ANSI code page.
  std::map<std::string, std::string> info = {};
  InfoAnswer infoAnswer = InfoAnswer::Writes;
  std::string station = {};  // a stream's station, shown after its title
};

// One IPC_GET_EXTENDED_FILE_INFO request as the player read it.
struct InfoRequest {
  std::string file;  // empty for a null file name
  std::string key;
};

struct BrowserRequest {
  int request;          // the mini-browser request's number, or IPC_OPEN_URL's
  WPARAM argument;      // 0 or 1, or the address for an open
  std::string address;  // copied during the call, empty when argument is not an address
};

// A component of the player's own, such as the browser component (kit/browser_component.h
// gives one): loaded once the player's windows exist, before any plug-in starts, and unloaded
// after they are gone.
struct Component {
  std::function<void(HWND mainWindow)> load;
  std::function<LRESULT()> serviceApi;  // IPC_GET_API_SERVICE's answer
  std::function<void()> unload;
};

// How the player is built. Players since 5.3 create their windows as Unicode windows; under
// a modern skin the playlist editor is a child of the skin's window, which only the
// playlist-window request names (players before 2.9 do not answer it).
// Tests that send the watched messages themselves want a player that does not act on them:
// without followsCommands it only answers requests and records messages.
struct Options {
  bool unicodeWindows = true;
  bool playlistInsideSkin = false;
  bool answersPlaylistWindowRequest = true;
  bool followsCommands = true;

  // What the player says of itself and what it offers beyond the requests above:
  // - version, IPC_GETVERSION's answer (0x50yx for 5.yx). Players from 5.22 on have no
  //   mini-browser (miniBrowser false): they answer its requests, like every request they do
  //   not handle, with their default 1. Every request is recorded either way.
  // - mainMenu: a main pop-up menu (its items include Exit, 40001) for IPC_GET_HMENU, and
  //   command ids for IPC_REGISTER_LOWORD_COMMAND unless givesCommandIds is false.
  // - settingsFolder: IPC_GETINIDIRECTORY's text; empty for a player that names none.
  // The defaults are a 5.0 player without a menu or a settings folder.
  unsigned version = 0x5000;
  bool miniBrowser = true;
  bool mainMenu = false;
  bool givesCommandIds = true;
  std::string settingsFolder;
  // None by default: IPC_GET_API_SERVICE is then a request the player does not handle.
  Component browserComponent;
};

// The first command id the player gives out; each further one is the next number.
const UINT FIRST_REGISTERED_COMMAND = 46000;

// Registers the classes and creates the windows; false when that failed.
bool start(const Options& options = Options());
// Destroys the windows and unregisters the classes; what the player held goes with them.
void stop();
HWND mainWindow();
HWND playlistWindow();
// Another plug-in subclasses the main window in front of whatever is there, through the W
// forms, and hands every message on; its procedure.
WNDPROC hookInFrontOfMainWindow();
// A window's procedure as read in the window's own character set, the way a hook reads it,
// and whether it is the player's own again.
LONG_PTR currentProcedure(HWND window);
bool hasOwnProcedure(HWND window);
// A class registered, and a window of it created, through the A or the W form.
bool registerClass(const char* name, WNDPROC procedure, bool unicode);
HWND createWindow(const char* className, const char* title, bool unicode, HWND parent = nullptr);

void setPlaylist(const std::vector<Entry>& entries);
void setPosition(int position);
bool playing();
// The folder of the player's executable, ending in a backslash.
std::string playerFolder();

// The ways a track changes, each as the real player goes about it:
void pressNext();                     // the next-track button: WM_COMMAND 40048
void pressStop();                     // the stop button: WM_COMMAND 40047
void doubleClickEntry(int position);  // in the playlist editor
// Jump to file, the media library, Explorer, drag and drop: no command reaches the main
// window, the player starts the entry itself.
void changeTrack(int position);
// The playing track ends: the player posts itself 0x402 and starts the next one when the
// message loop delivers it.
void endOfTrack();
// Each way above to a new track, and the previous-track button (40044) and the next-track key
// (40048 as an accelerator), as a tour of a three-track playlist from stop: the track it
// reaches (1 to 3), then a stop and a replay of the first track, which reach no new one (0).
struct Route {
  const char* name;
  void (*take)();
  int track;
};
extern const std::vector<Route> TRACK_ROUTES;
// The pause button: pauses, and pressed again resumes (WM_COMMAND 40046).
void pressPause();
// Delivers what is posted to the player's windows, as its message loop would. The player
// posts its title notice (IPC_CB_MISC, TITLE) after each change of the playing entry's
// title: a track starts (after its "playing file" notice), stop, pause, resume, and a
// stream's new title.
void deliverPostedMessages();

// A stream as the player lists it: the URL, the display title "Artist - Title (Station)" and
// the decoder's "streamtitle", which leaves the station out.
Entry streamEntry(const std::string& url, const std::string& station,
                  const std::string& streamTitle);
// The stream at `position` sends a new title: the player updates the entry's display title
// and streamtitle, then posts its title notice.
void changeStreamTitle(int position, const std::string& streamTitle);
// Every IPC_GET_EXTENDED_FILE_INFO request since start(), in order.
const std::vector<InfoRequest>& infoRequests();

const std::vector<BrowserRequest>& browserRequests();
void clearBrowserRequests();
// One line per request: "block 0", "bring up", "open <address>", "block 1", and
// "web browser <address>" for IPC_OPEN_URL.
std::string describe(const BrowserRequest& request);
std::vector<std::string> describedRequests();
// The lines of an update that opens `address`: blocked around it, brought up unless the
// plug-in's auto open is off.
std::vector<std::string> pageRequests(const std::string& address, bool bringUp = true);

// What the player's own window procedures return for a message that is not a request, so a
// test can tell the player's answer from anything else.
LRESULT mainWindowAnswer(UINT message);
LRESULT playlistWindowAnswer(UINT message);
// Messages each of the player's own procedures has received, in order.
const std::vector<UINT>& mainWindowMessages();
const std::vector<UINT>& playlistWindowMessages();
// The last text each of the player's own procedures received with WM_SETTEXT.
std::wstring textReceived(HWND window);

// The main pop-up menu (null unless built with one), and the user choosing `command` from it
// where the player shows it (WM_COMMAND) or inside the window's system menu (WM_SYSCOMMAND).
HMENU mainMenu();
// The commands of the main menu's top level, in order, with GetMenuItemID's answers for its
// submenu and separator.
std::vector<UINT> menuCommands();
const UINT SUBMENU = (UINT)-1, SEPARATOR = 0;
// Changes what the player says of itself after start-up.
void setVersion(unsigned version, bool miniBrowser);
void setSettingsFolder(const std::string& folder);
void chooseMenuItem(UINT command);
void chooseSystemMenuItem(UINT command);
// How many requests of that number the main window has received, and all their numbers.
int countRequests(LPARAM number);
const std::vector<LPARAM>& requestNumbers();

// Called after each mini-browser request has been recorded, still inside the request.
void onBrowserRequest(std::function<void(const BrowserRequest&)> handler);
// Called when a modal dialog owned by the main window is idle (WM_ENTERIDLE).
void onDialogIdle(std::function<void(HWND dialog)> handler);

// Text the player hands out is overwritten at the next message: this marks what a plug-in
// that kept an old text pointer would read.
extern const char STALE_TEXT[];

}  // namespace modelplayer
