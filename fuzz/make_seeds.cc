// Writes the seed corpora of the fuzz targets from the demo account book:
//   h5_fuzz_seeds OUT   (OUT/<target>/<seed>, usually fuzz/corpus)
// Data files are copied with small pages (a data file does not depend on
// its page size), so that each seed stays a few kilobytes.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "text/ansi.h"
#include "tools/book_tool.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

std::string Chunk(const std::string& bytes) {
  return std::string(1, static_cast<char>(bytes.size())) + bytes.substr(0, 255);
}

// The data file at from, rewritten into to with 512-byte pages.
std::string Compact(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  sqlite3* db = nullptr;
  int rc = sqlite3_open(to.c_str(), &db);
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA page_size=512; VACUUM;", nullptr,
                      nullptr, nullptr);
  }
  sqlite3_close(db);
  if (rc != SQLITE_OK) {
    std::fprintf(stderr, "cannot compact %s\n", from.c_str());
    std::exit(1);
  }
  return Read(to);
}

// UTF-16LE with its byte-order mark, of UTF-8 text.
std::string Utf16(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    uint32_t code = byte;
    size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
    if (length > 1) code = byte & (0x7F >> length);
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    out += static_cast<char>(code & 0xFF);
    out += static_cast<char>((code >> 8) & 0xFF);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: h5_fuzz_seeds OUT\n");
    return 2;
  }
  const fs::path out = argv[1];
  const fs::path work = fs::temp_directory_path() / "h5-fuzz-seeds";
  fs::remove_all(work);
  const fs::path root = work / "root";
  const auto today = std::chrono::year_month_day{std::chrono::year{2002}, std::chrono::month{6},
                                                 std::chrono::day{15}};
  std::string error;
  if (!h5::BuildSampleRoot(root, today, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const fs::path drive_c = root / "drive_c";
  const fs::path kakei = drive_c / "HdmData5" / "kakeibo" / "kakeibo1";

  // kakeidb: key material, then the file.
  const std::vector<std::pair<std::string, std::string>> data_files = {
      {"start02.dat", std::string("\x01\x00\x00\x00", 4)},
      {"Kikan02.dat", std::string("\xd2\x07", 2)},
      {"Himoku.dat", std::string("\x02\x00", 2)},
      {"Credit.dat", std::string("\x01\x00", 2)},
      {"suitou02.dat", std::string("\x01\x00\xa9\x93\x00\x00", 6)},
      {"bunkat02.dat", std::string("\x01\x00", 2)},
      {"Yosan02.dat", std::string("\x01\x00\x02\x00", 4)},
      {"Kyuyo.dat", std::string("\x01\x00", 2)},
      {"Kyuyo02.dat", std::string("\x01\x00\x05\x00", 4)},
  };
  for (const auto& [name, key] : data_files) {
    std::string file = Compact(kakei / name, work / name);
    Write(out / "kakeidb_fuzzer" / name, Chunk(key) + file);
  }

  // kakeidb order: record length - 1, key count - 1, per key flags (key
  // number offset % 5, 1 + (flags >> 3) % 3 segments, 0x80 unique) and per
  // segment type (signed, unsigned, string), length code, offset; the search
  // chunk; the records.
  {
    std::string definition = {11, 2, 0x00, 0, 1, 0, 0x09, 1, 2, 2, 2, 2, 6, static_cast<char>(0x90),
                              0,  3, 4};
    std::string records;
    const int16_t numbers[] = {5, -3, 5, 300, -300, 0, 5, -1, 32767, -32768, 1, 5};
    for (int i = 0; i < 12; ++i) {
      std::string record(12, '\0');
      record[0] = static_cast<char>(numbers[i] & 0xFF);
      record[1] = static_cast<char>((numbers[i] >> 8) & 0xFF);
      record[2] = static_cast<char>(i % 3 == 0 ? 0xF0 : i);
      record[4] = static_cast<char>(i);
      record[6] = static_cast<char>('a' + i % 4);
      record[11] = static_cast<char>(i % 2 ? 0x80 : 0x7F);
      records += record;
    }
    Write(out / "kakeidb_order_fuzzer" / "three-keys",
          definition + Chunk(std::string("\x05\x00", 2)) + records);
    std::string duplicates;
    for (int i = 0; i < 40; ++i)
      duplicates += std::string(1, static_cast<char>('a' + i % 3)) + "xyz";
    Write(out / "kakeidb_order_fuzzer" / "duplicates",
          std::string({3, 0, 0, 2, 0, 0}) + Chunk("b") + duplicates);
  }

  // profile: size, section, key, default, new value, then the file.
  const std::string dir_name = Read(drive_c / "Hidamari5" / "DirName.ini");
  const std::string win_ini = Read(drive_c / "windows" / "win.ini");
  const std::string kakei_ini = Read(drive_c / "Hidamari5" / "Kakei.ini");
  auto profile = [](char size, const char* section, const char* key, const char* value,
                    const std::string& file) {
    return std::string(1, size) + Chunk(section) + Chunk(key) + Chunk("none") + Chunk(value) + file;
  };
  Write(out / "profile_fuzzer" / "dirname", profile('\x40', "DirName", "datapath", "x", dir_name));
  Write(out / "profile_fuzzer" / "winini",
        profile('\xff', "Btrieve", "OPTIONS", "/m:64 /f:30", win_ini));
  Write(out / "profile_fuzzer" / "kakei", profile('\x08', "Kakei", "Level", "7", kakei_ini));
  Write(out / "profile_fuzzer" / "utf8",
        profile('\x10', "sec", "name", "\"q\"", "\xEF\xBB\xBF[sec]\r\nname = ひだまり\r\n"));
  Write(out / "profile_fuzzer" / "ansi",
        profile('\x05', h5::ToAnsi("項目").c_str(), "k", "v",
                h5::ToAnsi("[項目]\nk='ソ表'\n; note\n[x]\nk=1\n")));

  // registry: key, name, then the file.
  const std::string registry = Read(root / "registry.reg");
  const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\SORAHATO\\ひだまり家庭帳５";
  Write(out / "registry_fuzzer" / "sample", Chunk(key) + Chunk("Path") + registry);
  Write(out / "registry_fuzzer" / "utf16", Chunk(key) + Chunk("Path") + Utf16(registry));
  Write(out / "registry_fuzzer" / "regedit4",
        Chunk("HKEY_LOCAL_MACHINE\\A") + Chunk("") +
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n@=\"d\\\\e\"\r\n\"n\"=dword:1\r\n"
            "[-HKEY_LOCAL_MACHINE\\B]\r\n\"x\"=\"y\\\"z\"\r\n");

  // cookie: mode, InstallDir, key to remove, then the file (or the text).
  const std::string cookies = Read(root / "cookies.txt");
  Write(out / "cookie_fuzzer" / "sample",
        std::string(1, '\0') + Chunk("C:\\Hidamari5\\") + Chunk("winflag=") + cookies);
  Write(out / "cookie_fuzzer" / "running",
        std::string(1, '\1') + Chunk("") + Chunk("winflag=") + "winflag=1; other=x");
  Write(out / "cookie_fuzzer" / "long_dir", std::string(1, '\3') +
                                                Chunk("c:\\PROGRA~1\\HIDAMA~1\\") + Chunk(" ") +
                                                std::string("winflag= 1.4e0\0junk", 20));

  // book: the demo book, a small one per section, a refused one.
  const json sample = h5::SampleBook(today);
  for (const char* section : {"registry", "ini", "cookies", "programs", "files"}) {
    Write(out / "book_fuzzer" / section, json{{section, sample[section]}}.dump(1));
  }
  for (const auto& [path, entry] : sample["data"].items()) {
    json small = entry;
    if (small["records"].size() > 3) {
      small["records"] =
          json(std::vector<json>(small["records"].begin(), small["records"].begin() + 3));
    }
    std::string name = entry["layout"].get<std::string>();
    Write(out / "book_fuzzer" / ("data-" + name), json{{"data", {{path, small}}}}.dump(1));
  }
  Write(out / "book_fuzzer" / "raw-keys",
        R"({"data":{"C:\\d\\x.dat":{"recordLength":6,"owner":"ab",)"
        R"("keys":[{"number":0,"segments":[{"offset":0,"length":2,"type":"signed"}]}],)"
        R"("records":[{"hex":"010002000300"}]}},"files":{"C:\\d\\t.txt":{"text":"x"}}})");
  Write(out / "book_fuzzer" / "refused", R"({"ini":{"C:\\a.ini":{"s":{"k":[1]}}}})");

  // ansi: n (4 bytes), then text.
  auto ansi = [](int32_t n, const std::string& text) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((static_cast<uint32_t>(n) >> (8 * i)));
    return bytes + text;
  };
  Write(out / "ansi_fuzzer" / "utf8", ansi(7, "ひだまり家庭帳５ abc"));
  Write(out / "ansi_fuzzer" / "cp932", ansi(3, h5::ToAnsi("表ソ能\\x")));
  Write(out / "ansi_fuzzer" / "mixed", ansi(-1, std::string("a\x81\0\xfc\xe0\x40\xc0\xaf", 8)));
  Write(out / "ansi_fuzzer" / "long", ansi(300, std::string(40, 'x') + "①㈱髙"));

  fs::remove_all(work);
  return 0;
}
