#include <windows.h>
#include <commctrl.h>

#include "app/batch_mode.h"
#include "app/icon_source.h"
#include "app/form_kelmar.h"
#include "framework/application.h"
#include "framework/wide.h"
#include "framework/system_library.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  using namespace kelmar;
  // Listing and saving from the command line need no window (nor the
  // shell's component services); files alone open the window.
  const BatchOptions options = ParseBatchOptions(CommandArguments(GetCommandLineW()));
  if (options.command != BatchCommand::kWindow) return RunBatch(options);
  // The shell's component services are joined when first needed
  // (JoinComponentServices), not at every start.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  Application().SetTitle(L"Kelmar");
  try {
    TFormKelmar* form = Application().CreateForm<TFormKelmar>();
    form->Show();
    // Files handed over by the shell come in as a drop would.
    if (!options.paths.empty()) {
      std::vector<std::wstring> files;
      for (const std::u16string& path : options.paths) files.push_back(FullPath(Wide(path)));
      form->TakeInGivenFiles(files);
    }
  } catch (...) {
    // Nothing to run without the main window: say why and end.
    Application().HandleCurrentException();
    LeaveComponentServices();
    return 1;
  }
  // Every message's exceptions end in the error box inside the loop.
  Application().Run();

  LeaveComponentServices();
  return 0;
}
