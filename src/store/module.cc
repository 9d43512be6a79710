#include "store/module.h"

namespace h5 {
namespace {

ModuleData FreshModule(const Ports& ports) {
  ModuleData data;
  data.ports = ports;
  // Record lengths of the files behind each block.
  data.himoku.record.resize(68);
  data.credit.record.resize(60);
  data.bikou.record.resize(32);
  data.tani.record.resize(12);
  data.kyuyo.record.resize(26);
  data.yosan.record.resize(12);
  data.suitou.record.resize(79);
  data.bunkatu.record.resize(27);
  data.zandaka.record.resize(14);
  data.start.record.resize(8);
  data.kankyou.record.resize(308);
  data.kyuyo_kingaku.record.resize(26);
  data.kikan.record.resize(12);
  return data;
}

}  // namespace

ModuleData& Module() {
  thread_local ModuleData data = FreshModule(Ports{});
  return data;
}

void ResetModule(const Ports& ports) { Module() = FreshModule(ports); }

}  // namespace h5
