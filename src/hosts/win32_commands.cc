// The machine-dependent commands on Windows, where the machine is the one
// the program runs on: no root, no Qt face.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "hosts/machine_commands.h"
#include "platform/root/local_date.h"
#include "platform/win32/win32_environment.h"
#include "platform/win32/win32_screen.h"
#include "text/ansi.h"
#include "tools/book_tool.h"

namespace h5 {
namespace {

namespace fs = std::filesystem;

// A command-line argument: ANSI bytes on Windows.
fs::path ArgumentPath(const std::string& argument) {
  const std::string utf8 = FromAnsi(argument);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Moves the demo's two top folders out of the root written in staging into
// folder, and points DirName.ini at the data folder's place: DataDir is the
// install folder's drive followed by "datapath".
bool PlaceSample(const fs::path& staging, const fs::path& folder, std::string* error) {
  std::error_code ec;
  for (const char* name : {"Hidamari5", "HdmData5"}) {
    if (fs::exists(folder / name, ec)) {
      *error = Utf8(folder / name) + " already exists; give an empty folder";
      return false;
    }
  }
  for (const char* name : {"Hidamari5", "HdmData5"}) {
    fs::rename(staging / "drive_c" / name, folder / name, ec);
    if (ec) {
      *error = "cannot move the demo into " + Utf8(folder) + ": " + ec.message();
      return false;
    }
  }
  // The Linux stand-in of the menu program does not run here.
  fs::remove(folder / "Hidamari5" / "HdmMenu5.exe", ec);
  const std::string data_path = Utf8((folder / "HdmData5").relative_path());
  std::ofstream ini(folder / "Hidamari5" / "DirName.ini", std::ios::binary | std::ios::trunc);
  ini << ToAnsi("[DirName]\r\ndatapath=" + data_path + "\r\nkakeiPath=kakeibo\r\n");
  if (!ini.flush()) {
    *error = "cannot write " + Utf8(folder / "Hidamari5" / "DirName.ini");
    return false;
  }
  return true;
}

constexpr char kSuiteKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５";
constexpr char kBtrieveOptions[] = "/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12";

// Points the suite at the demo: the registry value and the record manager's
// WIN.INI options, as its installer would set them.
bool InstallSettings(const std::string& install, std::string* error) {
  const std::string subkey = ToAnsi(std::string(kSuiteKey).substr(sizeof("HKEY_LOCAL_MACHINE")));
  const std::string value = ToAnsi(install);
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
  if (rc == ERROR_SUCCESS) {
    rc = RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }
  if (rc != ERROR_SUCCESS) {
    *error =
        "cannot set the registry value (error " + std::to_string(rc) + "; run as an administrator)";
    return false;
  }
  if (!Win32Environment().WriteWinIniString("Btrieve", "OPTIONS", kBtrieveOptions)) {
    *error = "cannot write WIN.INI";
    return false;
  }
  return true;
}

}  // namespace

void UseBinaryOutput() { _setmode(_fileno(stdout), _O_BINARY); }

float ScreenTwipsPerPixel() { return Win32Screen().TwipsPerPixelX(); }

bool CheckMachine(const CliOptions& options, std::string* error) {
  if (options.root_given) {
    *error = "--root is not used on Windows: the tile reads this machine";
    return false;
  }
  return true;
}

int RunRenderCommand(const CliOptions& /*options*/, const std::vector<std::string>& /*args*/) {
  return Fail("render needs the Qt face of the tile, which the Windows build does not have");
}

int RunBook(const CliOptions& /*options*/) {
  return Fail("book build writes an environment root for the Linux build; on Windows use sample");
}

int RunSample(const CliOptions& options) {
  std::string error;
  if (!CheckMachine(options, &error)) return Fail(error);
  if (options.positionals.size() != 1) {
    return Fail("usage: h5kakei sample FOLDER [--today YYYY-MM-DD] [--install]");
  }
  std::error_code ec;
  const fs::path folder = fs::absolute(ArgumentPath(options.positionals[0]), ec);
  if (ec || !folder.has_root_name()) return Fail("sample needs a folder on a drive");
  fs::create_directories(folder, ec);
  const fs::path staging = folder / ".h5kakei-sample";
  fs::remove_all(staging, ec);
  std::chrono::year_month_day today = options.session.today ? *options.session.today : LocalDate();
  bool ok = BuildSampleRoot(staging, today, &error) && PlaceSample(staging, folder, &error);
  fs::remove_all(staging, ec);
  if (!ok) return Fail(error);

  const std::string install = Utf8(folder / "Hidamari5");
  std::cout << "wrote a demo account book to " << Utf8(folder) << "\n";
  if (options.install) {
    if (!InstallSettings(install, &error)) return Fail(error);
    std::cout << "set:\n";
  } else {
    std::cout << "nothing else was changed; to point the suite at it (or give --install), set:\n";
  }
  std::cout << "  registry " << kSuiteKey << " (32-bit view): \"Path\" = \"" << install << "\"\n"
            << "  WIN.INI [Btrieve] OPTIONS=" << kBtrieveOptions << "\n"
            << "not set: the cookie of file:///" << install
            << "\\timer\\bottom0.html (none: the kitchen timer is not running)\n";
  return 0;
}

}  // namespace h5
