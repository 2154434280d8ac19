#include "ui/Application.h"

#include "ui/Forms.h"
#include "ui/Exception.h"
#include "ui/Numbers.h"

#include <commctrl.h>

#include <new>

TApplication::TApplication() : TComponent(nullptr) {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  name = name.substr(name.find_last_of(L"\\/") + 1);
  title_ = name.substr(0, name.rfind(L'.'));
}

TApplication& Application() {
  static TApplication application;
  return application;
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
}

void TApplication::Run() {
  terminated_ = false;
  if (mainForm_) mainForm_->Show();
  MSG msg;
  while (!terminated_) {
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    ProcessMessage(msg);
  }
}

void TApplication::Terminate() {
  // Terminated turns true when the loop takes the quit message, so it is never left queued.
  ::PostQuitMessage(0);
}

namespace {

// The control a window belongs to: the window itself or the nearest of its parents.
TWinControl* ControlOf(HWND window) {
  for (; window; window = ::GetParent(window))
    if (TWinControl* c = TWinControl::FromHandle(window)) return c;
  return nullptr;
}

} // namespace

void TApplication::ProcessMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN &&
      (msg.wParam == VK_TAB || msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
    TWinControl* target = ControlOf(msg.hwnd);
    if (target) {
      UINT code = static_cast<UINT>(
          ::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
      TWinControl* focused = ControlOf(::GetFocus());
      if (!focused) focused = target;
      TShiftState shift = TWinControl::KeyboardShiftState();
      bool taken = false;
      try {
        if (msg.wParam == VK_TAB) {
          if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) && !shift.Contains(ssCtrl) &&
              !shift.Contains(ssAlt)) {
            focused->TopLevel()->SelectNext(focused, !shift.Contains(ssShift), true);
            taken = true;
          }
        } else if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
          WORD key = static_cast<WORD>(msg.wParam);
          taken =
              focused->DialogKey(key, shift) || focused->TopLevel()->BroadcastDialogKey(key, shift);
        }
      } catch (...) {
        HandleException(focused);
        taken = true;
      }
      if (taken) return;
    }
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void TApplication::HandleException(TObject* sender) {
  if (!std::current_exception()) return;
  try {
    try {
      throw;
    } catch (const std::exception& e) {
      if (OnException)
        OnException(sender, e);
      else
        ShowException(e);
    } catch (...) {
      Exception unknown("Unknown exception");
      if (OnException)
        OnException(sender, unknown);
      else
        ShowException(unknown);
    }
  } catch (...) {
    // Reporting failed too; there is nobody left to tell.
  }
}

void TApplication::ShowException(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e)) {
    MessageBox(L"Not enough memory: the last action could not finish.", title_,
               MB_OK | MB_ICONERROR);
    return;
  }
  std::wstring text = AnsiToWide(e.what());
  if (!text.empty() && text.back() > L'.') text += L'.';
  MessageBox(text, title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
  const std::wstring& shown = caption.empty() ? title_ : caption;
  if (MessageHook) return MessageHook(text, shown, flags);
  return ::MessageBoxW(::GetActiveWindow(), text.c_str(), shown.c_str(), flags);
}
