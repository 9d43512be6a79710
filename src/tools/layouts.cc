#include "tools/layouts.h"

#include "store/himoku.h"
#include "store/layouts.h"

namespace h5 {

namespace {

using K = FieldKind;
using Names = std::vector<const char*>;

FieldDef Def(const char* name, size_t offset, FieldKind kind, size_t text_width = 0) {
  constexpr int32_t kWidths[] = {1, 2, 4, 4};
  int32_t width = kind == K::kText ? static_cast<int32_t>(text_width) : kWidths[int(kind)];
  return FieldDef{name, static_cast<int32_t>(offset), width, kind};
}

// Keys run over whole fields in the given order; bytes compare unsigned and
// the rest signed, as the diagnosis reads them. Equal keys are allowed.
Layout Make(const char* name, int32_t record_length, std::vector<FieldDef> fields,
            const std::vector<std::pair<int16_t, Names>>& keys) {
  Layout layout{name, record_length, std::move(fields), {}};
  for (const auto& [number, names] : keys) {
    KeyDefinition key{number, {}, true};
    for (const char* field_name : names) {
      const FieldDef& field = *FindField(layout, field_name);
      key.segments.push_back(
          {field.offset, field.width,
           field.kind == K::kByte ? SegmentType::kUnsigned : SegmentType::kSigned});
    }
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
           {Def("Year", st::kYear, K::kInt16), Def("Month", st::kMonth, K::kInt16),
            Def("Day", st::kDay, K::kInt16)},
           {{0, {"Year", "Month", "Day"}}}),
      Make("period", pe::kRecordLength,
           {Def("Year", pe::kYear, K::kInt16), Def("Month", pe::kMonth, K::kInt16),
            Def("StartDay", pe::kStartDay, K::kDate), Def("EndDay", pe::kEndDay, K::kDate)},
           {{0, {"Year", "Month"}}}),
      Make("category", ca::kRecordLength,
           {Def("group", ca::kGroup, K::kByte), Def("level", ca::kLevel, K::kByte),
            Def("minorCode", ca::kMinorCode, K::kInt16),
            Def("middleCode", ca::kMiddleCode, K::kInt16),
            Def("majorCode", ca::kMajorCode, K::kInt16),
            Def("name", ca::kName, K::kText, ca::kField6 - ca::kName)},
           {{0, {"majorCode", "middleCode", "minorCode"}},
            {ca::kKeyNumber, {"group", "level", "minorCode", "middleCode", "majorCode"}}}),
      Make("card", credit_layout::kRecordLength,
           {Def("cardCode", credit_layout::kCardCode, K::kInt16)},
           {{credit_layout::kKeyNumber, {"cardCode"}}}),
      Make("cashbook", cb::kRecordLength,
           {Def("entryKind", cb::kEntryKind, K::kByte),
            Def("categoryCode", cb::kCategoryCode, K::kInt16),
            Def("entryDate", cb::kEntryDate, K::kDate), Def("cardCode", cb::kCardCode, K::kInt16),
            Def("statementCode", cb::kStatementCode, K::kInt16),
            Def("amount", cb::kAmount, K::kInt32),
            Def("fromPayStatement", cb::kFromPayStatement, K::kByte)},
           {{cb::kKeyNumber, {"entryDate"}}}),
      Make("installment", in::kRecordLength,
           {Def("entryKind", in::kEntryKind, K::kByte), Def("cardCode", in::kCardCode, K::kInt16),
            Def("debitDate", in::kDebitDate, K::kDate), Def("amount", in::kAmount, K::kInt32)},
           {{in::kKeyNumber, {"debitDate"}}}),
      Make(
          "budget", bu::kRecordLength,
          {Def("month", bu::kMonth, K::kByte), Def("budgetKind", bu::kBudgetKind, K::kByte),
           Def("itemCode1", bu::kItemCode1, K::kInt16), Def("itemCode2", bu::kItemCode2, K::kInt16),
           Def("itemCode3", bu::kItemCode3, K::kInt16), Def("amount", bu::kAmount, K::kInt32)},
          {{bu::kKeyNumber, {"month", "budgetKind", "itemCode1", "itemCode2", "itemCode3"}}}),
      Make("salary-item", si::kRecordLength,
           {Def("recordClass", si::kRecordClass, K::kInt16),
            Def("statementCode", si::kStatementCode, K::kInt16),
            Def("itemKind", si::kItemKind, K::kByte), Def("itemNumber", si::kItemNumber, K::kInt16),
            Def("itemGroup", si::kItemGroup, K::kInt16)},
           {{si::kKeyNumber, {"recordClass", "statementCode"}}}),
      Make("salary-amount", sa::kRecordLength,
           {Def("salaryKind", sa::kSalaryKind, K::kInt16),
            Def("statementCode", sa::kStatementCode, K::kInt16),
            Def("month", sa::kMonth, K::kInt16), Def("itemNumber", sa::kItemNumber, K::kInt16),
            Def("statementDate", sa::kStatementDate, K::kDate),
            Def("amount", sa::kAmount, K::kInt32)},
           {{sa::kKeyNumber, {"salaryKind", "statementCode", "month"}}}),
  };
}

const std::vector<Layout>& AllLayouts() {
  static const std::vector<Layout>* const layouts = new std::vector<Layout>(MakeLayouts());
  return *layouts;
}

}  // namespace

const Layout* FindLayout(std::string_view name) {
  for (const Layout& layout : AllLayouts()) {
    if (layout.name == name) return &layout;
  }
  return nullptr;
}

const Layout* RecognizeLayout(const FileDefinition& definition) {
  for (const Layout& layout : AllLayouts()) {
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

std::string LayoutNames() {
  std::string names;
  for (const Layout& layout : AllLayouts()) names += (names.empty() ? "" : ", ") + layout.name;
  return names;
}

}  // namespace h5
