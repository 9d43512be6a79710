#include "tools/layouts.h"

#include <gtest/gtest.h>

#include <set>

#include "tools/book_values.h"
#include "tools/record_json.h"

namespace h5 {
namespace {

using nlohmann::json;

std::vector<uint8_t> Pack(const char* layout, const json& value) {
  const Layout* l = FindLayout(layout);
  std::vector<uint8_t> record;
  std::string error;
  EXPECT_TRUE(PackRecord(l, l->record_length, value, "r", &record, &error)) << error;
  return record;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  return std::vector<uint8_t>(values.begin(), values.end());
}

TEST(LayoutsTest, FieldsAndKeysLieInsideTheirRecordsWithoutOverlap) {
  ASSERT_EQ(AllLayouts().size(), 9u);
  for (const Layout& layout : AllLayouts()) {
    std::vector<int> owner(static_cast<size_t>(layout.record_length), 0);
    std::set<std::string> names;
    for (const FieldDef& field : layout.fields) {
      EXPECT_TRUE(names.insert(field.name).second) << layout.name << "." << field.name;
      ASSERT_LE(field.offset + field.width, layout.record_length) << field.name;
      for (int i = field.offset; i < field.offset + field.width; ++i) {
        EXPECT_EQ(owner[static_cast<size_t>(i)]++, 0) << layout.name << "." << field.name;
      }
    }
    for (const KeyDefinition& key : layout.keys) {
      for (const KeySegment& s : key.segments) {
        EXPECT_LE(s.offset + s.length, layout.record_length) << layout.name;
      }
    }
  }
}

TEST(LayoutsTest, EveryLayoutIsRecognizedByItsLengthAndKeys) {
  for (const Layout& layout : AllLayouts()) {
    EXPECT_EQ(FindLayout(layout.name), &layout);
    EXPECT_EQ(RecognizeLayout(DefinitionOf(layout)), &layout) << layout.name;
    EXPECT_EQ(DefinitionOf(layout).owner_name, "tefu");
    FileDefinition other = DefinitionOf(layout);
    other.keys[0].duplicates = !other.keys[0].duplicates;
    EXPECT_EQ(RecognizeLayout(other), nullptr) << layout.name;
  }
  EXPECT_EQ(FindLayout("Cashbook"), nullptr);
}

TEST(LayoutsTest, RecordsPackAtTheirOffsets) {
  // A cash-book record whose bytes 7-10 are 20 8C 00 00 is dated 18 March 1998.
  std::vector<uint8_t> cash = Pack("cashbook", {{"entryDate", "1998-03-18"},
                                                {"entryKind", 1},
                                                {"categoryCode", 0x0102},
                                                {"cardCode", -2},
                                                {"statementCode", 7},
                                                {"amount", -1},
                                                {"fromPayStatement", 1}});
  ASSERT_EQ(cash.size(), 79u);
  std::vector<uint8_t> expected(79, 0);
  expected[0] = 1;
  expected[5] = 0x02, expected[6] = 0x01;
  expected[7] = 0x20, expected[8] = 0x8c;
  expected[11] = 0xfe, expected[12] = 0xff;
  expected[17] = 7;
  expected[33] = expected[34] = expected[35] = expected[36] = 0xff;
  expected[44] = 1;
  EXPECT_EQ(cash, expected);

  EXPECT_EQ(Pack("budget", {{"month", 4}, {"budgetKind", 1}, {"amount", 10000}}),
            Bytes({4, 1, 0, 0, 0, 0, 0, 0, 0x10, 0x27, 0, 0}));
  EXPECT_EQ(Pack("start", {{"Year", 2002}, {"Month", 4}, {"Day", 1}}),
            Bytes({0, 0, 0xd2, 0x07, 4, 0, 1, 0}));
  EXPECT_EQ(
      Pack("period", {{"Year", 2002}, {"Month", 4}, {"StartDay", 37347}, {"EndDay", "2002-04-30"}}),
      Bytes({0xd2, 0x07, 4, 0, 0xe3, 0x91, 0, 0, 0x00, 0x92, 0, 0}));
  EXPECT_EQ(Pack("installment",
                 {{"entryKind", 1}, {"cardCode", 3}, {"debitDate", 37373}, {"amount", 500}}),
            Bytes({1, 0,    0,    0, 0, 0,    0, 3, 0, 0, 0, 0, 0, 0,
                   0, 0xfd, 0x91, 0, 0, 0xf4, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Pack("salary-item", {{"recordClass", 1},
                                 {"statementCode", 2},
                                 {"itemKind", 1},
                                 {"itemNumber", 3},
                                 {"itemGroup", 4}}),
            Bytes({1, 0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Pack("salary-amount", {{"salaryKind", 1},
                                   {"statementCode", 2},
                                   {"month", 3},
                                   {"itemNumber", 4},
                                   {"statementDate", 5},
                                   {"amount", 6}}),
            Bytes({1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  std::vector<uint8_t> card = Pack("card", {{"cardCode", 3}});
  ASSERT_EQ(card.size(), 60u);
  EXPECT_EQ(card[0], 3);
}

TEST(LayoutsTest, CategoryKeyBytesAndBlankPaddedName) {
  std::vector<uint8_t> record =
      Pack("category",
           {{"majorCode", 3}, {"middleCode", 2}, {"minorCode", 1}, {"level", 2}, {"name", "給与"}});
  ASSERT_EQ(record.size(), 68u);
  EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 8),
            Bytes({0, 2, 1, 0, 2, 0, 3, 0}));
  std::string name(record.begin() + 8, record.begin() + 28);
  EXPECT_EQ(name, std::string("\x8b\x8b\x97\x5e") + std::string(16, ' '));
  EXPECT_EQ(record[28], 0);  // bytes past the name stay zero
  // Without a name the field is blanks.
  std::vector<uint8_t> unnamed = Pack("category", json::object());
  EXPECT_EQ(std::string(unnamed.begin() + 8, unnamed.begin() + 28), std::string(20, ' '));
}

TEST(LayoutsTest, UnpackGivesBackWhatWasPacked) {
  json fields = {{"group", 0},          {"level", 255},   {"majorCode", -32768},
                 {"middleCode", 32767}, {"minorCode", 0}, {"name", " 食費 x"}};
  std::vector<uint8_t> record = Pack("category", fields);
  EXPECT_EQ(UnpackRecord(*FindLayout("category"), record), fields);
  EXPECT_EQ(RecordToJson(FindLayout("category"), record), fields);
}

TEST(LayoutsTest, BytesThatFieldsCannotSayComeBackAsHex) {
  const Layout* cash = FindLayout("cashbook");
  std::vector<uint8_t> record = Pack("cashbook", {{"amount", 5}});
  EXPECT_EQ(RecordToJson(cash, record)["amount"], 5);
  record[1] = 0x42;  // a byte no field covers
  EXPECT_EQ(RecordToJson(cash, record), json({{"hex", ToHex(record)}}));
}

}  // namespace
}  // namespace h5
