// The dictionary read from the program's own resources under Wine: this test exe carries the
// shipped toolbar1.mld as its resource "MlDictionary" of type POLYVERBUM (dictionary.rc).
#include <gtest/gtest.h>

#include "framework/context.h"
#include "i18n/binary_dictionary.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_windows.h"
#include "real_platform.h"

namespace vsi {
namespace {

class Win32ResourceDictionary : public ::testing::Test, protected RealPlatform<> {};

TEST_F(Win32ResourceDictionary, TheLoaderReadsTheModulesResource) {
  Bytes data;
  ASSERT_TRUE(win.platform().system.LoadModuleResource("MlDictionary", "POLYVERBUM", data));
  ASSERT_GE(data.size(), 42u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 3), "MLD");
  Bytes again;
  EXPECT_TRUE(win.platform().system.LoadModuleResource("mldictionary", "polyverbum", again)) << "any case";
  EXPECT_EQ(again, data);
  EXPECT_FALSE(win.platform().system.LoadModuleResource("NoSuchDictionary", "POLYVERBUM", again));
}

TEST_F(Win32ResourceDictionary, ResourceStorageTranslatesWithTheShippedDictionary) {
  auto* dict = new TIvBinaryDictionary(&root);
  dict->SetFileName("toolbar1.mld");
  dict->SetStorage(ivsResource);
  dict->SetLanguage(0);
  ASSERT_TRUE(dict->CanOpen());
  dict->Open();
  ASSERT_TRUE(dict->Active());
  EXPECT_EQ(dict->LanguageCount(), 8);
  dict->SetLanguage(2);
  EXPECT_EQ(TranslateText(dict, "Free Space"), "Freier Speicher");
  dict->SetLanguage(1);
  EXPECT_EQ(TranslateText(dict, "Network Information"), "Informations r\xE9seau");
  locale.SetThreadLocale(0x0409);
}

}  // namespace
}  // namespace vsi
