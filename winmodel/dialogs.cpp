// The dialog manager: modal dialogs from registered templates, check boxes and edits.
#include "model_state.h"

#include <cstdio>

using winmodel::ControlKind;
using winmodel::state;

static const char DIALOG_CLASS[] = "#32770";
// A real modal loop waits for its user for ever; the model's gives up after this many idle
// turns without EndDialog, so a test that forgot to close its dialog fails instead of hanging.
static const int IDLE_TURNS_LIMIT = 100;

static LRESULT CALLBACK buttonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case BM_GETCHECK:
      return button->checkState;
    case BM_SETCHECK:
      if (button->kind == ControlKind::AutoCheckBox) button->checkState = (UINT)wParam;
      return 0;
    case BM_CLICK:
      if (button->kind == ControlKind::AutoCheckBox) {
        button->checkState = button->checkState == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      }
      SendMessageA(button->parent, WM_COMMAND, MAKEWPARAM(button->id, BN_CLICKED), (LPARAM)button);
      return 0;
    default:
      return DefWindowProcA(button, message, wParam, lParam);
  }
}

// The dialog class's procedure: the dialog procedure first, the defaults when it returns FALSE.
static LRESULT CALLBACK dialogClassProcedure(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (dialog->dialogProcedure != nullptr &&
      dialog->dialogProcedure(dialog, message, wParam, lParam) != FALSE) {
    return TRUE;
  }
  if (message == WM_CLOSE) {
    // As Windows does: the close box becomes a click on Cancel, delivered by the modal loop.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, IDCANCEL));
    return 0;
  }
  return message == WM_SYSCOMMAND ? DefWindowProcA(dialog, message, wParam, lParam) : 0;
}

void winmodel::registerBuiltInClasses(State& fresh) {
  fresh.classes["button"] = {buttonProcedure, false};
  fresh.classes["edit"] = {DefWindowProcA, false};
  fresh.classes["static"] = {DefWindowProcA, false};
  fresh.classes[DIALOG_CLASS] = {dialogClassProcedure, false};
}

void winmodel::defineDialog(HMODULE module, int templateId, std::vector<DialogControl> controls) {
  state().dialogs[{module, templateId}] = std::move(controls);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam) {
  auto found = state().dialogs.find({instance, (int)(UINT_PTR)templateName});
  if (found == state().dialogs.end()) {
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return -1;
  }
  HWND dialog = winmodel::createWindow(DIALOG_CLASS, L"", nullptr, 0);
  dialog->dialogProcedure = dialogProc;
  for (const auto& control : found->second) {
    const char* className = control.kind == ControlKind::Edit     ? "Edit"
                            : control.kind == ControlKind::Static ? "Static"
                                                                  : "Button";
    winmodel::createWindow(className, L"", dialog, control.id)->kind = control.kind;
  }
  HWND firstControl = dialog->children.empty() ? nullptr : dialog->children.front();
  dialogProc(dialog, WM_INITDIALOG, (WPARAM)firstControl, initParam);
  for (int turn = 0; !dialog->dialogEnded; ++turn) {
    winmodel::deliverPosted();
    if (dialog->dialogEnded) break;
    if (turn == IDLE_TURNS_LIMIT) {
      std::fprintf(stderr, "model: a modal dialog was left open; closing it\n");
      dialog->dialogResult = -1;
      break;
    }
    if (owner != nullptr) SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)dialog);
  }
  INT_PTR result = dialog->dialogResult;
  DestroyWindow(dialog);
  return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  if (!winmodel::isLiveWindow(dialog) || dialog->dialogProcedure == nullptr) return FALSE;
  dialog->dialogEnded = true;
  dialog->dialogResult = result;
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  if (!winmodel::isLiveWindow(dialog)) return nullptr;
  for (HWND child : dialog->children) {
    if (child->id == id && child->alive) return child;
  }
  return nullptr;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr) SendMessageA(button, BM_SETCHECK, check, 0);
  return button != nullptr;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  return (UINT)SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0);
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control != nullptr && SendMessageA(control, WM_SETTEXT, 0, (LPARAM)text) != 0;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int capacity) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) {
    if (capacity > 0) text[0] = '\0';
    return 0;
  }
  return (UINT)SendMessageA(control, WM_GETTEXT, (WPARAM)capacity, (LPARAM)text);
}
