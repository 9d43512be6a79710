// Open, Close, the position block and the open-file limit.
#include <cstring>
#include <random>

#include "engine_fixture.h"
#include "platform/kakeidb/btrieve_options.h"
#include "text/ansi.h"

namespace h5::testing {
namespace {

class OpenCloseTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Write("suitou02.dat", CashBookDefinition(), {CashRecord(37000, 100), CashRecord(37001, 200)});
  }
};

TEST_F(OpenCloseTest, OpenReadClose) {
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 1);
  ASSERT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(block.Delivered(), CashRecord(37000, 100));
  EXPECT_EQ(Close(*engine_, block), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 0);
  EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrFileNotOpen);
  EXPECT_EQ(Close(*engine_, block), kBtrFileNotOpen);
}

struct OpenCase {
  const char* name;
  std::string path;   // as written into the key buffer, then blank-padded
  std::string owner;  // the data buffer, with its zero byte
  int16_t mode;
  int16_t status;
};

TEST_F(OpenCloseTest, OpenStatuses) {
  // Odd things at the places some cases name.
  WriteBytes(DiskPath("random.dat"), std::string(5000, '\x5a'));
  std::filesystem::create_directories(DiskPath("folder.dat"));
  WriteBytes(DiskPath("plain"), "not a directory");
  Write("noowner.dat", CashBookDefinition(""), {CashRecord(1, 1)});
  Write("long.dat", CashBookDefinition("ABCDEFGH"), {CashRecord(1, 1)});

  const std::string dir = "C:\\HdmData5\\kakeibo\\kakeibo1\\";
  const OpenCase cases[] = {
      {"normal", dir + "suitou02.dat", "ABCD", 0, kBtrOk},
      {"letters in any case", "c:\\hdmdata5\\KAKEIBO\\Kakeibo1\\SUITOU02.DAT", "ABCD", 0, kBtrOk},
      {"path ends at a blank", dir + "suitou02.dat extra", "ABCD", 0, kBtrOk},
      {"path ends at a zero byte", dir + "suitou02.dat" + std::string(1, '\0') + "x", "ABCD", 0,
       kBtrOk},
      {"accelerated mode", dir + "suitou02.dat", "ABCD", -1, kBtrOk},
      {"read-only mode", dir + "suitou02.dat", "ABCD", -2, kBtrOk},
      {"exclusive mode", dir + "suitou02.dat", "ABCD", -4, kBtrInvalidOperation},
      {"mode 1", dir + "suitou02.dat", "ABCD", 1, kBtrInvalidOperation},
      {"empty path", "", "ABCD", 0, kBtrInvalidFileName},
      {"path of a zero byte", std::string(1, '\0'), "ABCD", 0, kBtrInvalidFileName},
      {"forbidden character", dir + "suit<u02.dat", "ABCD", 0, kBtrInvalidFileName},
      {"missing file", dir + "suitou03.dat", "ABCD", 0, kBtrFileNotFound},
      {"missing directory", "C:\\HdmData5\\kakeibo\\kakeibo9\\suitou02.dat", "ABCD", 0,
       kBtrFileNotFound},
      {"missing drive folder", "Q:\\suitou02.dat", "ABCD", 0, kBtrFileNotFound},
      {"file as directory", dir + "plain\\suitou02.dat", "ABCD", 0, kBtrFileNotFound},
      {"a directory", dir + "folder.dat", "ABCD", 0, kBtrAccessDenied},
      {"not a data file", dir + "random.dat", "ABCD", 0, kBtrIoError},
      {"wrong owner", dir + "suitou02.dat", "ABCE", 0, kBtrOwnerNameWrong},
      {"owner in other case", dir + "suitou02.dat", "abcd", 0, kBtrOwnerNameWrong},
      {"no owner given", dir + "suitou02.dat", "", 0, kBtrOwnerNameWrong},
      {"owner longer", dir + "suitou02.dat", "ABCDE", 0, kBtrOwnerNameWrong},
      {"file without owner", dir + "noowner.dat", "WXYZ", 0, kBtrOk},
      {"eight-letter owner", dir + "long.dat", "ABCDEFGH", 0, kBtrOk},
      {"eight-letter owner cut", dir + "long.dat", "ABCDEFG", 0, kBtrOwnerNameWrong},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    Block block;
    EXPECT_EQ(Open(*engine_, block, c.path, c.owner, c.mode), c.status);
    if (c.status == kBtrOk) {
      EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
      EXPECT_EQ(Close(*engine_, block), kBtrOk);
    } else {
      // A failed Open leaves nothing open and a block that names no file.
      EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrFileNotOpen);
    }
    EXPECT_EQ(engine_->open_files(), 0);
  }
}

