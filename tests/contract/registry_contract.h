#pragma once
// What every IRegistry must answer as RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA,
// RegSetValueExA and RegEnum*A do: written once, run against the in-memory registry in the
// unit tests and against the system's under Wine, so that the two cannot drift apart.
//
// A subject gives `IRegistry& Registry()` and `RegKey Scratch()`: an empty key of its own,
// opened with all access, that the test may fill.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/registry.h"

namespace vsi::contract {

template <class Subject>
class RegistryContract : public ::testing::Test {
 protected:
  WinError Set(const std::string& name, uint32_t type, const Bytes& data) {
    return reg.SetValue(key, name, type, data.data(), static_cast<uint32_t>(data.size()));
  }
  static Bytes Text(const char* s, size_t withZero) { return Bytes(s, s + withZero); }
  // The value's type and bytes, asked as a reader does: its size first, then the data.
  WinError Get(const std::string& name, uint32_t& type, Bytes& data) {
    uint32_t size = 0;
    WinError e = reg.QueryValue(key, name, &type, nullptr, size);
    if (!Succeeded(e)) return e;
    data.assign(size + 8, 0xEE);
    uint32_t given = static_cast<uint32_t>(data.size());
    e = reg.QueryValue(key, name, &type, data.data(), given);
    EXPECT_EQ(given, size) << name << ": the size asked and the size read agree";
    data.resize(given);
    return e;
  }

