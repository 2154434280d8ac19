#pragma once
#include "ui/Classes.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

class TForm;
class TWinControl;

// The application: the message loop, the main window, and the standard error box for an
// exception that no routine caught.
class TApplication : public TComponent {
public:
  TApplication();

  // Registers the common controls; call once before any window.
  void Initialize();
  // Caption of the error box and of message boxes without one; the program file's name
  // without its extension until set.
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title) { title_ = title; }

  // Closing (destroying the window of) the main form ends Run.
  TForm* MainForm() const { return mainForm_; }
  void SetMainForm(TForm* form) { mainForm_ = form; }

  // Shows the main form and runs the message loop until the main form closes or Terminate.
  void Run();
  // Runs every message that is pending now, then returns (also after Terminate).
  void ProcessMessages();
  // Ends Run: posts the quit message; Terminated turns true when a loop takes it.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Runs one message: the keyboard interface (Tab, dialog keys) first, then dispatch.
  void ProcessMessage(MSG& msg);

  // Call inside a catch block: reports the exception in flight through OnException, or in the
  // standard error box. An exception while reporting is swallowed, so that this never throws.
  void HandleException(TObject* sender);
  // The standard error box: MessageBoxW with the text (a full stop added when it ends in a
  // letter, digit or quote), MB_ICONERROR, caption Title.
  void ShowException(const std::exception& e);
  // Replaces the error box for exceptions that reach HandleException.
  std::function<void(TObject* Sender, const std::exception& E)> OnException;
  // Test seam: when set, receives what the error box and MessageBox would show and answers
  // for the user (MessageBox returns it; the error box ignores it).
  std::function<int(const std::wstring& text, const std::wstring& caption, UINT flags)> MessageHook;

  // A modal message box owned by the active window; caption empty means Title.
  int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);

private:
  std::wstring title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

TApplication& Application();
