// Open, Close, the position block and the open-file limit.
#include <chrono>
#include <random>
#include <thread>

#include "kakeidb_test.h"
#include "platform/kakeidb/btrieve_options.h"

namespace h5::testing {
namespace {

class OpenCloseTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    Write("suitou02.dat", CashBookDefinition(), {CashRecord(37000, 100), CashRecord(37001, 200)});
  }
};

TEST_F(OpenCloseTest, OpenStatuses) {
  WriteBytes(DiskPath("random.dat"), std::string(5000, '\x5a'));
  std::filesystem::create_directories(DiskPath("folder.dat"));
  WriteBytes(DiskPath("plain"), "not a directory");
  Write("noowner.dat", CashBookDefinition(""), {CashRecord(1, 1)});
  Write("long.dat", CashBookDefinition("ABCDEFGH"), {CashRecord(1, 1)});

  const std::string dir = WindowsPath("");
  const struct {
    std::string path, owner;  // blank-padded into the key buffer; with its zero byte
    int16_t mode, status;
  } cases[] = {
      {dir + "suitou02.dat", "ABCD", 0, kBtrOk},
      {dir + "suitou02.dat", "ABCD", -3, kBtrOk},
      {dir + "suitou02.dat", "ABCD", -4, kBtrInvalidOperation},
      {dir + "suitou02.dat", "ABCD", 1, kBtrInvalidOperation},
      {dir + "suitou02.dat extra", "ABCD", 0, kBtrOk},
      {dir + "suitou02.dat" + std::string(1, '\0') + "x", "ABCD", 0, kBtrOk},
      {"", "ABCD", 0, kBtrInvalidFileName},
      {std::string(1, '\0'), "ABCD", 0, kBtrInvalidFileName},
      {dir + "suit<u02.dat", "ABCD", 0, kBtrInvalidFileName},
      {dir + "suitou03.dat", "ABCD", 0, kBtrFileNotFound},
      {"C:\\HdmData5\\kakeibo\\kakeibo9\\suitou02.dat", "ABCD", 0, kBtrFileNotFound},
      {dir + "plain\\suitou02.dat", "ABCD", 0, kBtrFileNotFound},
      {"C:\\" + std::string(kKeyBufferSize - 3, 'a'), "ABCD", 0, kBtrFileNotFound},
      {dir + "folder.dat", "ABCD", 0, kBtrAccessDenied},
      {dir + "random.dat", "ABCD", 0, kBtrIoError},
      {dir + "suitou02.dat", "ABCE", 0, kBtrOwnerNameWrong},
      {dir + "suitou02.dat", "abcd", 0, kBtrOwnerNameWrong},
      {dir + "suitou02.dat", "ABCDE", 0, kBtrOwnerNameWrong},
      {dir + "noowner.dat", "WXYZ", 0, kBtrOk},
      {dir + "long.dat", "ABCDEFGH", 0, kBtrOk},
      {dir + "long.dat", "ABCDEFG", 0, kBtrOwnerNameWrong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " / " + c.owner + " / " + std::to_string(c.mode));
    Block block;
    EXPECT_EQ(Open(*engine_, block, c.path, c.owner, c.mode), c.status);
    // A failed Open leaves nothing open and a block that names no file.
    EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0),
              c.status == kBtrOk ? kBtrOk : kBtrFileNotOpen);
    if (c.status == kBtrOk) {
      EXPECT_EQ(Close(*engine_, block), kBtrOk);
    }
    EXPECT_EQ(engine_->open_files(), 0);
  }
}

