#include <filesystem>

#include "model/harness/test_platform.h"
#include "ui/resource_ids.h"
#include "windows_model.h"

namespace testplatform {

static HINSTANCE module;

// Dialog 101 as the resource compiler stores it: the controls that have ids, by kind.
static void defineSettingsDialog() {
  using winmodel::ControlKind;
  winmodel::defineDialog(module, IDD_SETTINGS,
                         {{IDOK, ControlKind::PushButton},
                          {IDC_DISABLE_PLUGIN, ControlKind::AutoCheckBox},
                          {IDC_DISABLE_STARTUP, ControlKind::AutoCheckBox},
                          {IDC_AUTO_LOGIN, ControlKind::AutoCheckBox},
                          {IDC_USERNAME, ControlKind::Edit},
                          {IDC_PASSWORD, ControlKind::Edit},
                          {IDCANCEL, ControlKind::PushButton},
                          {IDC_DISABLE_AUTOOPEN, ControlKind::AutoCheckBox}});
}

bool setUp(const std::string& folder) {
  winmodel::reset();
  winmodel::setDriveRoot(folder);
  winmodel::setExecutablePath("C:\\Winamp\\winamp.exe");
  module = winmodel::addModule("C:\\Winamp\\Plugins\\gen_tunelore.dll");
  defineSettingsDialog();
  std::error_code failure;
  std::filesystem::create_directories(winmodel::hostPath("C:\\Winamp\\Plugins"), failure);
  return !failure;
}

void tearDown() {}
HINSTANCE pluginModule() { return module; }
std::string pluginFileName() { return "gen_tunelore.dll"; }
bool canObservePinning() { return true; }
bool pluginModulePinned() { return winmodel::isPinned(module); }
std::string settingsFile() { return "C:\\Winamp\\Plugins\\gen_tunelore.ini"; }
std::string settingsFileOnDisk() { return winmodel::hostPath(settingsFile().c_str()); }

std::string settingsFolder() {
  const char folder[] = "C:\\Users\\someone\\AppData\\Roaming\\Winamp";
  std::filesystem::create_directories(winmodel::hostPath(folder));
  return folder;
}

std::string onDisk(const std::string& windowsPath) {
  return winmodel::hostPath(windowsPath.c_str());
}

}  // namespace testplatform
