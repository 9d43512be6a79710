#include "tools/root_writer.h"

#include <unistd.h>

#include <fstream>
#include <map>
#include <random>

#include "platform/kakeidb/data_file_writer.h"
#include "platform/root/path_map.h"
#include "text/ansi.h"

namespace h5 {

namespace fs = std::filesystem;

namespace {

std::string Quote(const fs::path& path) { return "\"" + path.string() + "\""; }

// One run of WriteIntoRoot; undoes itself unless Finish was reached.
class RootChange {
 public:
  explicit RootChange(fs::path root) : root_(std::move(root)) {}
  RootChange(const RootChange&) = delete;
  RootChange& operator=(const RootChange&) = delete;
  ~RootChange() {
    if (!finished_) Rollback();
  }

  bool Begin(std::string* error);
  bool Stage(size_t index, const PlannedFile& file, std::string* error);
  bool Place(size_t index, const PlannedFile& file, std::string* error);
  void Finish();

 private:
  struct Move {
    fs::path target;
    fs::path backup;  // empty when nothing was there before
  };

  bool MakeFolders(const fs::path& folder, const std::string& place, std::string* error);
  void Rollback();
  fs::path Staged(size_t index) const { return staging_ / ("new-" + std::to_string(index)); }

  fs::path root_;
  fs::path staging_;
  std::vector<fs::path> created_folders_;  // in creation order
  std::vector<Move> moves_;
  std::map<fs::path, std::string> placed_;  // target -> place in the book
  bool finished_ = false;
};

bool RootChange::Begin(std::string* error) {
  std::error_code ec;
  fs::file_status status = fs::status(root_, ec);
  if (fs::exists(status)) {
    if (!fs::is_directory(status)) {
      *error = "root " + Quote(root_) + " is not a folder";
      return false;
    }
  } else {
    std::vector<fs::path> missing;
    for (fs::path p = root_; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
      missing.push_back(p);
      if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
      if (!fs::create_directory(*it, ec)) {
        *error = "cannot create the folder " + Quote(*it) + ": " + ec.message();
        return false;
      }
      created_folders_.push_back(*it);
    }
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = root_ / (".h5kakei-build-" + std::to_string(::getpid()) + "-" +
                                  std::to_string(random() % 1000000));
    if (fs::create_directory(candidate, ec)) {
      staging_ = candidate;
      return true;
    }
    if (ec) break;
  }
  *error = "cannot create a staging folder in " + Quote(root_) +
           (ec ? ": " + ec.message() : std::string());
  return false;
}

bool RootChange::Stage(size_t index, const PlannedFile& file, std::string* error) {
  fs::path path = Staged(index);
  if (file.data) {
    std::string message;
    std::unique_ptr<DataFileWriter> writer =
        DataFileWriter::Create(path, file.data->definition, &message);
    bool ok = writer != nullptr;
    for (size_t i = 0; ok && i < file.data->records.size(); ++i) {
      ok = writer->Append(file.data->records[i], &message);
    }
    ok = ok && writer->Commit(&message);
    if (!ok) {
      *error = file.place + ": cannot write the data file: " + message;
      return false;
    }
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.bytes.data()),
            static_cast<std::streamsize>(file.bytes.size()));
  out.close();
  if (!out) {
    *error = file.place + ": cannot write " + Quote(path);
    return false;
  }
  if (file.executable) {
    std::error_code ec;
    fs::permissions(path,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::replace, ec);
    if (ec) {
      *error = file.place + ": cannot make " + Quote(path) + " executable: " + ec.message();
      return false;
    }
  }
  return true;
}

bool RootChange::MakeFolders(const fs::path& folder, const std::string& place, std::string* error) {
  std::error_code ec;
  fs::path current = root_;
  for (const fs::path& part : folder.lexically_relative(root_)) {
    if (part == ".") continue;
    current /= part;
    fs::file_status status = fs::status(current, ec);
    if (fs::is_directory(status)) continue;
    if (fs::exists(status) || !fs::create_directory(current, ec)) {
      *error = place + ": cannot make the folder " + Quote(current) +
               (ec ? ": " + ec.message() : ": a file of that name is in the way");
      return false;
    }
    created_folders_.push_back(current);
  }
  return true;
}

bool RootChange::Place(size_t index, const PlannedFile& file, std::string* error) {
  std::optional<fs::path> target;
  if (file.windows_path.empty()) {
    target = root_ / file.root_file;
  } else {
    target = MapWindowsPath(root_, ToAnsi(file.windows_path));
  }
  if (!target) {
    *error = file.place + ": cannot map the path into the root";
    return false;
  }
  auto [earlier, inserted] = placed_.emplace(*target, file.place);
  if (!inserted) {
    *error = file.place + ": names the same file as " + earlier->second;
    return false;
  }
  if (!MakeFolders(target->parent_path(), file.place, error)) return false;

  std::error_code ec;
  Move move{*target, {}};
  fs::file_status status = fs::symlink_status(*target, ec);
  if (fs::is_directory(status)) {
    *error = file.place + ": a folder is in the way at " + Quote(*target);
    return false;
  }
  if (fs::exists(status)) {
    move.backup = staging_ / ("old-" + std::to_string(index));
    fs::rename(*target, move.backup, ec);
    if (ec) {
      *error = file.place + ": cannot replace " + Quote(*target) + ": " + ec.message();
      return false;
    }
  }
  fs::rename(Staged(index), *target, ec);
  if (ec) {
    std::error_code ignored;
    if (!move.backup.empty()) fs::rename(move.backup, *target, ignored);
    *error = file.place + ": cannot move the file into " + Quote(*target) + ": " + ec.message();
    return false;
  }
  moves_.push_back(std::move(move));
  return true;
}

void RootChange::Finish() {
  std::error_code ec;
  fs::remove_all(staging_, ec);
  finished_ = true;
}

void RootChange::Rollback() {
  std::error_code ec;
  for (auto it = moves_.rbegin(); it != moves_.rend(); ++it) {
    fs::remove(it->target, ec);
    if (!it->backup.empty()) fs::rename(it->backup, it->target, ec);
  }
  if (!staging_.empty()) fs::remove_all(staging_, ec);
  // Only folders left empty go; remove() leaves any other alone.
  for (auto it = created_folders_.rbegin(); it != created_folders_.rend(); ++it) {
    fs::remove(*it, ec);
  }
}

}  // namespace

bool WriteIntoRoot(const fs::path& root, const std::vector<PlannedFile>& files,
                   std::string* error) {
  RootChange change(root);
  if (!change.Begin(error)) return false;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!change.Stage(i, files[i], error)) return false;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    if (!change.Place(i, files[i], error)) return false;
  }
  change.Finish();
  return true;
}

}  // namespace h5