TEST_F(OpenCloseTest, HostileBuffersAndBlocks) {
  // The owner "ABCD" without a zero byte, exactly data length bytes on the heap.
  auto owner = std::make_unique<uint8_t[]>(4);
  std::memcpy(owner.get(), "ABCD", 4);
  std::vector<uint8_t> key(kKeyBufferSize, ' ');
  std::memcpy(key.data(), WindowsPath("suitou02.dat").data(), WindowsPath("suitou02.dat").size());
  int32_t length = 4;
  Block a, b, c;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, a.position, owner.get(), &length, key.data(), 0, 0), kBtrOk);
  length = 3;  // "ABC"
  EXPECT_EQ(engine_->BTRV(kBtrOpen, b.position, owner.get(), &length, key.data(), 0, 0),
            kBtrOwnerNameWrong);
  length = 4;
  EXPECT_EQ(engine_->BTRV(kBtrOpen, nullptr, owner.get(), &length, key.data(), 0, 0),
            kBtrFileNotOpen);
  EXPECT_EQ(engine_->BTRV(kBtrOpen, c.position, owner.get(), &length, nullptr, 0, 0),
            kBtrInvalidFileName);
  EXPECT_EQ(engine_->BTRV(kBtrGetFirst, nullptr, c.data.data(), &length, c.key, 0, 0),
            kBtrFileNotOpen);
  EXPECT_EQ(engine_->BTRV(kBtrClose, nullptr, nullptr, nullptr, nullptr, 0, 0), kBtrFileNotOpen);
  // Operations other than the six are invalid and leave the file usable.
  for (int16_t operation : {2, 3, 4, 7, 8, 10, 11, 13, 24, 55, 59, -1, 1000}) {
    EXPECT_EQ(Read(*engine_, a, operation, 0), kBtrInvalidOperation) << operation;
  }
  EXPECT_EQ(Read(*engine_, a, kBtrGetFirst, 0), kBtrOk);
  EXPECT_EQ(engine_->open_files(), 1);
  // Position blocks that name no open file.
  Block& open = a;
  Block zeroed, garbage, marker_only, stale;
  std::mt19937 random(7);
  for (uint8_t& byte : garbage.position) byte = static_cast<uint8_t>(random());
  std::memcpy(marker_only.position, open.position, 8);  // an open slot, no generation
  {
    Block closed, reuse;
    ASSERT_EQ(OpenFile(closed, "suitou02.dat"), kBtrOk);
    std::memcpy(stale.position, closed.position, sizeof(closed.position));
    ASSERT_EQ(Close(*engine_, closed), kBtrOk);
    ASSERT_EQ(OpenFile(reuse, "suitou02.dat"), kBtrOk);  // takes the slot again
  }
  for (Block* block : {&zeroed, &garbage, &marker_only, &stale}) {
    for (int16_t operation : {kBtrGetFirst, kBtrGetNext, kBtrGetEqual, kBtrGetGreaterOrEqual}) {
      EXPECT_EQ(Read(*engine_, *block, operation, 0), kBtrFileNotOpen);
    }
    EXPECT_EQ(Close(*engine_, *block), kBtrFileNotOpen);
  }
  EXPECT_EQ(engine_->open_files(), 2);
  // Another engine does not know this engine's block.
  std::unique_ptr<KakeiDb> other = OpenKakeiDb(WindowsPathResolver(root_.path()), env_);
  EXPECT_EQ(Read(*other, open, kBtrGetFirst, 0), kBtrFileNotOpen);
  EXPECT_EQ(Read(*engine_, open, kBtrGetFirst, 0), kBtrOk);
}

