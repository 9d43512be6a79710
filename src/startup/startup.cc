#include "startup/startup.h"

#include <limits>

#include "startup/period_table.h"
#include "store/data_file.h"
#include "store/files.h"
#include "store/layouts.h"
#include "store/open_path.h"
#include "store/settings.h"
#include "store/status.h"
#include "text/ansi.h"
#include "text/day_number.h"
#include "text/vbstring.h"

namespace h5 {
namespace {

// The suite's installation directory, always ending in '\' ("\" alone when
// the registry value is missing).
std::string GetInstallDir() {
  std::string path = RegReadString("SOFTWARE\\SORAHATO\\ひだまり家庭帳５", "Path");
  if (RightChars(path, 1) != "\\") path += "\\";
  return path;
}

// What the scan of the start files came to.
enum class Scan { kChosen, kNoneCovers, kInactive };

struct Chosen {
  int32_t from = 0;
};

std::vector<std::string> CollectStartYears(const std::string& kakei_dir) {
  std::vector<std::string> years;
  Environment* env = Module().ports.environment;
  if (!env) return years;
  // A directory that cannot be listed counts as holding no start file.
  std::optional<std::vector<std::string>> names = env->ListFiles(ToAnsi(kakei_dir));
  if (!names) return years;
  for (const std::string& ansi_name : *names) {
    std::string yy = StartYearOfFileName(FromAnsi(ansi_name));
    if (yy.empty()) continue;
    // The count is 16-bit; a directory this full holds no account book.
    if (years.size() == static_cast<size_t>(std::numeric_limits<int16_t>::max())) break;
    years.push_back(yy);
  }
  return years;
}

// Tries the candidates in order; sets FiscalYear as it goes.
Scan ScanStartFiles(const std::vector<std::string>& years, int32_t today, Chosen* chosen) {
  ModuleData& m = Module();
  int repeats = 0;  // shared by all candidates
  for (const std::string& year : years) {
    m.FiscalYear = year;
    if (!OpenPastInactive(OpenStart, repeats)) return Scan::kInactive;
    if (m.BtrStatus != 0) {
      m.FileState[kSlotStart] = kFileClosed;  // so the next candidate opens afresh
      continue;
    }
    m.start.key_buffer.fill(0);
    m.start.key_number = 0;
    ReadFirstStart();
    int16_t read_status = m.BtrStatus;
    StartRecordView record(m.start.record);
    int32_t y = record.Year(), mo = record.Month(), d = record.Day();
    CloseStart();
    if (read_status != 0) continue;
    int32_t from = DayNumber(y, mo, d);
    int32_t to = DayNumber(y + 1, mo, d) - 1;
    if (from <= today && today <= to) {
      chosen->from = from;
      return Scan::kChosen;
    }
  }
  return Scan::kNoneCovers;
}

}  // namespace

std::string StartYearOfFileName(const std::string& name) {
  std::string lower = LowerAscii(name);
  if (lower == "." || lower == "..") return {};
  if (FindChars(lower, "start") != 1) return {};
  if (RightChars(lower, 3) != "dat") return {};
  std::string yy = MidChars(lower, 6, 2);
  if (yy < "00" || yy > "99") return {};
  return yy;
}

void OrderStartYears(std::vector<std::string>& years) {
  for (std::string& yy : years) yy.insert(0, yy >= "90" && yy <= "99" ? "19" : "20");
  for (size_t i = 0; i + 1 < years.size(); ++i) {
    if (years[i + 1] > years[i]) std::swap(years[i], years[i + 1]);
  }
}

void Main() {
  ModuleData& m = Module();
  m.InstallDir = GetInstallDir();
  std::string dirname_ini = m.InstallDir + "DirName.ini";
  std::string datapath = IniGetString("DirName", "datapath", "HdmData5", 256, dirname_ini);
  m.DataDir = LeftChars(m.InstallDir, 3) + datapath + "\\";
  std::string kakei_path = IniGetString("DirName", "kakeiPath", "kakeibo", 256, dirname_ini);
  m.KakeiSubDir = kakei_path + "\\";
  SetOwnerName(m.OwnerName, kBookOwnerName);
  // A number beyond 16 bits names no account book: it is kept whole, so the
  // directory is simply not found and the invitation is shown.
  int32_t book = IniGetInt("賞味期限", "家計簿", 1, m.DataDir + m.KakeiSubDir + "Kakei.ini");
  m.KakeiDir = m.DataDir + m.KakeiSubDir + "kakeibo" + DecimalText(book) + "\\";

  std::vector<std::string> years = CollectStartYears(m.KakeiDir);
  if (years.empty()) {
    m.PresetLevel = "7";
    return;
  }
  OrderStartYears(years);
  Environment* env = m.ports.environment;
  int32_t today = env ? DayNumberOf(env->Today()) : 0;

  Chosen chosen;
  switch (ScanStartFiles(years, today, &chosen)) {
    case Scan::kInactive:
      ShowInactiveOpenFailure("開始");
      m.PresetLevel = "7";
      m.FiscalYear.clear();
      return;
    case Scan::kNoneCovers:
      m.FiscalYear.clear();
      m.PresetLevel = "6";
      return;
    case Scan::kChosen:
      LoadPeriodTable(m.PeriodTable);
      FixPeriodTable(chosen.from, m.PeriodTable);
      m.CurrentMonth = FindCurrentMonth(m.PeriodTable, today);
      return;
  }
}

}  // namespace h5
