// The registry fake behaves as the real one where the logic depends on it.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fake_registry.h"

namespace vsi::fake {
namespace {

class FakeRegistryTest : public ::testing::Test {
 protected:
  uint32_t ReadDword(RegKey key, const std::string& name, WinError& err) {
    uint32_t v = 0xDEADBEEF, size = 4, type = 0;
    err = reg.QueryValue(key, name, &type, reinterpret_cast<uint8_t*>(&v), size);
    return v;
  }
  FakeRegistry reg;
};

TEST_F(FakeRegistryTest, KeysAndValuesIgnoreCaseAndHandlesMustBeClosed) {
  reg.SetDword(HKEY_LOCAL_MACHINE_, "Software\\Velmora", "Count", 7);
  RegKey k = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_LOCAL_MACHINE_, "SOFTWARE\\velmora", KEY_READ_, k), WinError::Success);
  EXPECT_EQ(reg.OpenHandleCount(), 1);
  WinError err;
  EXPECT_EQ(ReadDword(k, "COUNT", err), 7u);
  EXPECT_EQ(err, WinError::Success);
  EXPECT_EQ(reg.HandleAccess(k), KEY_READ_);
  EXPECT_EQ(reg.HandlePath(k), "Software\\Velmora");
  EXPECT_EQ(reg.CloseKey(k), WinError::Success);
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  EXPECT_EQ(reg.CloseKey(k), WinError::InvalidHandle);
}

TEST_F(FakeRegistryTest, OpenFailuresLeaveTheOutputUntouched) {
  reg.AddKey(HKEY_LOCAL_MACHINE_, "Hardware\\Description");
  reg.DenyAccess(HKEY_LOCAL_MACHINE_, "Hardware", KEY_SET_VALUE_);
  struct Case {
    const char* name;
    std::string path;
    uint32_t access;
    WinError expected;
  } cases[] = {
      {"missing key", "Nothing\\Here", KEY_READ_, WinError::FileNotFound},
      {"leading backslash", "\\Hardware", KEY_READ_, kBadPathname},
      {"write denied below", "Hardware\\Description", KEY_ALL_ACCESS_, WinError::AccessDenied},
  };
  for (const auto& c : cases) {
    RegKey out = 0x77;
    EXPECT_EQ(reg.OpenKey(HKEY_LOCAL_MACHINE_, c.path, c.access, out), c.expected) << c.name;
    EXPECT_EQ(out, 0x77u) << c.name;
  }
  RegKey k = 0;
  EXPECT_EQ(reg.OpenKey(HKEY_LOCAL_MACHINE_, "Hardware\\Description", KEY_READ_, k), WinError::Success);
  reg.CloseKey(k);
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST_F(FakeRegistryTest, ReadOnlyHandleCannotWriteAndCreateKeepsCase) {
  RegKey k = 0;
  ASSERT_EQ(reg.CreateKey(HKEY_CURRENT_USER_, "Software\\Velmora\\Settings", KEY_READ_, k), WinError::Success);
  const uint8_t data[] = {'x', 0};
  EXPECT_EQ(reg.SetValue(k, "Language1", REG_SZ_, data, 2), WinError::AccessDenied);
  reg.CloseKey(k);
  ASSERT_EQ(reg.CreateKey(HKEY_CURRENT_USER_, "SOFTWARE\\Velmora\\Settings", KEY_ALL_ACCESS_, k), WinError::Success);
  EXPECT_EQ(reg.SetValue(k, "Language1", REG_SZ_, data, 2), WinError::Success);
  EXPECT_EQ(reg.HandlePath(k), "Software\\Velmora\\Settings");
  reg.CloseKey(k);
  EXPECT_EQ(reg.GetString(HKEY_CURRENT_USER_, "software\\velmora\\settings", "language1"), "x");
}

TEST_F(FakeRegistryTest, QueryValueSizeContract) {
  reg.SetString(HKEY_CURRENT_USER_, "K", "Text", "hello");
  RegKey k = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_CURRENT_USER_, "K", KEY_READ_, k), WinError::Success);
  uint32_t size = 0, type = 0;
  EXPECT_EQ(reg.QueryValue(k, "Text", &type, nullptr, size), WinError::Success);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, REG_SZ_);
  uint8_t small[3] = {1, 2, 3};
  size = 3;
  EXPECT_EQ(reg.QueryValue(k, "Text", nullptr, small, size), WinError::MoreData);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(small[0], 1);
  reg.FailValueRead(HKEY_CURRENT_USER_, "K", "Text", WinError::AccessDenied);
  char buf[16] = {};
  size = sizeof buf;
  EXPECT_EQ(reg.QueryValue(k, "Text", nullptr, reinterpret_cast<uint8_t*>(buf), size), WinError::AccessDenied);
  EXPECT_EQ(reg.ReadCount(HKEY_CURRENT_USER_, "k", "TEXT"), 3);
  reg.CloseKey(k);
}

