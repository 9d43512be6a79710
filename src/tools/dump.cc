#include "tools/book_tool.h"

#include <cstdio>

#include "platform/kakeidb/data_file_writer.h"
#include "text/ansi.h"
#include "text/fields.h"
#include "tools/book_plan.h"
#include "tools/layouts.h"

namespace h5 {

namespace {

std::string KeyText(const KeyDefinition& key) {
  std::string text;
  for (const KeySegment& s : key.segments) {
    text += (text.empty() ? "" : ", ") + std::to_string(s.offset) + "+" + std::to_string(s.length) +
            " " + SegmentTypeName(s.type);
  }
  return text + (key.duplicates ? "; duplicates allowed" : "; unique");
}

// Sixteen bytes a line after their offset, in two groups of eight.
void HexLines(std::span<const uint8_t> record, std::ostream& out) {
  char text[32];
  for (size_t i = 0; i < record.size(); ++i) {
    std::snprintf(text, sizeof(text), "  %04zx ", i);
    if (i % 16 == 0) out << text;
    std::snprintf(text, sizeof(text), "%s%02x", i % 16 == 8 ? "  " : " ", record[i]);
    out << text << (i % 16 == 15 || i + 1 == record.size() ? "\n" : "");
  }
}

void FieldLines(const Layout& layout, std::span<const uint8_t> record, std::ostream& out) {
  nlohmann::json fields = UnpackRecord(layout, record);
  size_t width = 0;
  for (const FieldDef& field : layout.fields) width = std::max(width, field.name.size());
  for (const FieldDef& field : layout.fields) {
    if (!fields.contains(field.name)) continue;
    std::string value = Quoted(fields[field.name]);
    const int32_t day = field.date ? GetInt32At(record, field.bytes.offset) : 0;
    if (day != 0) value = DateText(day) + " (" + std::to_string(day) + ")";
    out << "  " << field.name << std::string(width - field.name.size() + 1, ' ') << value << "\n";
  }
}

}  // namespace

bool DumpDataFile(const std::filesystem::path& file, bool as_json, std::ostream& out,
                  std::string* error) {
  std::optional<DataFileContents> contents = ReadDataFile(file, error);
  if (!contents) return false;
  if (as_json) {
    out << DataEntryJson(*contents).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
        << "\n";
    return true;
  }
  const Layout* layout = RecognizeLayout(contents->definition);
  const FileDefinition& definition = contents->definition;
  out << "file     " << file.string() << "\n";
  out << "record   " << definition.record_length << " bytes\n";
  out << "owner    " << Quoted(FromAnsi(definition.owner_name)) << "\n";
  for (const KeyDefinition& key : definition.keys) {
    std::string label = "key " + std::to_string(key.number);
    out << label << std::string(label.size() < 9 ? 9 - label.size() : 1, ' ') << KeyText(key)
        << "\n";
  }
  out << "layout   "
      << (layout ? layout->name : std::string("unknown (no layout has this length and keys)"))
      << "\n";
  out << "records  " << contents->records.size() << "\n";
  for (size_t i = 0; i < contents->records.size(); ++i) {
    out << "\nrecord " << i + 1 << " of " << contents->records.size() << "\n";
    HexLines(contents->records[i], out);
    if (layout) FieldLines(*layout, contents->records[i], out);
  }
  return true;
}

}  // namespace h5
