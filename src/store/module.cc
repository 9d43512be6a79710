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

}  // namespace

ModuleData& Module() {
  thread_local ModuleData data = FreshModule(Ports{});
  return data;
}

void ResetModule(const Ports& ports) { Module() = FreshModule(ports); }

}  // namespace h5