TEST_F(FakeRegistryTest, DeletedKeyFailsThroughOpenHandle) {
  reg.SetDword(HKEY_CURRENT_USER_, "A\\B", "V", 1);
  RegKey k = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_CURRENT_USER_, "A\\B", KEY_READ_, k), WinError::Success);
  EXPECT_TRUE(reg.DeleteKey(HKEY_CURRENT_USER_, "A"));
  WinError err;
  ReadDword(k, "V", err);
  EXPECT_EQ(err, kKeyDeleted);
  EXPECT_FALSE(reg.HasKey(HKEY_CURRENT_USER_, "A\\B"));
  reg.CloseKey(k);
}

TEST_F(FakeRegistryTest, PerfDataAnswersMoreDataUntilTheBufferFits) {
  reg.QueuePerfData(Bytes(5000, 0xAB));
  reg.QueuePerfData(Bytes(10, 0xCD));
  Bytes buf(4096);
  uint32_t size = 4096;
  EXPECT_EQ(reg.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, buf.data(), size), WinError::MoreData);
  buf.resize(8192);
  size = 8192;
  EXPECT_EQ(reg.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, buf.data(), size), WinError::Success);
  EXPECT_EQ(size, 5000u);
  EXPECT_EQ(buf[4999], 0xAB);
  for (int i = 0; i < 2; ++i) {  // the last block repeats
    size = 8192;
    EXPECT_EQ(reg.QueryValue(HKEY_PERFORMANCE_DATA_, "238", nullptr, buf.data(), size), WinError::Success);
    EXPECT_EQ(size, 10u);
  }
  EXPECT_EQ(reg.PerfRequestSizes(), (std::vector<uint32_t>{4096, 8192, 8192, 8192}));
  EXPECT_EQ(reg.PerfDeliveries(), 3);
  size = 8192;
  EXPECT_EQ(reg.QueryValue(HKEY_PERFORMANCE_DATA_, "999", nullptr, buf.data(), size), WinError::FileNotFound);
}

TEST_F(FakeRegistryTest, DynamicValueIsMadeOnEveryRead) {
  uint32_t next = 10;
  reg.SetDynamic(HKEY_DYN_DATA_, "PerfStats\\StatData", "KERNEL\\CPUUsage", REG_DWORD_, [&] {
    Bytes b(4);
    std::memcpy(b.data(), &next, 4);
    next += 5;
    return b;
  });
  RegKey k = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_DYN_DATA_, "PerfStats\\StatData", KEY_READ_, k), WinError::Success);
  WinError err;
  EXPECT_EQ(ReadDword(k, "KERNEL\\CPUUsage", err), 10u);
  EXPECT_EQ(ReadDword(k, "kernel\\cpuusage", err), 15u);
  reg.CloseKey(k);
}

TEST_F(FakeRegistryTest, EnumerationNeedsRightsAndEndsWithNoMoreItems) {
  reg.AddKey(HKEY_LOCAL_MACHINE_, "Cards\\1");
  reg.AddKey(HKEY_LOCAL_MACHINE_, "Cards\\2");
  RegKey k = 0;
  ASSERT_EQ(reg.OpenKey(HKEY_LOCAL_MACHINE_, "Cards", KEY_QUERY_VALUE_, k), WinError::Success);
  std::string name;
  EXPECT_EQ(reg.EnumKey(k, 0, name), WinError::AccessDenied);
  reg.CloseKey(k);
  ASSERT_EQ(reg.OpenKey(HKEY_LOCAL_MACHINE_, "Cards", KEY_READ_, k), WinError::Success);
  EXPECT_EQ(reg.EnumKey(k, 1, name), WinError::Success);
  EXPECT_EQ(name, "2");
  EXPECT_EQ(reg.EnumKey(k, 2, name), WinError::NoMoreItems);
  reg.CloseKey(k);
}

}  // namespace
}  // namespace vsi::fake
