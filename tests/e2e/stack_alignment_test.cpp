// A player built with Microsoft's compiler keeps the stack aligned to 4 bytes only, and so
// calls the 32-bit plug-in's entry points and procedures; GCC's code assumes 16. Each entry
// point of the real DLL is called here from a stack 4, 8 and 12 bytes off 16-byte alignment.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/player/model_player.h"
#include "model/player/player_numbers.h"
#include "model/player/sample_mp3.h"
#include "tests/e2e/dll_under_test.h"
#include "ui/resource_ids.h"

// Calls `function` with `count` 32-bit arguments, with the stack pointer `misalignment` bytes
// below a 16-byte boundary at the call instruction. Works for __cdecl and __stdcall alike:
// the stack pointer is restored from the frame afterwards.
extern "C" uintptr_t callOnMisalignedStack(const void* function, unsigned misalignment,
                                           unsigned count, const uintptr_t* args);
// The stack pointer at the instruction that called it, modulo 16: proves the calls above
// are made as misaligned as they claim.
extern "C" uintptr_t stackAtCall();
asm(R"(
  .text
  .globl _stackAtCall
_stackAtCall:
  leal 4(%esp), %eax
  andl $15, %eax
  ret
)");
asm(R"(
  .text
  .globl _callOnMisalignedStack
_callOnMisalignedStack:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  movl 8(%ebp), %eax
  movl 16(%ebp), %ecx
  movl 20(%ebp), %esi
  andl $-16, %esp
  subl 12(%ebp), %esp
  leal (,%ecx,4), %edx
  negl %edx
  andl $15, %edx
  subl %edx, %esp
1:
  testl %ecx, %ecx
  jz 2f
  pushl -4(%esi,%ecx,4)
  decl %ecx
  jmp 1b
2:
  call *%eax
  leal -4(%ebp), %esp
  popl %esi
  popl %ebp
  ret
)");

namespace {

unsigned misalignment;  // of the calls below

uintptr_t call(const void* function, std::vector<uintptr_t> args = {}) {
  return callOnMisalignedStack(function, misalignment, args.size(), args.data());
}
template <typename Function>
const void* address(Function function) {
  return reinterpret_cast<const void*>(function);
}
LRESULT callWindowProcedure(LONG_PTR procedure, HWND window, UINT message, WPARAM wParam) {
  return call(reinterpret_cast<const void*>(procedure), {(uintptr_t)window, message, wParam, 0});
}

std::string requests() {
  std::string text;
  for (const auto& line : modelplayer::describedRequests()) text += line + "|";
  return text;
}
std::string pageOf(int track) {
  return "block 0|bring up|open http://tunelore.test/plugin.php?title=Song " +
         std::to_string(track) + "&&artist=Band&&album=Disc|block 1|";
}

class MisalignedStack : public ::testing::TestWithParam<unsigned> {
 protected:
  void SetUp() override {
    misalignment = GetParam();
    std::string plugins = modelplayer::playerFolder() + "Plugins\\";
    CreateDirectoryA(plugins.c_str(), nullptr);
    iniPath = plugins + "gen_tunelore.ini";
    DeleteFileA(iniPath.c_str());
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    // A folder of its own: an earlier test deliberately leaves the DLL in Plugins loaded.
    std::string folder = std::string(temp) + "tunelore-aligned\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    dllPath = folder + "gen_tunelore.dll";
    ASSERT_TRUE(CopyFileA(builtDll.c_str(), dllPath.c_str(), FALSE)) << builtDll;
    // The calls below bring the watched messages themselves.
    modelplayer::Options player;
    player.followsCommands = false;
    ASSERT_TRUE(modelplayer::start(player));
    std::vector<modelplayer::Entry> playlist;
    for (int i = 1; i <= 2; ++i) {
      std::string path = std::string(temp) + "tunelore-aligned-" + std::to_string(i) + ".mp3";
      std::string title = "Song " + std::to_string(i);
      ASSERT_TRUE(samplemp3::writeFile(
          path, samplemp3::taggedTrack({{"TIT2", title}, {"TPE1", "Band"}, {"TALB", "Disc"}})));
      playlist.push_back({path, "Band - " + title});
      files.push_back(path);
    }
    modelplayer::setPlaylist(playlist);
  }
  void TearDown() override {
    modelplayer::stop();
    for (const auto& path : files) DeleteFileA(path.c_str());
  }

