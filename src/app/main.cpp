#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/command_line.h"
#include "app/form_kelmar.h"
#include "framework/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  using namespace kelmar;
  // The folder browser needs the shell's component services.
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  Application().SetTitle(L"Kelmar");
  try {
    TFormKelmar* form = Application().CreateForm<TFormKelmar>();
    form->Show();
    // Files handed over by the shell come in as a drop would.
    if (const TCommandLine given = ParseCommandLine(GetCommandLineW()); !given.files.empty())
      form->TakeInGivenFiles(given.files);
  } catch (...) {
    // Nothing to run without the main window: say why and end.
    Application().HandleCurrentException();
    OleUninitialize();
    return 1;
  }
  // Every message's exceptions end in the error box inside the loop.
  Application().Run();

  OleUninitialize();
  return 0;
}