TEST_F(OpenCloseTest, BlocksOpenReadAndCloseIndependently) {
  Block a, b, copy;
  ASSERT_EQ(OpenFile(a, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(OpenFile(b, "suitou02.dat"), kBtrOk);
  ASSERT_EQ(Read(*engine_, a, kBtrGetFirst, 0), kBtrOk);
  b.SetKey32(37001);
  ASSERT_EQ(Read(*engine_, b, kBtrGetEqual, 0), kBtrOk);
  ASSERT_EQ(Read(*engine_, a, kBtrGetNext, 0), kBtrOk);
  EXPECT_EQ(a.Date(), 37001);
  // Close zeroes the block; the other file reads on.
  ASSERT_EQ(Close(*engine_, a), kBtrOk);
  EXPECT_EQ(std::count(std::begin(a.position), std::end(a.position), 0), kPositionBlockSize);
  EXPECT_EQ(Read(*engine_, b, kBtrGetNext, 0), kBtrEndOfFile);
  // An Open on an open block closes the file it named, even when it fails.
  std::memcpy(copy.position, b.position, sizeof(b.position));
  ASSERT_EQ(OpenFile(b, "suitou02.dat"), kBtrOk);
  EXPECT_EQ(Read(*engine_, copy, kBtrGetFirst, 0), kBtrFileNotOpen);
  EXPECT_EQ(OpenFile(b, "missing.dat"), kBtrFileNotFound);
  EXPECT_EQ(engine_->open_files(), 0);
}

// A file's declaration is kept once the file has settled, and read again
// after any write, however small.
TEST_F(OpenCloseTest, KeptDeclarationFollowsWrites) {
  const auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2100)); };
  settle();
  Block block;
  for (int round = 0; round < 2; ++round) {  // read, then kept
    ASSERT_EQ(OpenFile(block, "suitou02.dat"), kBtrOk);
    EXPECT_EQ(Read(*engine_, block, kBtrGetFirst, 0), kBtrOk);
    EXPECT_EQ(block.Date(), 37000);
    EXPECT_EQ(Close(*engine_, block), kBtrOk);
  }
  RunSql(DiskPath("suitou02.dat"), "UPDATE kakeidb_file SET owner_name = CAST('WXYZ' AS BLOB)");
  Watch("suitou02.dat");
  settle();
  EXPECT_EQ(OpenFile(block, "suitou02.dat"), kBtrOwnerNameWrong);
  ASSERT_EQ(OpenFile(block, "suitou02.dat", "WXYZ"), kBtrOk);
  EXPECT_EQ(Close(*engine_, block), kBtrOk);
}

TEST_F(OpenCloseTest, OpenFileLimitFromWinIni) {
  for (auto [options, limit] : {std::pair{"", 20}, {"/m:32 /p:1024 /f:2 /l:40", 2}}) {
    SCOPED_TRACE(options);
    if (*options) env_.SetWinIni("Btrieve", "OPTIONS", options);
    StartEngine();
    EXPECT_EQ(engine_->open_file_limit(), limit);
    std::vector<Block> blocks(limit + 1);
    for (int i = 0; i < limit; ++i) ASSERT_EQ(OpenFile(blocks[i], "suitou02.dat"), kBtrOk);
    EXPECT_EQ(OpenFile(blocks[limit], "suitou02.dat"), kBtrTooManyFiles);
    EXPECT_EQ(Read(*engine_, blocks[limit], kBtrGetFirst, 0), kBtrFileNotOpen);
    EXPECT_EQ(OpenFile(blocks[limit], "missing.dat"), kBtrFileNotFound);
    EXPECT_EQ(engine_->open_files(), limit);
    ASSERT_EQ(Close(*engine_, blocks[0]), kBtrOk);
    EXPECT_EQ(OpenFile(blocks[limit], "suitou02.dat"), kBtrOk);
  }
}

TEST(BtrieveOptionsTest, OpenFileLimit) {
  for (const char* refused : {"", "/f:", "/f:abc", "/f:12x", "/f:0", "/f:-5", "/f:+5", "/f:65536",
                              "x/f:5", "/f 5", "/f:5,/l:40", "/m:32", "/f:99999999999999"}) {
    EXPECT_EQ(OpenFileLimitFromOptions(refused), 20) << '"' << refused << '"';
  }
  EXPECT_EQ(OpenFileLimitFromOptions("/f:50"), 50);
  EXPECT_EQ(OpenFileLimitFromOptions("/F:7"), 7);
  EXPECT_EQ(OpenFileLimitFromOptions("  /m:32\t/f:3\t"), 3);
  EXPECT_EQ(OpenFileLimitFromOptions("/f:5 /f:9"), 9);
  EXPECT_EQ(OpenFileLimitFromOptions("/f:65535"), 65535);
  EXPECT_EQ(OpenFileLimitFromOptions("/m:32 /p:1024 /b:16 /f:50 /l:40 /n:12"), 50);
}

}  // namespace
}  // namespace h5::testing
