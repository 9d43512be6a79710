#include "platform/kakeidb/declaration_cache.h"

namespace h5 {
namespace {

// A book has a few dozen files; a process that walks many books starts over
// rather than grow without end.
constexpr size_t kMaxEntries = 512;

}  // namespace

const FileDefinition* DeclarationCache::Find(const std::string& path,
                                             const FileState& state) const {
  auto it = entries_.find(path);
  return it != entries_.end() && it->second.state == state ? &it->second.definition : nullptr;
}

void DeclarationCache::Store(const std::string& path, const FileState& state,
                             const FileDefinition& definition) {
  if (entries_.size() >= kMaxEntries && !entries_.contains(path)) entries_.clear();
  entries_.insert_or_assign(path, Entry{state, definition});
}

}  // namespace h5
