#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "sysinfo/start_objects.h"

namespace vsi {
namespace {

constexpr const char* kCards = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr const char* kComputerName = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
constexpr const char* kServices = "SYSTEM\\CurrentControlSet\\Services\\";

Bytes Raw(const std::string& s) { return Bytes(s.begin(), s.end()); }

class NetworkTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TSysNetworkObject net{ctx};

  void AddCard(const std::string& key, const std::string& description, const std::string& service) {
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\" + key, "Description", description);
    fp.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\" + key, "ServiceName", service);
  }
  // Only reading rights under HKEY_LOCAL_MACHINE, as for an ordinary user.
  void ReadOnlyMachine() {
    fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SYSTEM", fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_);
    fp.registry.DenyAccess(HKEY_LOCAL_MACHINE_, "SOFTWARE", fake::KEY_SET_VALUE_ | fake::KEY_CREATE_SUB_KEY_);
  }
};

TEST_F(NetworkTest, UserAndComputerName) {
  ReadOnlyMachine();
  fp.volumes.networkUser = "alice";
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kComputerName, "ComputerName", "VELMORA-PC");
  net.Retrieve();
  EXPECT_EQ(net.UserName(), "alice");
  EXPECT_EQ(net.ComputerName(), "VELMORA-PC");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(NetworkTest, FailingUserQueryGivesEmptyName) {
  fp.volumes.networkUser = "alice";
  net.Retrieve();
  fp.volumes.networkUserError = WinError::NotConnected;
  net.Retrieve();
  EXPECT_EQ(net.UserName(), "");
}

TEST_F(NetworkTest, MissingComputerNameKeyGivesEmptyName) {
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, kComputerName, "ComputerName", "OLD");
  net.Retrieve();
  fp.registry.DeleteKey(HKEY_LOCAL_MACHINE_, kComputerName);
  net.Retrieve();
  EXPECT_EQ(net.ComputerName(), "");
}

TEST_F(NetworkTest, ConnectedAndSharedResources) {
  fp.volumes.networkResources[RESOURCE_CONNECTED_] = {"\\\\server\\share", "\\\\print\\laser"};
  fp.volumes.networkResources[RESOURCE_CONTEXT_] = {"\\\\VELMORA-PC"};
  net.Retrieve();
  net.Retrieve();  // refilled, not appended
  ASSERT_EQ(net.ConnectedResources()->Count(), 2);
  EXPECT_EQ(net.ConnectedResources()->Strings(0), "\\\\server\\share");
  EXPECT_EQ(net.ConnectedResources()->Strings(1), "\\\\print\\laser");
  ASSERT_EQ(net.SharedResources()->Count(), 1);
  EXPECT_EQ(net.SharedResources()->Strings(0), "\\\\VELMORA-PC");

  fp.volumes.networkEnumErrors[RESOURCE_CONNECTED_] = WinError::NotConnected;
  net.Retrieve();
  EXPECT_EQ(net.ConnectedResources()->Count(), 0);
  EXPECT_EQ(net.SharedResources()->Count(), 1);
}

TEST_F(NetworkTest, CardsWithTheirProtocols) {
  ReadOnlyMachine();
  AddCard("1", "Intel PRO/100", "E100B1");
  AddCard("2", "3Com EtherLink", "El90x1");
  const std::string tcp = std::string(kServices) + "E100B1\\Parameters\\TCPIP";
  fp.registry.SetRaw(HKEY_LOCAL_MACHINE_, tcp, "IPAddress", REG_MULTI_SZ_, Raw(std::string("192.168.1.5\0\0", 13)));
  fp.registry.SetString(HKEY_LOCAL_MACHINE_, tcp, "SubnetMask", "255.255.255.0");
  // No DefaultGateway value: empty text.
  fp.registry.SetRaw(HKEY_LOCAL_MACHINE_, std::string(kServices) + "Nbf\\Linkage", "Bind", REG_MULTI_SZ_,
                     Raw(std::string("\\Device\\Nbf_El90x1\0\\Device\\Nbf_NdisWan4\0\0", 40)));
  fp.registry.SetRaw(HKEY_LOCAL_MACHINE_, std::string(kServices) + "NwlnkIpx\\Linkage", "Bind", REG_MULTI_SZ_,
                     Raw(std::string("\\Device\\E100B1\0\0", 16)));
  fp.registry.SetRaw(HKEY_LOCAL_MACHINE_, std::string(kServices) + "NwlnkIpx\\Parameters\\Adapters\\E100B1",
                     "NetworkNumber", REG_MULTI_SZ_, Raw(std::string("00000000\0\0", 10)));
  net.Retrieve();

  TSysNetworkCards& cards = *net.NetworkCards();
  ASSERT_EQ(cards.Count(), 2);
  TSysNetworkCard& intel = *cards.Items(0);
  EXPECT_EQ(intel.Description(), "Intel PRO/100");
  EXPECT_EQ(intel.ServiceName(), "E100B1");
  EXPECT_TRUE(intel.TCPIP()->Installed());
  EXPECT_EQ(intel.TCPIP()->IPAddress(), std::string("192.168.1.5\0\0", 13));  // the raw multi-string
  EXPECT_EQ(intel.TCPIP()->IPSubnetMask(), std::string("255.255.255.0\0", 14));
  EXPECT_EQ(intel.TCPIP()->DefaultGateway(), "");
  EXPECT_FALSE(intel.NetBEUI()->Installed());
  EXPECT_TRUE(intel.IPX()->Installed());
  EXPECT_EQ(intel.IPX()->NetworkNumber(), std::string("00000000\0\0", 10));

  TSysNetworkCard& com = *cards.Items(1);
  EXPECT_FALSE(com.TCPIP()->Installed());
  EXPECT_TRUE(com.NetBEUI()->Installed());
  EXPECT_FALSE(com.IPX()->Installed());
  EXPECT_EQ(com.IPX()->NetworkNumber(), "");
  EXPECT_EQ(fp.registry.OpenHandleCount(), 0);
}

