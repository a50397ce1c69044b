#include "tracking/lyrics_page.h"

#include <windows.h>

#include "settings/settings.h"
#include "tracking/lyrics_window.h"
#include "tracking/tracking_state.h"
#include "winamp/player_requests.h"
#include "winamp/winamp.h"

// "#" would end the address at the browser and turn the rest into a fragment.
static const char ESCAPED_HASH[] = "%23";

static size_t escapedLength(const char* text) {
  size_t length = 0;
  for (const char* at = text; *at != '\0'; ++at) length += *at == '#' ? sizeof ESCAPED_HASH - 1 : 1;
  return length;
}

static char* appendEscaped(char* end, const char* text) {
  for (const char* at = text; *at != '\0'; ++at) {
    if (*at == '#') {
      memcpy(end, ESCAPED_HASH, sizeof ESCAPED_HASH - 1);
      end += sizeof ESCAPED_HASH - 1;
    } else {
      *end++ = *at;
    }
  }
  return end;
}

struct QueryPart {
  const char* key;
  const char* value;
};

void composePageAddress(const TrackInfo& info, char* address) {
  ZeroMemory(address, PAGE_ADDRESS_SIZE);
  static const char start[] = LYRICS_BASE_ADDRESS "plugin.php?";
  memcpy(address, start, sizeof start - 1);
  char* end = address + sizeof start - 1;
  const char* const limit = address + PAGE_ADDRESS_SIZE - 1;
  const QueryPart parts[] = {
      {"title=", info.title}, {"&&artist=", info.artist}, {"&&album=", info.album}};
  for (const QueryPart& part : parts) {
    if (part.value[0] == '\0') continue;
    size_t keyLength = strlen(part.key);
    if (keyLength + escapedLength(part.value) > (size_t)(limit - end)) return;
    memcpy(end, part.key, keyLength);
    end = appendEscaped(end + keyLength, part.value);
  }
}

static void sendPageAddress(const char* address, bool bringUp) {
  blockMiniBrowser(false);
  if (bringUp) bringUpMiniBrowser();
  openInMiniBrowser(address);
  blockMiniBrowser(true);
}

static void composeCurrentPageAddress(char* address) {
  TrackInfo info;
  gatherTrackInfo(currentListPosition(), info);
  composePageAddress(info, address);
}

void updateLyricsPage() {
  char address[PAGE_ADDRESS_SIZE];
  composeCurrentPageAddress(address);
  if (lstrcmpA(address, tracking.lastPageAddress) == 0) return;
  // Replaced before sending: an update re-entered from inside the requests below then
  // finds the same address and sends nothing.
  lstrcpynA(tracking.lastPageAddress, address, PAGE_ADDRESS_SIZE);
  LyricsWindowShow how =
      bDisabledAutoOpen ? LyricsWindowShow::IfOpen : LyricsWindowShow::OpenQuietly;
  if (!showInLyricsWindow(address, how)) sendPageAddress(address, !bDisabledAutoOpen);
}

void openLyricsForThisSong() {
  if (bDisabledPlugin) return;
  char address[PAGE_ADDRESS_SIZE];
  composeCurrentPageAddress(address);
  if (showInLyricsWindow(address, LyricsWindowShow::OpenInFront)) return;
  if (playerVersion() >= FIRST_VERSION_WITHOUT_MINI_BROWSER) {
    openInWebBrowser(address);
  } else {
    sendPageAddress(address, true);  // asked for: shown whatever the auto-open switch says
  }
}
