#include "main/MainForm.h"
#include "main/Win32Services.h"
#include "ui/Application.h"

#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  TApplication& application = Application();
  application.Initialize();
  application.SetTitle(L"Varnox");
  TWin32Services services;
  try {
    auto form = std::make_unique<TForm1>(nullptr, services);
    // A restart with administrator rights brings the kinds the user had ticked.
    form->ApplyCommandLine(commandLine ? commandLine : L"");
    application.SetMainForm(form.get());
    application.Run();
    application.SetMainForm(nullptr);
  } catch (const std::exception&) {
    // Nothing to run without the window: say why, and end.
    application.HandleException(nullptr);
    return 1;
  }
  return 0;
}
