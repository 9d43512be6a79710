#include "store/module.h"

#include "store/file_table.h"

namespace h5 {
namespace {

ModuleData FreshModule(const Ports& ports) {
  ModuleData data;
  data.ports = ports;
  for (const DataFile* file : kEveryFile) (data.*file->block).record.resize(file->record_length);
  return data;
}

// Trivially destructible, unlike the thread's own copy below.
thread_local ModuleData* bound = nullptr;

}  // namespace

ModuleData& Module() {
  if (bound) return *bound;
  thread_local ModuleData data = FreshModule(Ports{});
  return data;
}

void BindModule(ModuleData* data) { bound = data; }

void ResetModule(const Ports& ports) { Module() = FreshModule(ports); }

}  // namespace h5
