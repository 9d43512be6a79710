#include "tools/layouts.h"

#include "store/himoku.h"
#include "store/layouts.h"

namespace h5 {

namespace {

enum Kind { kByte, kInt16, kInt32, kDate, kText };
using Names = std::vector<const char*>;

FieldDef Def(const char* name, size_t offset, Kind kind, size_t text_width = 0) {
  constexpr int32_t kWidths[] = {1, 2, 4, 4};
  const SegmentType type = kind == kByte   ? SegmentType::kUnsigned
                           : kind == kText ? SegmentType::kString
                                           : SegmentType::kSigned;
  const size_t width = kind == kText ? text_width : kWidths[kind];
  return {name, {static_cast<int32_t>(offset), static_cast<int32_t>(width), type}, kind == kDate};
}

// Keys run over whole fields in the given order, as the diagnosis reads
// them. Equal keys are allowed.
Layout Make(const char* name, int32_t record_length, std::vector<FieldDef> fields,
            const std::vector<std::pair<int16_t, Names>>& keys) {
  Layout layout{name, record_length, std::move(fields), {}};
  for (const auto& [number, names] : keys) {
    KeyDefinition key{number, {}, true};
    for (const char* n : names) key.segments.push_back(FindField(layout, n)->bytes);
    layout.keys.push_back(std::move(key));
  }
  return layout;
}

std::vector<Layout> MakeLayouts() {
  namespace st = start_layout;
  namespace pe = period_layout;
  namespace ca = himoku_layout;
  namespace cb = cash_book_layout;
  namespace in = installment_layout;
  namespace bu = budget_layout;
  namespace si = salary_item_def_layout;
  namespace sa = salary_amount_layout;
  // Start-up reads the start and period files by key 0. Category key 0 is
  // there because the account book's own file has more than one key.
  return {
      Make("start", st::kRecordLength,
           {Def("Year", st::kYear, kInt16), Def("Month", st::kMonth, kInt16),
            Def("Day", st::kDay, kInt16)},
           {{0, {"Year", "Month", "Day"}}}),
      Make("period", pe::kRecordLength,
           {Def("Year", pe::kYear, kInt16), Def("Month", pe::kMonth, kInt16),
            Def("StartDay", pe::kStartDay, kDate), Def("EndDay", pe::kEndDay, kDate)},
           {{0, {"Year", "Month"}}}),
      Make("category", ca::kRecordLength,
           {Def("group", ca::kGroup, kByte), Def("level", ca::kLevel, kByte),
            Def("minorCode", ca::kMinorCode, kInt16), Def("middleCode", ca::kMiddleCode, kInt16),
            Def("majorCode", ca::kMajorCode, kInt16),
            Def("name", ca::kName, kText, ca::kField6 - ca::kName)},
           {{0, {"majorCode", "middleCode", "minorCode"}},
            {ca::kKeyNumber, {"group", "level", "minorCode", "middleCode", "majorCode"}}}),
      Make("card", credit_layout::kRecordLength,
           {Def("cardCode", credit_layout::kCardCode, kInt16)},
           {{credit_layout::kKeyNumber, {"cardCode"}}}),
      Make("cashbook", cb::kRecordLength,
           {Def("entryKind", cb::kEntryKind, kByte), Def("categoryCode", cb::kCategoryCode, kInt16),
            Def("entryDate", cb::kEntryDate, kDate), Def("cardCode", cb::kCardCode, kInt16),
            Def("statementCode", cb::kStatementCode, kInt16), Def("amount", cb::kAmount, kInt32),
            Def("fromPayStatement", cb::kFromPayStatement, kByte)},
           {{cb::kKeyNumber, {"entryDate"}}}),
      Make("installment", in::kRecordLength,
           {Def("entryKind", in::kEntryKind, kByte), Def("cardCode", in::kCardCode, kInt16),
            Def("debitDate", in::kDebitDate, kDate), Def("amount", in::kAmount, kInt32)},
           {{in::kKeyNumber, {"debitDate"}}}),
      Make("budget", bu::kRecordLength,
           {Def("month", bu::kMonth, kByte), Def("budgetKind", bu::kBudgetKind, kByte),
            Def("itemCode1", bu::kItemCode1, kInt16), Def("itemCode2", bu::kItemCode2, kInt16),
            Def("itemCode3", bu::kItemCode3, kInt16), Def("amount", bu::kAmount, kInt32)},
           {{bu::kKeyNumber, {"month", "budgetKind", "itemCode1", "itemCode2", "itemCode3"}}}),
      Make("salary-item", si::kRecordLength,
           {Def("recordClass", si::kRecordClass, kInt16),
            Def("statementCode", si::kStatementCode, kInt16), Def("itemKind", si::kItemKind, kByte),
            Def("itemNumber", si::kItemNumber, kInt16), Def("itemGroup", si::kItemGroup, kInt16)},
           {{si::kKeyNumber, {"recordClass", "statementCode"}}}),
      Make("salary-amount", sa::kRecordLength,
           {Def("salaryKind", sa::kSalaryKind, kInt16),
            Def("statementCode", sa::kStatementCode, kInt16), Def("month", sa::kMonth, kInt16),
            Def("itemNumber", sa::kItemNumber, kInt16),
            Def("statementDate", sa::kStatementDate, kDate), Def("amount", sa::kAmount, kInt32)},
           {{sa::kKeyNumber, {"salaryKind", "statementCode", "month"}}}),
  };
}

}  // namespace

const std::vector<Layout>& Layouts() {
  static const std::vector<Layout>* const layouts = new std::vector<Layout>(MakeLayouts());
  return *layouts;
}

const Layout* RecognizeLayout(const FileDefinition& definition) {
  for (const Layout& layout : Layouts()) {
    if (layout.record_length == definition.record_length && layout.keys == definition.keys) {
      return &layout;
    }
  }
  return nullptr;
}

const FieldDef* FindField(const Layout& layout, std::string_view name) {
  for (const FieldDef& field : layout.fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

}  // namespace h5
