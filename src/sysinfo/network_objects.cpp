#include "sysinfo/network_objects.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"
#include "sysinfo/setting_helpers.h"

namespace vsi {

const ClassInfo& TSysProtocol::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysProtocol>("TSysProtocol", &TPersistent::StaticClass())
                                    .Bool("Installed", &TSysProtocol::Installed)
                                    .Build();
  return info;
}

const ClassInfo& TSysTCPIP::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysTCPIP>("TSysTCPIP", &TSysProtocol::StaticClass())
                                    .Text("IPAddress", &TSysTCPIP::IPAddress)
                                    .Text("IPSubnetMask", &TSysTCPIP::IPSubnetMask)
                                    .Text("DefaultGateway", &TSysTCPIP::DefaultGateway)
                                    .Build();
  return info;
}

void TSysTCPIP::Set(AnsiString address, AnsiString mask, AnsiString gateway) {
  ipAddress_ = std::move(address);
  ipSubnetMask_ = std::move(mask);
  defaultGateway_ = std::move(gateway);
}

const ClassInfo& TSysNetBEUI::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysNetBEUI>("TSysNetBEUI", &TSysProtocol::StaticClass()).Build();
  return info;
}

const ClassInfo& TSysIPX::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysIPX>("TSysIPX", &TSysProtocol::StaticClass())
                                    .Text("NetworkNumber", &TSysIPX::NetworkNumber)
                                    .Build();
  return info;
}

const ClassInfo& TSysNetworkCard::StaticClass() {
  using O = TSysNetworkCard;
  static const ClassInfo info = ClassBuilder<O>("TSysNetworkCard", &TSysCollectionItem::StaticClass())
                                    .Text("Description", &O::Description)
                                    .Object("TCPIP", TSysTCPIP::StaticClass(), &O::TCPIP)
                                    .Object("NetBEUI", TSysNetBEUI::StaticClass(), &O::NetBEUI)
                                    .Object("IPX", TSysIPX::StaticClass(), &O::IPX)
                                    .Build();
  return info;
}

TSysNetworkCard::TSysNetworkCard(TCollection* collection)
    : TSysCollectionItem(collection),
      tcpip_(std::make_unique<TSysTCPIP>()),
      netbeui_(std::make_unique<TSysNetBEUI>()),
      ipx_(std::make_unique<TSysIPX>()) {}

TSysNetworkCard::~TSysNetworkCard() = default;

bool BindingNames(std::string bind, const std::string& service) {
  if (service.empty()) return false;
  // The separators become blanks; the closing pair of zeros stays.
  for (size_t i = 0; i + 2 < bind.size(); ++i)
    if (bind[i] == '\0') bind[i] = ' ';
  return bind.find(service) != std::string::npos;
}

const ClassInfo& TSysNetworkCards::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysNetworkCards>("TSysNetworkCards", &TSysCollection::StaticClass()).Build();
  return info;
}

TSysNetworkCards::TSysNetworkCards(AppContext& context)
    : TSysCollection(context, [](TCollection* c) -> TCollectionItem* { return new TSysNetworkCard(c); }) {}

namespace {
constexpr const char* kNetworkCardsKey = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr const char* kServicesKey = "\\SYSTEM\\CurrentControlSet\\Services\\";

// The raw bytes of a value as text of their full length; a missing value gives empty text.
AnsiString RawText(TRegistry& reg, const std::string& name) {
  std::string data;
  if (!reg.ReadBinary(name, data)) return AnsiString();
  return data;
}

// Raw value `name` of key `path` (from the root); empty when either is missing.
AnsiString RawValue(IRegistry& registry, const std::string& path, const std::string& name) {
  TRegistry reg(registry, HKEY_LOCAL_MACHINE_);
  if (!reg.OpenKeyReadOnly(path)) return AnsiString();
  return RawText(reg, name);
}
}  // namespace