TEST_F(NetworkTest, HiddenCardIsSkippedAndRefreshDoesNotGrow) {
  AddCard("1", "Visible", "Svc1");
  AddCard("2", "Hidden adapter", "Svc2");
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\2", "Hidden", 1);
  AddCard("3", "Hidden 0", "Svc3");
  fp.registry.SetDword(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\3", "Hidden", 0);
  TComponent root(ctx);
  auto* c = new TSysNetwork(&root);
  c->Refresh();
  c->Refresh();
  TSysNetworkCards& cards = *c->Network()->NetworkCards();
  ASSERT_EQ(cards.Count(), 2);
  EXPECT_EQ(cards.Items(0)->Description(), "Visible");
  EXPECT_EQ(cards.Items(1)->Description(), "Hidden 0");
}

TEST_F(NetworkTest, MachineValuesOfTheWrongTypeAreLeftEmptyAndTheRestFill) {
  // Read while the window starts: one odd machine value must not stop it.
  struct Case {
    const char* name;
    const char* path;  // under HKEY_LOCAL_MACHINE
    const char* value;
  } cases[] = {
      {"hidden flag as text", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1", "Hidden"},
      {"description as a number", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1", "Description"},
      {"service name as a number", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\1", "ServiceName"},
      {"computer name as a number", kComputerName, "ComputerName"},
  };
  for (const Case& c : cases) {
    fake::FakePlatform p;
    AppContext context{p.platform()};
    TSysNetworkObject n{context};
    auto card = [&](const std::string& key, const char* description, const char* service) {
      p.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\" + key, "Description", description);
      p.registry.SetString(HKEY_LOCAL_MACHINE_, std::string(kCards) + "\\" + key, "ServiceName", service);
    };
    card("1", "Odd", "Svc1");
    card("2", "Plain", "Svc2");
    p.registry.SetString(HKEY_LOCAL_MACHINE_, kComputerName, "ComputerName", "VELMORA-PC");
    if (std::string(c.value) == "Hidden")
      p.registry.SetString(HKEY_LOCAL_MACHINE_, c.path, c.value, "1");
    else
      p.registry.SetDword(HKEY_LOCAL_MACHINE_, c.path, c.value, 1);
    ASSERT_NO_THROW(n.Retrieve()) << c.name;
    ASSERT_EQ(n.NetworkCards()->Count(), 2) << c.name;
    auto* odd = n.NetworkCards()->Items(0);
    EXPECT_EQ(odd->Description(), std::string(c.value) == "Description" ? "" : "Odd") << c.name;
    EXPECT_EQ(odd->ServiceName(), std::string(c.value) == "ServiceName" ? "" : "Svc1") << c.name;
    EXPECT_EQ(n.NetworkCards()->Items(1)->Description(), "Plain") << c.name;
    EXPECT_EQ(n.ComputerName(), std::string(c.value) == "ComputerName" ? "" : "VELMORA-PC") << c.name;
    EXPECT_EQ(p.registry.OpenHandleCount(), 0) << c.name;
    EXPECT_EQ(n.NetworkCards()->UpdateCount(), 0) << c.name;
  }
}

TEST_F(NetworkTest, NoCardsKeyGivesNoCards) {
  net.Retrieve();
  EXPECT_EQ(net.NetworkCards()->Count(), 0);
}

TEST(BindingNames, BlanksBetweenNamesAndServiceSearch) {
  struct Case {
    const char* name;
    std::string bind;
    std::string service;
    bool found;
  };
  const Case cases[] = {
      {"first name", std::string("\\Device\\Nbf_E100B1\0\\Device\\Nbf_X\0\0", 32), "E100B1", true},
      {"second name", std::string("\\Device\\Nbf_E100B1\0\\Device\\Nbf_X\0\0", 32), "Nbf_X", true},
      {"across a separator", std::string("ab\0cd\0\0", 7), "b c", true},
      {"not listed", std::string("\\Device\\Nbf_E100B1\0\0", 20), "El90x1", false},
      {"empty data", std::string(), "E100B1", false},
      {"empty service", std::string("x\0\0", 3), "", false},
      {"case matters", std::string("\\Device\\E100B1\0\0", 16), "e100b1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BindingNames(c.bind, c.service), c.found);
  }
}

// ---------------------------------------------------------------- keyboard

class KeyboardTest : public ::testing::Test {
 protected:
  fake::FakePlatform fp;
  AppContext ctx{fp.platform()};
  TSysKeyboardObject kb{ctx};
};

TEST_F(KeyboardTest, ReadsEverySetting) {
  fp.system.spi[SPI_GETKEYBOARDDELAY_] = 2;
  fp.system.spi[SPI_GETKEYBOARDSPEED_] = 31;
  fp.system.keys[VK_NUMLOCK_] = 0x01;
  fp.system.keys[VK_CAPITAL_] = 0x81;  // on, and held down right now
  fp.system.keys[VK_SCROLL_] = 0x80;   // held down but off
  fp.system.keyboardType = {{0, 7}, {1, 2}, {2, 12}};
  fp.system.keyboardLayoutName = "00000407";
  fp.system.caretBlinkTime = 530;
  kb.Retrieve();
  EXPECT_EQ(kb.Delay(), 2);
  EXPECT_EQ(kb.Speed(), 31);
  EXPECT_TRUE(kb.NumLock());
  EXPECT_TRUE(kb.CapsLock());
  EXPECT_FALSE(kb.ScrollLock());
  EXPECT_EQ(kb.Typ(), 7);
  EXPECT_EQ(kb.SubTyp(), 2);
  EXPECT_EQ(kb.FunctionKeys(), 12);
  EXPECT_EQ(kb.Layout(), "00000407");
  EXPECT_EQ(kb.CaretBlinkTime(), 530);
}

TEST_F(KeyboardTest, FailingLayoutQueryGivesEmptyText) {
  fp.system.keyboardLayoutFails = true;
  kb.Retrieve();
  EXPECT_EQ(kb.Layout(), "");
}

TEST_F(KeyboardTest, ApplyWritesPendingInItsOrder) {
  fp.system.spi[SPI_GETKEYBOARDDELAY_] = 1;
  fp.system.spi[SPI_GETKEYBOARDSPEED_] = 20;
  kb.Retrieve();
  std::vector<std::string> reports;
  kb.SetChangeHandler([&](TObject*, const AnsiString& n, const AnsiString& o, const AnsiString& v, TDateTime) {
    reports.push_back(n + " " + o + ">" + v);
  });
  kb.SetSpeed(25);
  kb.SetDelay(3);
  kb.SetCaretBlinkTime(400);
  kb.SetSpeed(25);  // unchanged: no second record
  EXPECT_TRUE(fp.system.spiWrites.empty());
  kb.Apply();
  EXPECT_EQ(fp.system.caretBlinkWrites, std::vector<uint32_t>{400});
  ASSERT_EQ(fp.system.spiWrites.size(), 2u);
  EXPECT_EQ(fp.system.spiWrites[0].action, SPI_SETKEYBOARDDELAY_);
  EXPECT_EQ(fp.system.spiWrites[0].value, 3);
  EXPECT_EQ(fp.system.spiWrites[1].action, SPI_SETKEYBOARDSPEED_);
  EXPECT_EQ(fp.system.spiWrites[1].value, 25);
  EXPECT_EQ(fp.system.spiWrites[1].winIni, 0u);
  const std::vector<std::string> expected{"Keyboard:CaretBlinkTime 530>400", "Keyboard:Delay 1>3",
                                          "Keyboard:Speed 20>25"};
  EXPECT_EQ(reports, expected);
  kb.Apply();  // nothing pending any more
  EXPECT_EQ(fp.system.spiWrites.size(), 2u);
}

TEST_F(KeyboardTest, UndoneChangeWritesNothing) {
  fp.system.spi[SPI_GETKEYBOARDDELAY_] = 1;
  kb.Retrieve();
  kb.SetDelay(2);
  kb.SetDelay(1);
  kb.Apply();
  EXPECT_TRUE(fp.system.spiWrites.empty());
}

}  // namespace
}  // namespace vsi
