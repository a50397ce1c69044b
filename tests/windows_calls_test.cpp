// The Windows calls behind the settings folder and the menu item, as the plug-in relies on
// them: run on the model and under Wine alike, so that the model answers as Windows does.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "kit/player_place.h"
#include "kit/player_test.h"

namespace {

class WindowsCallsTest : public LinkedPlayerTest {};

TEST_F(WindowsCallsTest, FilesAndFoldersAnswerWithWindowsErrors) {
  const std::string base = kit::settingsFolder();
  const std::string file = base + "\\file.ini", folder = base + "\\Plugins";
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesA((base + "\\none\\file.ini").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", (folder + "\\file.ini").c_str()));
  EXPECT_FALSE(CreateDirectoryA((folder + "\\deeper").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);

  EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", folder.c_str())) << "a folder";
  EXPECT_FALSE(DeleteFileA(folder.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);

  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "v", file.c_str()));
  DWORD attributes = GetFileAttributesA(file.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY), 0u);
  // The same through the attribute data, with the size and the time in 100 ns steps since
  // 1601: the file was written just now. A folder has no size.
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes, attributes);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.nFileSizeLow, std::filesystem::file_size(kit::onDisk(file)));
  uint64_t written =
      ((uint64_t)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
  uint64_t now = ((uint64_t)time(nullptr) + 11644473600u) * 10000000u;
  EXPECT_LT(now > written ? now - written : written - now, 600u * 10000000u);
  ASSERT_TRUE(GetFileAttributesExA(folder.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, (DWORD)FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(data.nFileSizeLow | data.nFileSizeHigh, 0u);
  EXPECT_FALSE(GetFileAttributesExA((base + "\\none.ini").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
  // A read-only file refuses deleting, to an administrator (root) as well. (Writing into it
  // is refused by Windows but allowed to root by Wine, which the model follows.)
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(DeleteFileA(file.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileA(file.c_str()));
  EXPECT_FALSE(DeleteFileA(file.c_str()));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_FILE_NOT_FOUND);
}

// Two threads count through both; the lock is taken again by the thread holding it.
TEST(ThreadCalls, CountsAndLocksHoldBetweenThreads) {
  const int ROUNDS = 100000;
  LONG volatile interlocked = 0;
  long locked = 0;
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  auto count = [&] {
    for (int i = 0; i < ROUNDS; ++i) {
      InterlockedIncrement(&interlocked);
      EnterCriticalSection(&section);
      EnterCriticalSection(&section);
      ++locked;
      LeaveCriticalSection(&section);
      LeaveCriticalSection(&section);
    }
  };
  std::thread other(count);
  count();
  other.join();
  DeleteCriticalSection(&section);
  EXPECT_EQ(interlocked, 2 * ROUNDS);
  EXPECT_EQ(locked, 2 * ROUNDS);
  EXPECT_EQ(InterlockedDecrement(&interlocked), 2 * ROUNDS - 1) << "answers the new count";
}

class MenuCallsTest : public LinkedPlayerTest {
 protected:
  void SetUp() override {
    LinkedPlayerTest::SetUp();
    menu = CreatePopupMenu();
    subMenu = CreatePopupMenu();
    AppendMenuA(subMenu, MF_STRING, 200, "Inner");
    AppendMenuA(menu, MF_STRING, 100, "Open");
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)subMenu, "Play");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 40001, "Exit");
  }
  void TearDown() override {
    DestroyMenu(menu);
    LinkedPlayerTest::TearDown();
  }
  BOOL insert(HMENU into, UINT before, UINT id, UINT state = MFS_ENABLED) {
    char text[] = "Added";
    // The fields in the order both declarations share; the text comes after others on Windows.
    MENUITEMINFOA item = {sizeof item, MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING, MFT_STRING,
                          state, id};
    item.dwTypeData = text;
    return InsertMenuItemA(into, before, FALSE, &item);
  }
  std::string text(HMENU in, UINT item, UINT flags) {
    char buffer[64] = {};
    GetMenuStringA(in, item, buffer, sizeof buffer, flags);
    return buffer;
  }

  HMENU menu = nullptr, subMenu = nullptr;
};

TEST_F(MenuCallsTest, InsertingByCommandFindsTheItemWhereverItIs) {
  ASSERT_TRUE(insert(menu, 40001, 500));
  EXPECT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_EQ(GetMenuItemID(menu, 3), 500u);
  EXPECT_EQ(GetMenuItemID(menu, 4), 40001u);
  EXPECT_EQ(GetMenuItemID(menu, 1), (UINT)-1) << "a submenu's item";
  EXPECT_EQ(text(menu, 3, MF_BYPOSITION), "Added");
  EXPECT_EQ(text(menu, 40001, MF_BYCOMMAND), "Exit");

  ASSERT_TRUE(insert(menu, 200, 501));
  EXPECT_EQ(GetMenuItemCount(subMenu), 2);
  EXPECT_EQ(GetMenuItemID(subMenu, 0), 501u) << "inside the submenu, before its item";

  ASSERT_TRUE(insert(menu, 999, 502));
  EXPECT_EQ(GetMenuItemID(menu, GetMenuItemCount(menu) - 1), 502u) << "no such item: appended";
}

TEST_F(MenuCallsTest, GreyingAndDeletingByCommand) {
  ASSERT_TRUE(insert(menu, 40001, 500, MFS_GRAYED));
  EXPECT_EQ(GetMenuState(menu, 500, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED),
            (UINT)(MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(EnableMenuItem(menu, 500, MF_BYCOMMAND | MF_ENABLED), (UINT)(MF_GRAYED | MF_DISABLED));
  EXPECT_EQ(GetMenuState(menu, 500, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
  EXPECT_EQ(EnableMenuItem(menu, 500, MF_BYCOMMAND | MF_GRAYED), (UINT)MF_ENABLED);
  EXPECT_NE(GetMenuState(menu, 500, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(EnableMenuItem(menu, 999, MF_BYCOMMAND | MF_GRAYED), (UINT)-1);
  EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), (UINT)-1);

  EXPECT_TRUE(DeleteMenu(menu, 500, MF_BYCOMMAND));
  EXPECT_FALSE(DeleteMenu(menu, 500, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(GetMenuItemID(menu, 3), 40001u);

  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_FALSE(IsMenu(subMenu)) << "destroyed with its menu";
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  menu = nullptr;
}

}  // namespace