void TSysNetworkCards::Refresh() {
  IRegistry& registry = Context().platform().registry;
  BeginUpdate();
  ScopeExit endUpdate{[this] { EndUpdate(); }};  // also when a value of the wrong type raises
  Clear();
  std::vector<std::string> names;
  {
    TRegistry reg(registry, HKEY_LOCAL_MACHINE_);
    if (reg.OpenKeyReadOnly(kNetworkCardsKey)) reg.GetKeyNames(names);
  }
  for (const std::string& name : names) {
    TRegistry reg(registry, HKEY_LOCAL_MACHINE_);
    if (!reg.OpenKeyReadOnly(std::string(kNetworkCardsKey) + "\\" + name)) continue;
    // Machine values of an unexpected type leave that one fact empty (or the card shown):
    // they must not stop the window from starting.
    bool hidden = false;
    try {
      hidden = reg.ValueExists("Hidden") && reg.ReadInteger("Hidden") == 1;
    } catch (const ERegistryException&) {
    }
    if (hidden) continue;
    auto* card = static_cast<TSysNetworkCard*>(Add());
    card->description_ = ReadTextOrEmpty(reg, "Description");
    card->serviceName_ = ReadTextOrEmpty(reg, "ServiceName");
    reg.CloseKey();
    ReadProtocols(*card);
  }
}

void TSysNetworkCards::ReadProtocols(TSysNetworkCard& card) {
  IRegistry& registry = Context().platform().registry;
  const std::string& service = card.serviceName_;
  {
    TRegistry reg(registry, HKEY_LOCAL_MACHINE_);
    if (reg.OpenKeyReadOnly(kServicesKey + service + "\\Parameters") && reg.KeyExists("TCPIP")) {
      card.tcpip_->SetInstalled(true);
      if (reg.OpenKeyReadOnly("TCPIP"))
        card.tcpip_->Set(RawText(reg, "IPAddress"), RawText(reg, "SubnetMask"), RawText(reg, "DefaultGateway"));
    }
  }
  card.netbeui_->SetInstalled(
      BindingNames(RawValue(registry, std::string(kServicesKey) + "Nbf\\Linkage", "Bind"), service));
  const bool ipx = BindingNames(RawValue(registry, std::string(kServicesKey) + "NwlnkIpx\\Linkage", "Bind"), service);
  card.ipx_->SetInstalled(ipx);
  if (ipx)
    card.ipx_->SetNetworkNumber(RawValue(
        registry, std::string(kServicesKey) + "NwlnkIpx\\Parameters\\Adapters\\" + service, "NetworkNumber"));
}

const ClassInfo& TSysNetworkObject::StaticClass() {
  using O = TSysNetworkObject;
  static const ClassInfo info =
      ClassBuilder<O>("TSysNetworkObject", &TSysObject::StaticClass())
          .Text("UserName", &O::UserName)
          .Text("ComputerName", &O::ComputerName)
          .Object("ConnectedResources", TStringList::StaticClass(), &O::ConnectedResources)
          .Object("SharedResources", TStringList::StaticClass(), &O::SharedResources)
          .Object("NetworkCards", TSysNetworkCards::StaticClass(), &O::NetworkCards)
          .Build();
  return info;
}

TSysNetworkObject::TSysNetworkObject(AppContext& context)
    : TSysObject(context),
      connected_(std::make_unique<TStringList>()),
      shared_(std::make_unique<TStringList>()),
      cards_(std::make_unique<TSysNetworkCards>(context)) {
  cards_->SetChangeHandler(ForwardToThis());
}

TSysNetworkObject::~TSysNetworkObject() = default;

void TSysNetworkObject::Retrieve() {
  Platform& p = Plat();
  // Only what the call reports it filled.
  std::string user;
  userName_ = Succeeded(p.volumes.WNetGetUser(user)) ? UpToZero(user) : AnsiString();

  {
    TRegistry reg(p.registry, HKEY_LOCAL_MACHINE_);
    computerName_ = reg.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName")
                        ? ReadTextOrEmpty(reg, "ComputerName")
                        : AnsiString();
  }

  std::vector<std::string> names;
  connected_->Clear();
  if (Succeeded(p.volumes.WNetEnumResources(RESOURCE_CONNECTED_, names)))
    for (const std::string& n : names) connected_->Add(n);
  names.clear();
  shared_->Clear();
  if (Succeeded(p.volumes.WNetEnumResources(RESOURCE_CONTEXT_, names)))
    for (const std::string& n : names) shared_->Add(n);

  cards_->Refresh();
}

// ---------------------------------------------------------------- component

const ClassInfo& TSysNetwork::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysNetwork>("TSysNetwork", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Network", TSysNetworkObject::StaticClass(), &TSysNetwork::Network,
                                            &TSysNetwork::SetNetwork)
                                    .Build();
  return info;
}

TSysNetwork::TSysNetwork(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysNetworkObject>(Context()));
}

}  // namespace vsi
