// Saving from the command line against the window, on the same 1000 icons:
// a folder of 13 libraries (5 copies of shell32.dll, 8 of comdlg32.dll) saved
// as icon files by `kelmar.exe --save OUT --type ico --overwrite FOLDER`,
// timed from the process's start to its end, next to the window's intake of
// the same 13 files (a drop on the real form) plus its Save all. Both write
// the same 1000 names with the same bytes; every run replaces the files of
// the first one, and is checked to have done so.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/form_kelmar.h"
#include "bench/win/harness.h"
#include "bench/win/save_services.h"
#include "framework/application.h"
#include "win/real_program.h"
#include "win/shell_files.h"

using namespace kelmar;

namespace {

std::wstring TempFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// kelmar.exe with these arguments, its output thrown away; its exit status,
// or -1 when it did not start or end within a minute.
long RunProgram(const std::wstring& args) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = nul;
  std::wstring command = L"\"" + test::ProgramPath(KELMAR_EXE) + L"\" " + args;
  PROCESS_INFORMATION process{};
  long status = -1;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code))
      status = long(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(nul);
  return status;
}

struct Way {
  const char* name;
  std::wstring folder;
  std::function<void()> run;
  std::vector<double> seconds;
  bench::NamedFiles reference;
};

}  // namespace

int main() {
  bench::StartProgram(L"Kelmar");
  // 5 x 184 + 8 x 10 = 1000 icons in 13 files of their own names, in the
  // order of their names (the order a folder is read in).
  const std::wstring sources = TempFolder(L"kelmar-bench-batch-sources");
  std::vector<std::wstring> files;
  for (int i = 1; i <= 13; ++i) {
    const std::wstring number = (i < 10 ? L"0" : L"") + std::to_wstring(i);
    const std::wstring file = sources + L"\\" + number + (i <= 5 ? L"_shell32.dll" : L"_comdlg32.dll");
    bench::Require(CopyFileW(test::SystemFile(i <= 5 ? L"shell32.dll" : L"comdlg32.dll").c_str(), file.c_str(), FALSE),
                   "the 13 libraries copied into one folder");
    files.push_back(file);
  }

  bench::BenchServices services;
  services.folder = TempFolder(L"kelmar-bench-batch-window");
  auto* form = Application().CreateForm<TFormKelmar>(nullptr, &services);
  form->Show();
  bench::PumpMessages();

  // After the first runs every save replaces files of the same names.
  bool replacing = false;
  Way ways[] = {
      {"window: drop + Save all", services.folder,
       [&] {
         const int questions = services.replace_questions;
         // Each drop starts from an empty list, as a new window would.
         form->ListView1->Clear();
         form->LargeImage->Clear();
         form->SmallImage->Clear();
         test::DropFiles(form->Handle(), files);
         bench::PumpMessages();
         bench::Require(form->ListView1->Count() == 1000, "the drop filled the list with 1000 icons");
         form->BTNSaveAllClick();
         bench::Require(services.replace_questions == questions + replacing,
                        "the question to replace the files, answered Yes");
       },
       {}, {}},
      {"kelmar.exe --save --type ico", TempFolder(L"kelmar-bench-batch-cli"), {}, {}, {}},
  };
  const std::wstring cli_args = L"--save \"" + ways[1].folder + L"\" --type ico --overwrite \"" + sources + L"\"";
  ways[1].run = [&] { bench::Require(RunProgram(cli_args) == 0, "kelmar.exe --save ended with status 0"); };

  // The first runs make the files every timed run replaces (into emptied
  // folders: no question then); both ways write the same names and bytes.
  for (Way& way : ways) {
    for (const auto& file : bench::ReadFilesIn(way.folder, L".ico")) DeleteFileW(file.first.c_str());
    way.run();
    way.reference = bench::ReadFilesIn(way.folder, L".ico");
    bench::Require(way.reference.size() == 1000, "1000 icon files from the first run");
  }
  for (size_t i = 0; i < 1000; ++i) {
    const auto& a = ways[0].reference[i];
    const auto& b = ways[1].reference[i];
    bench::Require(a.first.substr(a.first.find_last_of(L'\\')) == b.first.substr(b.first.find_last_of(L'\\')) &&
                       a.second == b.second,
                   "the same names and bytes from the window and from the command line");
  }

  replacing = true;
  // Rounds, each starting with the other way (both see the same load); every
  // run from settled files, checked to have rewritten all 1000.
  constexpr int kRounds = 8;
  for (int round = 0; round < kRounds; ++round)
    for (int k = 0; k < 2; ++k) {
      Way& way = ways[(round + k) % 2];
      bench::SettleAndAge(way.reference);
      way.seconds.push_back(bench::Time(way.run));
      bench::Require(bench::RewroteAll(way.folder, L".ico", way.reference), "all 1000 files rewritten with the same bytes");
    }
  std::printf("1000 icons from 13 files as icon files, %llu bytes, %d runs each, each run checked\n",
              static_cast<unsigned long long>(bench::TotalBytes(ways[0].reference)), kRounds);
  for (const Way& way : ways) bench::Report(way.name, bench::Summarise(way.seconds), 1000, "icons");
  std::vector<double> rounds;
  for (int r = 0; r < kRounds; ++r) rounds.push_back(ways[1].seconds[size_t(r)] / ways[0].seconds[size_t(r)]);
  const bench::Timing per_round = bench::Summarise(rounds);
  std::printf("ratio command line / window: %.2f (medians); per round: median %.2f (%.2f .. %.2f)\n",
              bench::Summarise(ways[1].seconds).median / bench::Summarise(ways[0].seconds).median, per_round.median,
              per_round.fastest, per_round.slowest);

  delete form;
  OleUninitialize();
  return 0;
}
