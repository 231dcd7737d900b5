// Creating the main window's non-visual components against the fake, as the window
// description does: each made by class name in the window's order with its stored settings,
// then "loaded" in the same order. This covers the probes' constructors, the two processor
// identifications of SysInfo1 and SysInfo2 and the six retrievals of the AutoRetrieve
// components. It must stay well under 20 ms.
#include <benchmark/benchmark.h>

#include <vector>

#include "app/program.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "sysinfo/general_info.h"
#include "sysinfo/windows_version.h"

namespace vsi {
namespace {

struct Setting {
  const char* name;
  PropValue value;
};
struct Row {
  const char* className;
  const char* name;
  std::vector<Setting> settings;
};

const PropValue kTrue = PropValue(int64_t{1});

std::vector<Row> MainWindowComponents() {
  return {
      {"TTimer", "Timer1", {{"Interval", PropValue(int64_t{1000})}, {"Enabled", kTrue}}},
      {"TSysInfo", "SysInfo1", {}},
      {"TAVTools", "AVTools1", {}},
      {"TSysSystemInfo", "SysZeruzoRazo1", {}},
      {"TSysDisplay", "SysDisplay1", {{"AutoRetrieve", kTrue}}},
      {"TSysWindows", "SysWindows1", {{"AutoRetrieve", kTrue}}},
      {"TSysProcessor", "SysProcessor1", {}},
      {"TSysNetwork", "SysNetwork1", {{"AutoRetrieve", kTrue}}},
      {"TSysNetwork", "SysNetwork2", {}},
      {"TSysDrive", "SysDrive1", {{"AutoRetrieve", kTrue}}},
      {"TDiskInfo", "DiskInfo1", {{"Disk", PropValue(AnsiString("C"))}}},
      {"TOtherInfo", "OtherInfo1", {}},
      {"TWinInfo", "WinInfo1", {}},
      {"TSystemInfo", "ZeruzoRazo1", {}},
      {"TSysKeyboard", "SysKeyboard1", {{"AutoRetrieve", kTrue}}},
      {"TSysLocale", "SysLocale1", {{"AutoRetrieve", kTrue}}},
      {"TSysInfo", "SysInfo2", {}},
      {"TIvBinaryDictionary",
       "IvDictionary1",
       {{"DictionaryName", PropValue(AnsiString("Dictionary1"))},
        {"FileName", PropValue(AnsiString("toolbar1.mld"))},
        {"Language", PropValue(int64_t{0})},
        {"SubLanguage", PropValue(int64_t{0})}}},
      {"TIvTranslator", "IvTranslator1", {{"DictionaryName", PropValue(AnsiString("Dictionary1"))}}},
  };
}

// A machine as the fake describes it, with the registry keys the retrievals read.
void ArrangeMachine(fake::FakePlatform& fp) {
  auto& reg = fp.registry;
  const std::string version = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  reg.SetString(HKEY_LOCAL_MACHINE_, version, "ProductName", "Microsoft Windows 7");
  reg.SetString(HKEY_LOCAL_MACHINE_, version, "RegisteredOwner", "Ada");
  reg.SetString(HKEY_LOCAL_MACHINE_, version, "RegisteredOrganization", "Velmora");
  reg.SetString(HKEY_LOCAL_MACHINE_, version, "ProductID", "00000-000-0000000-00000");
  for (int n = 0; n < 4; ++n) {
    const std::string cpu = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(n);
    reg.SetString(HKEY_LOCAL_MACHINE_, cpu, "VendorIdentifier", "GenuineIntel");
    reg.SetString(HKEY_LOCAL_MACHINE_, cpu, "Identifier", "Intel64 Family 6 Model 58 Stepping 9");
    reg.SetDword(HKEY_LOCAL_MACHINE_, cpu, "~MHz", 2494);
  }
  reg.SetString(HKEY_LOCAL_MACHINE_, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                "ComputerName", "VELMORA-PC");
  const std::string desktop = "Control Panel\\Desktop";
  reg.SetString(HKEY_CURRENT_USER_, desktop, "Wallpaper", "C:\\WINDOWS\\web.bmp");
  reg.SetString(HKEY_CURRENT_USER_, desktop, "TileWallpaper", "0");
  reg.SetString(HKEY_CURRENT_USER_, desktop, "WallpaperStyle", "2");
  reg.SetString(HKEY_CURRENT_USER_, desktop, "SCRNSAVE.EXE", "C:\\WINDOWS\\system32\\scrnsave.scr");
  for (const char* name : {"(None)", "Boxes", "Critters", "Diamonds", "Paisley", "Quilt", "Scottie", "Weave"})
    reg.SetString(HKEY_CURRENT_USER_, "Control Panel\\Patterns", name, "0 0 0 0 0 0 0 0");
}

void BM_CreateMainWindowComponents(benchmark::State& state) {
  RegisterAllClasses();
  fake::FakePlatform fp;
  ArrangeMachine(fp);
  AppContext ctx(fp.platform());
  const std::vector<Row> rows = MainWindowComponents();
  for (auto _ : state) {
    TComponent root(ctx);
    std::vector<TComponent*> made;
    made.reserve(rows.size());
    for (const Row& row : rows) {
      TComponent* c = CreateComponent(row.className, &root);
      c->SetLoading(true);
      c->SetName(row.name);
      for (const Setting& s : row.settings) SetProp(*c, s.name, s.value);
      made.push_back(c);
    }
    for (TComponent* c : made) c->Loaded();
    // A creation that skipped its retrievals would measure nothing worth knowing.
    int retrieved = 0;
    for (TComponent* c : made)
      if (c->Is<TSysBaseComponent>() && static_cast<TSysBaseComponent*>(c)->Retrieved()) ++retrieved;
    auto* windows = static_cast<TSysWindows*>(root.FindComponent("SysWindows1"));
    if (retrieved != 6 || windows->Windows()->ProductName() != "Microsoft Windows 7") {
      state.SkipWithError("the AutoRetrieve components did not all retrieve");
      break;
    }
  }
}
BENCHMARK(BM_CreateMainWindowComponents)->Unit(benchmark::kMillisecond);

// The two texts the window reads from SysInfo1 at first show.
void BM_SysInfoSlots(benchmark::State& state) {
  fake::FakePlatform fp;
  AppContext ctx(fp.platform());
  TComponent root(ctx);
  auto* info = new TSysInfo(&root);
  for (auto _ : state) {
    AnsiString memory = info->MemoryLoaded();
    AnsiString processor = info->ProcessorType();
    benchmark::DoNotOptimize(memory);
    benchmark::DoNotOptimize(processor);
  }
}
BENCHMARK(BM_SysInfoSlots);

}  // namespace
}  // namespace vsi
