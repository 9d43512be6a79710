#include "book.h"

#include "startup/startup.h"
#include "store/module.h"
#include "tools/book_tool.h"

namespace h5 {

void AddData(nlohmann::json& book, const std::string& name, const std::string& layout,
             nlohmann::json records) {
  book["data"][std::string(kBook) + name] = {{"layout", layout}, {"records", records}};
}

void FakeTest::Bind(float twips, std::map<std::string, int16_t> open_status) {
  screen_ = FakeScreen(twips);
  opens_.clear();
  records_.SetHandler([this, open_status](const BtrCall& call, std::span<uint8_t>,
                                          int32_t*) -> std::optional<int16_t> {
    if (call.operation != kBtrOpen) return std::nullopt;
    std::string name = call.path.substr(call.path.rfind('\\') + 1);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ++opens_[name];
    auto it = open_status.find(name);
    return it == open_status.end() ? std::nullopt : std::optional<int16_t>(it->second);
  });
  ResetModule(Ports{&env_, &records_, &dialogs_, &shell_, &cookies_, &screen_});
  ModuleData& m = Module();
  m.InstallDir = "C:\\Hidamari5\\";
  m.KakeiDir = kBook;
  m.FiscalYear = "2002";
  m.CurrentMonth = 1;
  m.PeriodTable[1] = {2002, 4, 37347, 37376};
}

int FakeTest::OpenFiles() {
  int open = records_.open_files();
  for (int slot = 1; slot <= 34; ++slot) open += Module().FileState[slot] != 0;
  return open;
}

BookTest::~BookTest() {
  control_.reset();
  ResetModule(Ports{});
}

void BookTest::Build(const nlohmann::json& book) {
  std::filesystem::remove_all(root_);
  std::string error;
  ASSERT_TRUE(BuildBook(book, root_, &error)) << error;
}

void BookTest::StartUp(int year, int month, int day) {
  control_.reset();
  env_ = std::make_unique<RootEnvironment>(root_);
  env_->SetToday(std::chrono::year{year} / month / day);
  records_ = OpenKakeiDb(WindowsPathResolver(root_), *env_);
  ResetModule(Ports{env_.get(), records_.get(), &dialogs_, &shell_, nullptr, &screen_});
  Main();
}

FrmKakei& BookTest::Diagnose() {
  surface_ = RecordingSurface{};
  control_ = std::make_unique<FrmKakei>(surface_);
  return *control_;
}

}  // namespace h5