TEST_F(OpenCloseTest, PathInAnsiBytesFindsItsFolder) {
  // The folder is stored in UTF-8 on the disk; the caller names it in CP932.
  const auto disk = root_.path() / "drive_c" / "家計簿データ" / "Kyuyo02.dat";
  WriteFile(disk, CashBookDefinition(), {CashRecord(37000, 1)});
  hashes_[disk] = FileHash(disk);
  Block block;
  EXPECT_EQ(Open(*engine_, block, "C:\\" + ToAnsi("家計簿データ") + "\\KYUYO02.DAT"), kBtrOk);
  EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, PathFillingTheWholeKeyBufferIsReadToItsEnd) {
  std::string path = "C:\\" + std::string(kKeyBufferSize - 3, 'a');
  uint8_t key[kKeyBufferSize];
  std::memcpy(key, path.data(), sizeof(key));
  uint8_t owner[5] = {'A', 'B', 'C', 'D', 0};
  int32_t length = 5;
  Block block;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, block.position, owner, &length, key, 0, 0), kBtrFileNotFound);
}

TEST_F(OpenCloseTest, OwnerNameIsReadWithinTheDataLength) {
  // "ABCD" with no zero byte, data length 4: the name ends with the buffer.
  auto owner = std::make_unique<uint8_t[]>(4);
  std::memcpy(owner.get(), "ABCD", 4);
  std::string path = WindowsPath("suitou02.dat") + std::string(60, ' ');
  std::vector<uint8_t> key(kKeyBufferSize, ' ');
  std::memcpy(key.data(), path.data(), WindowsPath("suitou02.dat").size());
  int32_t length = 4;
  Block block;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, block.position, owner.get(), &length, key.data(), 0, 0),
            kBtrOk);
  length = 3;  // "ABC"
  Block other;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, other.position, owner.get(), &length, key.data(), 0, 0),
            kBtrOwnerNameWrong);
}

TEST_F(OpenCloseTest, NullArgumentsGiveStatuses) {
  uint8_t owner[5] = {'A', 'B', 'C', 'D', 0};
  int32_t length = 5;
  Block block;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, nullptr, owner, &length, block.key, 0, 0), kBtrFileNotOpen);
  EXPECT_EQ(engine_->BTRV(kBtrOpen, block.position, owner, &length, nullptr, 0, 0),
            kBtrInvalidFileName);
  EXPECT_EQ(engine_->BTRV(kBtrGetFirst, nullptr, block.data.data(), &length, block.key, 0, 0),
            kBtrFileNotOpen);
  EXPECT_EQ(engine_->BTRV(kBtrClose, nullptr, nullptr, nullptr, nullptr, 0, 0), kBtrFileNotOpen);
}

