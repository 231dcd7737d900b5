// The probes and start components as the shipped main window's description creates them:
// stored values of read-only properties load without effect, AutoRetrieve components retrieve
// once everything is set. Each variation is the shipped description with one named value
// changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "app/window_descriptions.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/forms.h"
#include "probes/disk_probes.h"
#include "probes/register.h"
#include "sysinfo/drive.h"
#include "sysinfo/register.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

// The named components of the shipped main window, as its description stores them, on a
// plain form.
DescNode ShippedComponents(std::initializer_list<std::string> names) {
  const DescNode shipped = ParseDescription(std::string(WindowDescription("main")));
  DescNode root;
  root.className = "TForm";
  root.name = "Main";
  for (const DescNode& child : shipped.children)
    if (std::find(names.begin(), names.end(), child.name) != names.end()) root.children.push_back(child);
  EXPECT_EQ(root.children.size(), names.size()) << "a component is missing from main.desc";
  return root;
}

// One named value of a component: replaced where it is stored, added where it is not.
void SetValue(DescNode& root, const std::string& component, const std::string& path, DescValue value) {
  for (DescNode& child : root.children) {
    if (child.name != component) continue;
    for (DescProperty& p : child.properties)
      if (p.path == path) {
        p.value = std::move(value);
        return;
      }
    child.properties.push_back(DescProperty{path, std::move(value), 0});
    return;
  }
  ADD_FAILURE() << "no component " << component;
}

DescValue Text(const char* s) {
  DescValue v;
  v.type = DescValue::Type::String;
  v.text = s;
  return v;
}
DescValue Number(int64_t n) {
  DescValue v;
  v.integer = n;
  return v;
}
DescValue Name(const char* s) {
  DescValue v;
  v.type = DescValue::Type::Ident;
  v.text = s;
  return v;
}

class StartDescription : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterProbeClasses();
    RegisterSysinfoClasses();
    fake::FakeDrive e;
    e.label = "DATA";
    e.serial = 0x00C0FFEE;
    e.totalBytes = 5000;
    fp.volumes.AddDrive('E', e);
    fp.locale.SetInfo(0x0409, LOCALE_IDATE_, "1");
  }
  TForm& Load(const DescNode& node) {
    auto* form = new TForm(&root);
    ApplyDescription(*form, node);
    return *form;
  }
  template <class T>
  T& Get(TForm& form, const char* name) {
    auto* c = dynamic_cast<T*>(form.FindComponent(name));
    if (!c) throw std::runtime_error(std::string("no ") + name);
    return *c;
  }
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TComponent root{ctx};
};

TEST_F(StartDescription, ShippedComponentsRetrieveOnceLoaded) {
  TForm& form = Load(ShippedComponents({"SysNetwork2", "SysDrive1", "DiskInfo1", "SysLocale1"}));
  auto& disk = Get<TDiskInfo>(form, "DiskInfo1");
  EXPECT_EQ(disk.Disk(), 'C');
  EXPECT_EQ(disk.VolumeLabel(), "SYSTEM");
  auto& drive = Get<TSysDrive>(form, "SysDrive1");
  EXPECT_TRUE(drive.Retrieved());
  EXPECT_EQ(drive.Drive()->SerialNumber(), "1234-ABCD");
  EXPECT_EQ(Get<TSysLocale>(form, "SysLocale1").Locale()->Get(lpShortDateOrder), "DMY");
  auto& network = Get<TSysNetwork>(form, "SysNetwork2");
  EXPECT_FALSE(network.Retrieved()) << "no AutoRetrieve";
  EXPECT_EQ(network.Network()->UserName(), "");
}

TEST_F(StartDescription, AnotherStoredDiskIsTheOneMeasured) {
  DescNode node = ShippedComponents({"DiskInfo1"});
  SetValue(node, "DiskInfo1", "Disk", Text("e"));
  auto& disk = Get<TDiskInfo>(Load(node), "DiskInfo1");
  EXPECT_EQ(disk.Disk(), 'E');
  EXPECT_EQ(disk.SerialNumberStr(), "00C0-FFEE");
  EXPECT_EQ(disk.VolumeLabel(), "DATA");
  EXPECT_EQ(disk.DriveType(), dtFixed);
  EXPECT_EQ(disk.DiskSize(), 5000);
}

// A stored value of a property the probe computes itself loads without effect.
TEST_F(StartDescription, StoredValuesOfReadOnlyPropertiesLoadWithoutEffect) {
  auto& shipped = Get<TDiskInfo>(Load(ShippedComponents({"DiskInfo1"})), "DiskInfo1");
  struct Case {
    const char* path;
    DescValue value;
  } cases[] = {
      {"SerialNumberStr", Text("FFFF-FFFF")}, {"SerialNumber", Number(7)}, {"VolumeLabel", Text("old")},
      {"FileSystem", Text("FAT")},            {"DriveType", Name("dtRAM")}, {"DiskSize", Number(1)},
      {"DiskFree", Number(2)},
  };
  for (const Case& c : cases) {
    DescNode node = ShippedComponents({"DiskInfo1"});
    SetValue(node, "DiskInfo1", c.path, c.value);
    auto& disk = Get<TDiskInfo>(Load(node), "DiskInfo1");
    EXPECT_EQ(disk.SerialNumberStr(), shipped.SerialNumberStr()) << c.path;
    EXPECT_EQ(disk.SerialNumber(), shipped.SerialNumber()) << c.path;
    EXPECT_EQ(disk.VolumeLabel(), shipped.VolumeLabel()) << c.path;
    EXPECT_EQ(disk.FileSystem(), shipped.FileSystem()) << c.path;
    EXPECT_EQ(disk.DriveType(), shipped.DriveType()) << c.path;
    EXPECT_EQ(disk.DiskSize(), shipped.DiskSize()) << c.path;
    EXPECT_EQ(disk.DiskFree(), shipped.DiskFree()) << c.path;
  }
}

}  // namespace
}  // namespace vsi
