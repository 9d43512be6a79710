#include "tools/book_plan.h"

#include <map>
#include <random>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/os/file_io.h"
#include "platform/root/path_map.h"
#include "text/ansi.h"

namespace h5 {

namespace fs = std::filesystem;

namespace {

std::string Quote(const fs::path& path) { return "\"" + path.string() + "\""; }

// An unused name beside root: ".<root name>.<tag>-<random>".
fs::path Beside(const fs::path& root, const char* tag) {
  static std::random_device random;
  fs::path path;
  std::error_code ec;
  do {
    path = root.parent_path() /
           ("." + root.filename().string() + "." + tag + "-" + std::to_string(random()));
  } while (fs::exists(fs::symlink_status(path, ec)));
  return path;
}

bool WriteFile(const fs::path& folder, const PlannedFile& file,
               std::map<fs::path, std::string>* written, std::string* error) {
  std::optional<fs::path> target = file.windows_path.empty()
                                       ? folder / file.root_file
                                       : MapWindowsPath(folder, ToAnsi(file.windows_path));
  if (!target) return Fail(file.place, "cannot map the path into the root", error);
  auto [earlier, inserted] = written->emplace(*target, file.place);
  if (!inserted) return Fail(file.place, "names the same file as " + earlier->second, error);
  std::error_code ec;
  fs::create_directories(target->parent_path(), ec);
  if (ec) return Fail(file.place, "cannot make its folder: " + ec.message(), error);
  if (fs::is_directory(fs::symlink_status(*target, ec))) {
    return Fail(file.place, "a folder is in the way", error);
  }
  // A file of the old root goes first: writing into it would follow a link.
  fs::remove(*target, ec);
  std::string message;
  const bool ok = file.data
                      ? WriteDataFile(*target, *file.data, &message)
                      : WriteFileAtomically(*target, file.bytes, file.executable ? 0755 : 0644);
  if (!ok) *error = file.place + ": cannot write the file" + (file.data ? ": " + message : "");
  return ok;
}

// Puts fresh in root's place and removes the old tree. The exchange does it
// in one step; where the system lacks it, root is briefly missing.
std::error_code SwapIn(const fs::path& fresh, const fs::path& root) {
  std::error_code ec;
  std::error_code ignored;
  std::optional<std::error_code> exchanged = ExchangePaths(fresh, root);
  if (exchanged && !*exchanged) {
    fs::remove_all(fresh, ignored);
    return ec;
  }
  if (exchanged) return *exchanged;
  const fs::path old = Beside(root, "old");
  fs::rename(root, old, ec);
  if (!ec) fs::rename(fresh, root, ec);
  if (ec) {
    fs::rename(old, root, ignored);  // a no-op when root never moved
  } else {
    fs::remove_all(old, ignored);
  }
  return ec;
}

// Fills fresh with a copy of root and the planned files, then swaps it in.
bool Assemble(const fs::path& root, bool replace, const fs::path& fresh,
              const std::vector<PlannedFile>& files, std::string* error) {
  std::error_code ec;
  if (replace) {
    fs::copy(root, fresh, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) return Fail("", "cannot copy the root " + Quote(root) + ": " + ec.message(), error);
    fs::permissions(fresh, fs::status(root).permissions(), ec);
  }
  std::map<fs::path, std::string> written;
  for (const PlannedFile& file : files) {
    if (!WriteFile(fresh, file, &written, error)) return false;
  }
  if (replace) {
    ec = SwapIn(fresh, root);
  } else {
    fs::rename(fresh, root, ec);
  }
  return !ec || Fail("", "cannot put the new root in place at " + Quote(root) + ": " + ec.message(),
                     error);
}

}  // namespace

bool WriteIntoRoot(const fs::path& root, const std::vector<PlannedFile>& files,
                   std::string* error) {
  std::error_code ec;
  const fs::file_status status = fs::status(root, ec);
  if (fs::exists(status) && !fs::is_directory(status)) {
    return Fail("", "root " + Quote(root) + " is not a folder", error);
  }
  // Folders above a new root are made for it and go again on failure.
  fs::path made;
  for (fs::path p = root.parent_path(); !fs::exists(p, ec) && p != p.parent_path();
       p = p.parent_path()) {
    made = p;
  }
  const fs::path fresh = Beside(root, "new");
  fs::create_directories(root.parent_path(), ec);
  bool ok = (!ec && fs::create_directory(fresh, ec)) ||
            Fail("",
                 "cannot make a folder beside the root " + Quote(root) +
                     (ec ? ": " + ec.message() : std::string()),
                 error);
  ok = ok && Assemble(root, fs::exists(status), fresh, files, error);
  if (!ok) fs::remove_all(fresh, ec);
  if (!ok && !made.empty()) fs::remove_all(made, ec);
  return ok;
}

}  // namespace h5