TEST_F(OpenCloseTest, OtherOperationsAreInvalid) {
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  for (int16_t operation : {2, 3, 4, 7, 8, 10, 11, 13, 24, 55, 59, -1, 1000}) {
    SCOPED_TRACE(operation);
    EXPECT_EQ(Read(*engine_, block, operation, 0), kBtrInvalidOperation);
  }
  // The file is still open and usable.
  EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, PositionBlocksThatNameNoOpenFile) {
  Block open;
  ASSERT_EQ(OpenFile(open, "suitou02.dat"), kBtrOk);

  Block zeroed;
  Block garbage;
  std::mt19937 random(7);
  for (uint8_t& byte : garbage.position) byte = static_cast<uint8_t>(random());
  Block copy_of_marker;  // the marker, a slot that is open, but no generation
  std::memcpy(copy_of_marker.position, open.position, 8);
  Block stale;
  {
    Block closed;
    ASSERT_EQ(OpenFile(closed, "suitou02.dat"), kBtrOk);
    std::memcpy(stale.position, closed.position, sizeof(closed.position));
    ASSERT_EQ(Close(*engine_, closed), kBtrOk);
    // The slot is used again by another opening.
    Block reuse;
    ASSERT_EQ(OpenFile(reuse, "suitou02.dat"), kBtrOk);
  }
  for (Block* block : {&zeroed, &garbage, &copy_of_marker, &stale}) {
    for (int16_t operation : {kBtrGetFirst, kBtrGetNext, kBtrGetEqual, kBtrGetGreaterOrEqual}) {
      EXPECT_EQ(Read(*engine_, *block, operation, 0), kBtrFileNotOpen);
    }
    EXPECT_EQ(Close(*engine_, *block), kBtrFileNotOpen);
  }
  EXPECT_EQ(engine_->open_files(), 2);
  EXPECT_EQ(Read(*engine_, open, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, BlockOfAnotherEngineIsNotOpen) {
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  std::unique_ptr<KakeiDb> other = OpenKakeiDb(root_.path(), env_);
  EXPECT_EQ(Read(*other, block, kBtrGetFirst, 0), kBtrFileNotOpen);
  EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, CloseZeroesTheBlock) {
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(Close(*engine_, block), kBtrOk);
  for (uint8_t byte : block.position) ASSERT_EQ(byte, 0);
}

TEST_F(OpenCloseTest, OpenOnAnOpenBlockClosesTheFileItNamed) {
  Block block;
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  Block copy;
  std::memcpy(copy.position, block.position, sizeof(block.position));
  ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 1);
  EXPECT_EQ(Read(*engine_, copy, kBtrGetFirst, 0), kBtrFileNotOpen);
  // Also when the new Open fails.
  EXPECT_EQ(OpenFile(block, "missing.dat"), kBtrFileNotFound);
  EXPECT_EQ(engine_->open_files(), 0);
}

TEST_F(OpenCloseTest, TwoHandlesOnOneFileMoveIndependently) {
  Block a;
  Block b;
  ASSERT_EQ(OpenFile(a, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(OpenFile(b, "suitou02.dat"), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 2);
  ASSERT_EQ(Read(*engine_, a, kBtrGetFirst, 0), kBtrOk);
  b.SetKey32(37001);
  ASSERT_EQ(Read(*engine_, b, kBtrGetEqual, 0), kBtrOk);
  EXPECT_EQ(Read(*engine_, b, kBtrGetNext, 0), kBtrEndOfFile);
  ASSERT_EQ(Read(*engine_, a, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(CashDate(a), 37001);
  ASSERT_EQ(Close(*engine_, a), kBtrOk);
  EXPECT_EQ(Read(*engine_, b, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, OpenFileLimitFromWinIni) {
  env_.SetWinIni("Btrieve", "OPTIONS", "/m:32 /p:1024 /f:2 /l:40");
  StartEngine();
  EXPECT_EQ(engine_->open_file_limit(), 2);
  Block a;
  Block b;
  Block c;
  ASSERT_EQ(OpenFile(a, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(OpenFile(b, "suitou02.dat"), kBtrOk);
  EXPECT_EQ(OpenFile(c, "suitou02.dat"), kBtrTooManyFiles);
  EXPECT_EQ(Read(*engine_, c, kBtrGetFirst, 0), kBtrFileNotOpen);
  EXPECT_EQ(engine_->open_files(), 2);
  // A missing file is still reported as missing.
  EXPECT_EQ(OpenFile(c, "missing.dat"), kBtrFileNotFound);
  ASSERT_EQ(Close(*engine_, a), kBtrOk);
  EXPECT_EQ(OpenFile(c, "suitou02.dat"), kBtrOk);
}

TEST_F(OpenCloseTest, OpenFileLimitDefaultsToTwenty) {
  EXPECT_EQ(engine_->open_file_limit(), 20);
  std::vector<Block> blocks(21);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(OpenFile(blocks[i], "suitou02.dat"), kBtrOk) << i;
  EXPECT_EQ(OpenFile(blocks[20], "suitou02.dat"), kBtrTooManyFiles);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Close(*engine_, blocks[i]), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 0);
}

struct OptionsCase {
  const char* options;
  int limit;
};

TEST(BtrieveOptionsTest, OpenFileLimit) {
  const OptionsCase cases[] = {
      {"", 20},
      {"/f:50", 50},
      {"/F:7", 7},
      {"/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12", 50},
      {"  /m:32\t/f:3\t", 3},
      {"/f:5 /f:9", 9},
      {"/f:", 20},
      {"/f:abc", 20},
      {"/f:12x", 20},
      {"/f:0", 20},
      {"/f:-5", 20},
      {"/f:+5", 20},
      {"/f:65535", 65535},
      {"/f:65536", 20},
      {"/f:99999999999999", 20},
      {"x/f:5", 20},
      {"/f 5", 20},
      {"/f:5,/l:40", 20},
      {"/m:32", 20},
  };
  for (const OptionsCase& c : cases) {
    EXPECT_EQ(OpenFileLimitFromOptions(c.options), c.limit) << '"' << c.options << '"';
  }
}

}  // namespace
}  // namespace h5::testing