  Subject subject;
  IRegistry& reg = subject.Registry();
  RegKey key = subject.Scratch();
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, AMissingValueOrKeyIsFileNotFoundAndTouchesNothing) {
  uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  uint32_t size = sizeof buffer;
  EXPECT_EQ(this->reg.QueryValue(this->key, "Absent", nullptr, buffer, size), WinError::FileNotFound);
  EXPECT_EQ(buffer[0], 1) << "nothing written";
  RegKey out = 12345;
  EXPECT_EQ(this->reg.OpenKey(this->key, "Absent", KEY_READ_, out), WinError::FileNotFound);
  EXPECT_EQ(out, 12345u) << "the handle is left as it was";
  EXPECT_EQ(this->reg.OpenKey(this->key, "Absent\\Deeper", KEY_READ_, out), WinError::FileNotFound);
}

TYPED_TEST_P(RegistryContract, AStringReadsBackWithItsZeroAndItsType) {
  ASSERT_EQ(this->Set("Language1", REG_SZ_, this->Text("French", 7)), WinError::Success);
  uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(this->Get("Language1", type, data), WinError::Success);
  EXPECT_EQ(type, REG_SZ_);
  EXPECT_EQ(data, this->Text("French", 7));
  // Neither the type nor the data need be asked for.
  uint32_t size = 0;
  EXPECT_EQ(this->reg.QueryValue(this->key, "Language1", nullptr, nullptr, size), WinError::Success);
  EXPECT_EQ(size, 7u);
}

TYPED_TEST_P(RegistryContract, ABufferTooSmallIsMoreDataWithTheSizeNeeded) {
  ASSERT_EQ(this->Set("Language1", REG_SZ_, this->Text("Portuguese", 11)), WinError::Success);
  ASSERT_EQ(this->Set("Blob", REG_BINARY_, Bytes{1, 2, 3, 4, 5}), WinError::Success);
  struct Row {
    const char* name;
    uint32_t given, needed;
  } rows[] = {{"Language1", 4, 11}, {"Language1", 10, 11}, {"Blob", 4, 5}, {"Blob", 1, 5}};
  for (const Row& r : rows) {
    uint8_t buffer[16];
    uint32_t size = r.given;
    uint32_t type = 0;
    EXPECT_EQ(this->reg.QueryValue(this->key, r.name, &type, buffer, size), WinError::MoreData) << r.name << r.given;
    EXPECT_EQ(size, r.needed) << r.name << " given " << r.given;
  }
  uint8_t exact[5];
  uint32_t size = sizeof exact;
  EXPECT_EQ(this->reg.QueryValue(this->key, "Blob", nullptr, exact, size), WinError::Success) << "exactly enough";
  EXPECT_EQ(size, 5u);
}

TYPED_TEST_P(RegistryContract, ADwordIsFourBytesLowByteFirst) {
  const uint32_t value = 0x12345678;
  Bytes bytes(4);
  std::memcpy(bytes.data(), &value, 4);
  ASSERT_EQ(this->Set("Place", REG_DWORD_, bytes), WinError::Success);
  uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(this->Get("Place", type, data), WinError::Success);
  EXPECT_EQ(type, REG_DWORD_);
  EXPECT_EQ(data, (Bytes{0x78, 0x56, 0x34, 0x12}));
}

// A reader that expects a string finds the type the writer gave, whatever it was: the type,
// not the bytes, says what a value is.
TYPED_TEST_P(RegistryContract, EachValueKeepsTheTypeAndBytesItWasWrittenWith) {
  const char expand[] = "%SystemRoot%\\system32";
  const char multi[] = "one\0two\0";
  struct Row {
    const char* name;
    uint32_t type;
    Bytes data;
  } rows[] = {
      {"Binary", REG_BINARY_, {0, 0xFF, 0x80, 7}},
      {"Expand", REG_EXPAND_SZ_, Bytes(expand, expand + sizeof expand)},
      {"Multi", REG_MULTI_SZ_, Bytes(multi, multi + sizeof multi)},
      {"Qword", REG_QWORD_, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"Nothing", REG_NONE_, {}},
      {"Number", REG_DWORD_, {42, 0, 0, 0}},
  };
  for (const Row& r : rows) ASSERT_EQ(this->Set(r.name, r.type, r.data), WinError::Success) << r.name;
  for (const Row& r : rows) {
    uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(this->Get(r.name, type, data), WinError::Success) << r.name;
    EXPECT_EQ(type, r.type) << r.name;
    EXPECT_EQ(data, r.data) << r.name;
  }
  // Written again with another type: both replaced.
  ASSERT_EQ(this->Set("Number", REG_SZ_, this->Text("42", 3)), WinError::Success);
  uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(this->Get("Number", type, data), WinError::Success);
  EXPECT_EQ(type, REG_SZ_);
  EXPECT_EQ(data, this->Text("42", 3));
}

TYPED_TEST_P(RegistryContract, NamesOfKeysAndValuesIgnoreCase) {
  RegKey sub = 0;
  ASSERT_EQ(this->reg.CreateKey(this->key, "Settings\\Window", KEY_ALL_ACCESS_, sub), WinError::Success);
  ASSERT_EQ(this->reg.SetValue(sub, "Language1", REG_SZ_, reinterpret_cast<const uint8_t*>("Dutch"), 6),
            WinError::Success);
  EXPECT_EQ(this->reg.CloseKey(sub), WinError::Success);
  RegKey again = 0;
  ASSERT_EQ(this->reg.OpenKey(this->key, "SETTINGS\\window", KEY_READ_, again), WinError::Success);
  uint32_t size = 0;
  EXPECT_EQ(this->reg.QueryValue(again, "LANGUAGE1", nullptr, nullptr, size), WinError::Success);
  EXPECT_EQ(size, 6u);
  this->reg.CloseKey(again);
}

TYPED_TEST_P(RegistryContract, CreatingAKeyThatExistsOpensItWithItsValues) {
  RegKey first = 0, second = 0;
  ASSERT_EQ(this->reg.CreateKey(this->key, "Settings", KEY_ALL_ACCESS_, first), WinError::Success);
  ASSERT_EQ(this->reg.SetValue(first, "Language1", REG_SZ_, reinterpret_cast<const uint8_t*>("Dutch"), 6),
            WinError::Success);
  this->reg.CloseKey(first);
  ASSERT_EQ(this->reg.CreateKey(this->key, "Settings", KEY_ALL_ACCESS_, second), WinError::Success);
  char text[8] = {};
  uint32_t size = sizeof text;
  EXPECT_EQ(this->reg.QueryValue(second, "Language1", nullptr, reinterpret_cast<uint8_t*>(text), size),
            WinError::Success);
  EXPECT_STREQ(text, "Dutch");
  this->reg.CloseKey(second);
}

TYPED_TEST_P(RegistryContract, TheDefaultValueIsTheOneWithoutAName) {
  uint32_t size = 0;
  EXPECT_EQ(this->reg.QueryValue(this->key, "", nullptr, nullptr, size), WinError::FileNotFound)
      << "a new key has no default value";
  ASSERT_EQ(this->Set("", REG_SZ_, this->Text("default", 8)), WinError::Success);
  uint32_t type = 0;
  Bytes data;
  ASSERT_EQ(this->Get("", type, data), WinError::Success);
  EXPECT_EQ(data, this->Text("default", 8));
}

TYPED_TEST_P(RegistryContract, EnumerationNamesEverySubkeyAndValueThenNoMoreItems) {
  for (const char* name : {"Beta", "Alpha"}) {
    RegKey sub = 0;
    ASSERT_EQ(this->reg.CreateKey(this->key, name, KEY_ALL_ACCESS_, sub), WinError::Success);
    this->reg.CloseKey(sub);
  }
  ASSERT_EQ(this->Set("Two", REG_DWORD_, {2, 0, 0, 0}), WinError::Success);
  ASSERT_EQ(this->Set("One", REG_DWORD_, {1, 0, 0, 0}), WinError::Success);
  std::set<std::string> keys, values;
  std::string name;
  uint32_t i = 0;
  for (; i < 10 && Succeeded(this->reg.EnumKey(this->key, i, name)); ++i) keys.insert(name);
  EXPECT_EQ(i, 2u);
  EXPECT_EQ(this->reg.EnumKey(this->key, 2, name), WinError::NoMoreItems);
  for (i = 0; i < 10 && Succeeded(this->reg.EnumValue(this->key, i, name)); ++i) values.insert(name);
  EXPECT_EQ(i, 2u);
  EXPECT_EQ(this->reg.EnumValue(this->key, 2, name), WinError::NoMoreItems);
  EXPECT_EQ(keys, (std::set<std::string>{"Alpha", "Beta"}));
  EXPECT_EQ(values, (std::set<std::string>{"One", "Two"}));
}

TYPED_TEST_P(RegistryContract, ClosingAPredefinedRootIsHarmless) {
  EXPECT_EQ(this->reg.CloseKey(HKEY_CURRENT_USER_), WinError::Success);
  RegKey software = 0;
  ASSERT_EQ(this->reg.OpenKey(HKEY_CURRENT_USER_, "Software", KEY_READ_, software), WinError::Success)
      << "the root still works";
  this->reg.CloseKey(software);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, AMissingValueOrKeyIsFileNotFoundAndTouchesNothing,
                            AStringReadsBackWithItsZeroAndItsType, ABufferTooSmallIsMoreDataWithTheSizeNeeded,
                            ADwordIsFourBytesLowByteFirst, EachValueKeepsTheTypeAndBytesItWasWrittenWith,
                            NamesOfKeysAndValuesIgnoreCase, CreatingAKeyThatExistsOpensItWithItsValues,
                            TheDefaultValueIsTheOneWithoutAName, EnumerationNamesEverySubkeyAndValueThenNoMoreItems,
                            ClosingAPredefinedRootIsHarmless);

}  // namespace vsi::contract
