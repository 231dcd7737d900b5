#pragma once
// The network object the main window retrieves at start: user, computer name, connected and
// shared resources, and the adapters with their protocols; its component.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/strings.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

class TSysProtocol : public TPersistent {
  VSI_CLASS(TSysProtocol)
  bool Installed() const { return installed_; }
  void SetInstalled(bool value) { installed_ = value; }

 private:
  bool installed_ = false;
};

class TSysTCPIP : public TSysProtocol {
  VSI_CLASS(TSysTCPIP)
  const AnsiString& IPAddress() const { return ipAddress_; }
  const AnsiString& IPSubnetMask() const { return ipSubnetMask_; }
  const AnsiString& DefaultGateway() const { return defaultGateway_; }
  void Set(AnsiString address, AnsiString mask, AnsiString gateway);

 private:
  AnsiString ipAddress_, ipSubnetMask_, defaultGateway_;
};

class TSysNetBEUI : public TSysProtocol {
  VSI_CLASS(TSysNetBEUI)
};

class TSysIPX : public TSysProtocol {
  VSI_CLASS(TSysIPX)
  const AnsiString& NetworkNumber() const { return networkNumber_; }
  void SetNetworkNumber(AnsiString value) { networkNumber_ = std::move(value); }

 private:
  AnsiString networkNumber_;
};

class TSysNetworkCard : public TSysCollectionItem {
  VSI_CLASS(TSysNetworkCard)
  explicit TSysNetworkCard(TCollection* collection);
  ~TSysNetworkCard() override;
  const AnsiString& Description() const { return description_; }
  const AnsiString& ServiceName() const { return serviceName_; }
  TSysTCPIP* TCPIP() const { return tcpip_.get(); }
  TSysNetBEUI* NetBEUI() const { return netbeui_.get(); }
  TSysIPX* IPX() const { return ipx_.get(); }

 private:
  friend class TSysNetworkCards;
  AnsiString description_, serviceName_;
  std::unique_ptr<TSysTCPIP> tcpip_;
  std::unique_ptr<TSysNetBEUI> netbeui_;
  std::unique_ptr<TSysIPX> ipx_;
};

class TSysNetworkCards : public TSysCollection {
  VSI_CLASS(TSysNetworkCards)
  explicit TSysNetworkCards(AppContext& context);
  TSysNetworkCard* Items(int index) const { return static_cast<TSysNetworkCard*>(TCollection::Items(index)); }
  // Empties the list and reads the adapters the registry lists, skipping hidden ones.
  void Refresh();

 private:
  void ReadProtocols(TSysNetworkCard& card);
};

// True when the raw binding list (zero-separated names, two zeros at the end) names `service`.
bool BindingNames(std::string bind, const std::string& service);

class TSysNetworkObject : public TSysObject {
  VSI_CLASS(TSysNetworkObject)
  explicit TSysNetworkObject(AppContext& context);
  ~TSysNetworkObject() override;
  const AnsiString& UserName() const { return userName_; }
  const AnsiString& ComputerName() const { return computerName_; }
  TStringList* ConnectedResources() const { return connected_.get(); }
  TStringList* SharedResources() const { return shared_.get(); }
  TSysNetworkCards* NetworkCards() const { return cards_.get(); }
  void Retrieve() override;
  void Apply() override {}

 private:
  AnsiString userName_, computerName_;
  std::unique_ptr<TStringList> connected_, shared_;
  std::unique_ptr<TSysNetworkCards> cards_;
};

class TSysNetwork : public TSysBaseComponent {
  VSI_CLASS(TSysNetwork)
  explicit TSysNetwork(TComponent* owner);
  TSysNetworkObject* Network() const { return static_cast<TSysNetworkObject*>(Object()); }
  void SetNetwork(TSysNetworkObject*) {}
};

}  // namespace vsi
