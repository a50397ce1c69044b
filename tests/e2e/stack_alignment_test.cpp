// A player built with Microsoft's compiler keeps the stack aligned to 4 bytes only, and so
// calls the 32-bit plug-in's entry points and procedures; GCC's code assumes 16. Each entry
// point of the real DLL is called here from a stack 4, 8 and 12 bytes off 16-byte alignment.
#include <cstdint>
#include <string>
#include <vector>

#include "kit/player_test.h"
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

// A function's address, whatever its type, called with these arguments.
template <typename Function>
uintptr_t call(Function function, std::vector<uintptr_t> args = {}) {
  auto address = reinterpret_cast<const void*>(function);
  return callOnMisalignedStack(address, misalignment, args.size(), args.data());
}
LRESULT callWindowProcedure(LONG_PTR procedure, HWND window, UINT message, WPARAM wParam) {
  return call(procedure, {(uintptr_t)window, message, wParam, 0});
}

class MisalignedStack : public PlayerFixture, public ::testing::WithParamInterface<unsigned> {
 protected:
  MisalignedStack() : PlayerFixture(kit::Way::Dll) {
    misalignment = GetParam();
    playerOptions.followsCommands = false;  // the calls below bring the watched messages
  }
};

TEST_P(MisalignedStack, EveryEntryPointOfTheDll) {
  ASSERT_EQ(call(stackAtCall), (16 - misalignment) % 16);
  FARPROC entry = GetProcAddress(module, playernumbers::ENTRY_FUNCTION);
  ASSERT_EQ(reinterpret_cast<playernumbers::PluginRecord*>(call(entry)), record);
  modelplayer::setPlaylist(
      {{taggedTrack("1.mp3", {{"TIT2", "Song 1"}, {"TPE1", "Band"}}), "Band - Song 1"},
       {taggedTrack("2.mp3", {{"TIT2", "Song 2"}, {"TPE1", "Band"}}), "Band - Song 2"}});

  EXPECT_EQ(call(record->init), 0u);
  EXPECT_EQ(record->description, startUpDescription());
  EXPECT_EQ(takeRequests(), pageRequests(frontPage(), false));

  // The hooks init put in front of the player's two windows.
  HWND main = modelplayer::mainWindow(), playlist = modelplayer::playlistWindow();
  LONG_PTR mainHook = GetWindowLongPtrW(main, GWLP_WNDPROC);
  LONG_PTR playlistHook = GetWindowLongPtrW(playlist, GWLP_WNDPROC);
  modelplayer::setPosition(0);
  EXPECT_EQ(callWindowProcedure(mainHook, main, WM_COMMAND, playernumbers::command::NEXT),
            modelplayer::mainWindowAnswer(WM_COMMAND));
  EXPECT_EQ(takeRequests(), bandPage("Song 1"));

  // The playlist editor's "show this entry" three times: its hook updates on the third.
  modelplayer::setPosition(1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(callWindowProcedure(playlistHook, playlist, WM_USER, 0),
              modelplayer::playlistWindowAnswer(WM_USER));
  }
  EXPECT_EQ(takeRequests(), bandPage("Song 2"));

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
  call(record->config);
  EXPECT_TRUE(initialised);
  EXPECT_TRUE(closed);
  EXPECT_EQ(readSettingsFile(), saved(false, false, true));

  call(record->quit);
  EXPECT_EQ(record->description, savedDescription());
  EXPECT_NE(GetWindowLongPtrW(main, GWLP_WNDPROC), mainHook) << "quit left the hook in place";
  EXPECT_NE(GetWindowLongPtrW(playlist, GWLP_WNDPROC), playlistHook);
  expectPinned(false);
}

INSTANTIATE_TEST_SUITE_P(, MisalignedStack, ::testing::Values(4u, 8u, 12u), [](const auto& info) {
  return std::to_string(info.param) + "BytesOff_Dll";
});

}  // namespace
