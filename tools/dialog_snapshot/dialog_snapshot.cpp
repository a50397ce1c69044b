// Opens the real settings dialog of gen_tunelore.dll under the model player and saves what
// the screen shows of it as a 24-bit BMP.
//
//   dialog_snapshot <gen_tunelore.dll> <out.bmp>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "kit/files.h"
#include "kit/model_player.h"
#include "kit/player_place.h"

static bool saveWindowPicture(HWND window, const char* outPath) {
  RECT box;
  GetWindowRect(window, &box);
  int width = box.right - box.left, height = box.bottom - box.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, picture);
  BitBlt(memory, 0, 0, width, height, screen, box.left, box.top, SRCCOPY);
  SelectObject(memory, previous);

  // The file: its header, the picture's header, then rows of 24-bit pixels padded to 4 bytes.
  BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB};
  DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof header;
  std::string file(offset + (size_t)((width * 3 + 3) & ~3) * height, '\0');
  GetDIBits(memory, picture, 0, height, &file[offset], (BITMAPINFO*)&header, DIB_RGB_COLORS);
  BITMAPFILEHEADER fileHeader = {0x4D42, (DWORD)file.size(), 0, 0, offset};
  std::memcpy(&file[0], &fileHeader, sizeof fileHeader);
  std::memcpy(&file[sizeof fileHeader], &header, sizeof header);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return kit::writeFile(outPath, file);
}

// Lets the dialog paint itself before the picture is taken.
static void pumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dialog_snapshot <gen_tunelore.dll> <out.bmp>\n");
    return 2;
  }
  kit::Plugin plugin = kit::loadDll(argv[1]);
  if (plugin.record == nullptr || !modelplayer::start()) {
    std::fprintf(stderr, "cannot load %s: %s\n", argv[1], plugin.error.c_str());
    return 1;
  }
  playernumbers::PluginRecord* record = plugin.record;
  kit::handToPlayer(plugin);
  bool saved = false;
  modelplayer::onDialogIdle([&](HWND dialog) {
    if (saved) return;
    SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    UpdateWindow(dialog);
    pumpFor(500);
    saved = saveWindowPicture(dialog, argv[2]);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  record->config();
  modelplayer::stop();
  return saved ? 0 : 1;
}