  std::string dllPath, iniPath;
  std::vector<std::string> files;
};

TEST_P(MisalignedStack, EveryEntryPointOfTheDll) {
  ASSERT_EQ(call(address(stackAtCall)), (16 - misalignment) % 16);
  HMODULE module = LoadLibraryA(dllPath.c_str());
  ASSERT_NE(module, nullptr) << GetLastError();
  const void* entry = address(GetProcAddress(module, playernumbers::ENTRY_FUNCTION));
  ASSERT_NE(entry, nullptr);
  auto* record = reinterpret_cast<playernumbers::PluginRecord*>(call(entry));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->version, playernumbers::RECORD_VERSION);
  record->hwndParent = modelplayer::mainWindow();
  record->hDllInstance = module;

  EXPECT_EQ(call(address(record->init)), 0u);
  EXPECT_STREQ(record->description, "TuneLore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_EQ(requests(), "block 0|open http://tunelore.test/|block 1|");

  // The hooks init put in front of the player's two windows.
  HWND main = modelplayer::mainWindow(), playlist = modelplayer::playlistWindow();
  LONG_PTR mainHook = GetWindowLongPtrW(main, GWLP_WNDPROC);
  LONG_PTR playlistHook = GetWindowLongPtrW(playlist, GWLP_WNDPROC);
  modelplayer::clearBrowserRequests();
  modelplayer::setPosition(0);
  EXPECT_EQ(callWindowProcedure(mainHook, main, WM_COMMAND, 40048),
            modelplayer::mainWindowAnswer(WM_COMMAND));
  EXPECT_EQ(requests(), pageOf(1));

  // The playlist editor's "show this entry" three times: its hook updates on the third.
  modelplayer::clearBrowserRequests();
  modelplayer::setPosition(1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(callWindowProcedure(playlistHook, playlist, WM_USER, 0),
              modelplayer::playlistWindowAnswer(WM_USER));
  }
  EXPECT_EQ(requests(), pageOf(2));

  // The dialog procedure, called directly while the dialog runs: WM_INITDIALOG shows the
  // switches again (all off), OK stores the box ticked here and closes the dialog.
  bool initialised = false, closed = false;
  modelplayer::onDialogIdle([&](HWND dialog) {
    if (closed) return;
    LONG_PTR procedure = GetWindowLongPtrA(dialog, DWLP_DLGPROC);
    CheckDlgButton(dialog, IDC_DISABLE_AUTOOPEN, BST_CHECKED);
    callWindowProcedure(procedure, dialog, WM_INITDIALOG, 0);
    initialised = IsDlgButtonChecked(dialog, IDC_DISABLE_AUTOOPEN) == BST_UNCHECKED;
    CheckDlgButton(dialog, IDC_DISABLE_AUTOOPEN, BST_CHECKED);
    callWindowProcedure(procedure, dialog, WM_COMMAND, IDOK);
    closed = true;
  });
  call(address(record->config));
  EXPECT_TRUE(initialised);
  EXPECT_TRUE(closed);
  std::ifstream ini(iniPath, std::ios::binary);
  std::stringstream saved;
  saved << ini.rdbuf();
  EXPECT_NE(saved.str().find("bDisabledAutoOpen=TRUE"), std::string::npos) << saved.str();

  call(address(record->quit));
  EXPECT_STREQ(record->description, "Tunelore Plugin (Duskwarn) (gen_tunelore.dll)");
  EXPECT_NE(GetWindowLongPtrW(main, GWLP_WNDPROC), mainHook) << "quit left the hook in place";
  EXPECT_NE(GetWindowLongPtrW(playlist, GWLP_WNDPROC), playlistHook);
  EXPECT_TRUE(FreeLibrary(module));
}

INSTANTIATE_TEST_SUITE_P(Bytes, MisalignedStack, ::testing::Values(4u, 8u, 12u));

}  // namespace
