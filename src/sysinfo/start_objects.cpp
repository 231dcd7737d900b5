#include "sysinfo/start_objects.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"

namespace vsi {

namespace {

const char* BoolText(bool v) { return v ? "true" : "false"; }
// The Boolean form of the registry-backed settings' change records.
const char* BoolNumber(bool v) { return v ? "-1" : "0"; }

// The setter pattern: nothing when unchanged; otherwise record, store, and apply when the
// object applies at once.
template <class T, class ToText>
void SetPending(TSysObject& obj, T& field, T value, const char* name, ToText text) {
  if (field == value) return;
  obj.RecordChange(name, text(field), text(value));
  field = std::move(value);
  if (obj.AutoApply()) obj.Apply();
}

AnsiString UpToZero(AnsiString s) {
  auto nul = s.find('\0');
  if (nul != AnsiString::npos) s.resize(nul);
  return s;
}

bool SpiGet(ISystem& system, uint32_t action, int32_t& value) {
  int32_t v = 0;
  if (!system.SystemParametersInfo(action, 0, &v, 0)) return false;
  value = v;
  return true;
}

constexpr const char* kDesktopKey = "\\Control Panel\\Desktop";
constexpr const char* kPatternsKey = "\\Control Panel\\Patterns";

}  // namespace

// ---------------------------------------------------------------- plus

const ClassInfo& TSysPlusObject::StaticClass() {
  using O = TSysPlusObject;
  static const ClassInfo info = ClassBuilder<O>("TSysPlusObject", &TSysObject::StaticClass())
                                    .Bool("Available", &O::Available, &O::DiscardBool)
                                    .Bool("FontSmoothing", &O::FontSmoothing, &O::SetFontSmoothing)
                                    .Bool("WindowAnimation", &O::WindowAnimation, &O::SetWindowAnimation)
                                    .Bool("DragFullWindows", &O::DragFullWindows, &O::SetDragFullWindows)
                                    .Build();
  return info;
}

TSysPlusObject::TSysPlusObject(AppContext& context) : TSysObject(context) {}

void TSysPlusObject::SetFontSmoothing(bool value) {
  SetPending(*this, fontSmoothing_, value, "Display:Plus:FontSmoothing", BoolText);
}
void TSysPlusObject::SetWindowAnimation(bool value) {
  SetPending(*this, windowAnimation_, value, "Display:Plus:WindowAnimation", BoolText);
}
void TSysPlusObject::SetDragFullWindows(bool value) {
  SetPending(*this, dragFullWindows_, value, "Display:Plus:DragFullWindows", BoolText);
}

void TSysPlusObject::Retrieve() {
  ISystem& s = Plat().system;
  int32_t v = 0;
  if (SpiGet(s, SPI_GETFONTSMOOTHING_, v)) fontSmoothing_ = v != 0;
  int32_t minAnimate = 0;
  if (s.SystemParametersInfoAnimation(SPI_GETANIMATION_, minAnimate, 0)) windowAnimation_ = minAnimate != 0;
  if (SpiGet(s, SPI_GETDRAGFULLWINDOWS_, v)) dragFullWindows_ = v != 0;
}

void TSysPlusObject::Apply() {
  ISystem& s = Plat().system;
  if (HasChange("Display:Plus:FontSmoothing")) {
    CommitChange("Display:Plus:FontSmoothing");
    s.SystemParametersInfo(SPI_SETFONTSMOOTHING_, fontSmoothing_ ? 1 : 0, nullptr, 0);
  }
  if (HasChange("Display:Plus:WindowAnimation")) {
    CommitChange("Display:Plus:WindowAnimation");
    int32_t minAnimate = windowAnimation_ ? 1 : 0;
    s.SystemParametersInfoAnimation(SPI_SETANIMATION_, minAnimate, 0);
  }
  if (HasChange("Display:Plus:DragFullWindows")) {
    CommitChange("Display:Plus:DragFullWindows");
    s.SystemParametersInfo(SPI_SETDRAGFULLWINDOWS_, dragFullWindows_ ? 1 : 0, nullptr, 0);
  }
}

// ---------------------------------------------------------------- screen saver

const ClassInfo& TSysScreenSaverObject::StaticClass() {
  using O = TSysScreenSaverObject;
  static const ClassInfo info =
      ClassBuilder<O>("TSysScreenSaverObject", &TSysObject::StaticClass())
          .Bool("Active", &O::Active, &O::DiscardBool)
          .Int("Delay", &O::Delay, &O::SetDelay)
          .Bool("Secure", &O::Secure, &O::SetSecure)
          .Bool("Running", &O::Running, &O::DiscardBool)
          .Text("ScreenSaver", &O::ScreenSaver, &O::SetScreenSaver)
          .Object("ScreenSavers", TStringList::StaticClass(), &O::ScreenSavers, &O::DiscardList)
          .Build();
  return info;
}

TSysScreenSaverObject::TSysScreenSaverObject(AppContext& context)
    : TSysObject(context), screenSavers_(std::make_unique<TStringList>()) {
  SetAutoApply(true);
}

TSysScreenSaverObject::~TSysScreenSaverObject() = default;

void TSysScreenSaverObject::SetDelay(uint32_t value) {
  SetPending(*this, delay_, value, "Display:Screensaver:Delay", [](uint32_t v) { return std::to_string(v); });
}
void TSysScreenSaverObject::SetSecure(bool value) {
  SetPending(*this, secure_, value, "Display:Screensaver:Secure", BoolNumber);
}
void TSysScreenSaverObject::SetScreenSaver(const AnsiString& value) {
  SetPending(*this, screenSaver_, value, "Display:Screensaver:ExeName", [](const AnsiString& v) { return v; });
}

void TSysScreenSaverObject::AddScreenSavers(std::string folder) {
  if (folder.empty()) return;  // the folder could not be asked: nothing to search
  if (folder.back() != '\\') folder += '\\';
  // Normal, read-only, system and archive files; hidden files, folders and labels are skipped.
  constexpr uint32_t kSkipped = FILE_ATTRIBUTE_HIDDEN_ | FILE_ATTRIBUTE_DIRECTORY_ | 0x08;
  for (const FoundFile& f : Plat().system.FindFiles(folder + "*.scr"))
    if ((f.attributes & kSkipped) == 0) screenSavers_->Add(folder + f.name);
}

void TSysScreenSaverObject::Retrieve() {
  ISystem& s = Plat().system;
  int32_t v = 0;
  if (SpiGet(s, SPI_GETSCREENSAVETIMEOUT_, v)) delay_ = static_cast<uint32_t>(v) / 60;
  if (SpiGet(s, SPI_GETSCREENSAVEACTIVE_, v)) active_ = v != 0;
  if (SpiGet(s, SPI_GETSCREENSAVERRUNNING_, v)) running_ = v != 0;

  CreateRegistry();
  SetRegistryRoot(HKEY_CURRENT_USER_);
  if (OpenRegKey(kDesktopKey)) {
    ScopeExit close{[this] { CloseRegKey(); }};
    // Exactly "1" is secure: what Apply writes for true.
    secure_ = Registry()->ReadString("ScreenSaverSecure") == "1";
    screenSaver_ = Registry()->ReadString("SCRNSAVE.EXE");
  }

  screenSavers_->Clear();
  AddScreenSavers(s.GetWindowsDirectory());
  AddScreenSavers(s.GetSystemDirectory());
}

void TSysScreenSaverObject::Apply() {
  CreateRegistry();
  SetRegistryRoot(HKEY_CURRENT_USER_);
  if (!OpenRegKeyForWriting(kDesktopKey)) return;
  ScopeExit close{[this] { CloseRegKey(); }};
  TRegistry& reg = *Registry();
  if (HasChange("Display:Screensaver:Secure")) {
    CommitChange("Display:Screensaver:Secure");
    reg.WriteString("ScreenSaverSecure", secure_ ? "1" : "0");
  }
  if (HasChange("Display:Screensaver:ExeName")) {
    CommitChange("Display:Screensaver:ExeName");
    reg.WriteString("SCRNSAVE.EXE", screenSaver_);
  }
  if (HasChange("Display:Screensaver:Delay")) {
    CommitChange("Display:Screensaver:Delay");
    reg.WriteString("ScreenSaveTimeOut", std::to_string(uint64_t(delay_) * 60));
  }
}

// ---------------------------------------------------------------- wallpaper

const ClassInfo& TSysWallpaperObject::StaticClass() {
  using O = TSysWallpaperObject;
  static const ClassInfo info = ClassBuilder<O>("TSysWallpaperObject", &TSysObject::StaticClass())
                                    .Text("Filename", &O::Filename, &O::SetFilename)
                                    .Bool("Tile", &O::Tile, &O::SetTile)
                                    .Bool("Stretch", &O::Stretch, &O::SetStretch)
                                    .Object("Patterns", TStringList::StaticClass(), &O::Patterns, &O::DiscardList)
                                    .Text("Pattern", &O::Pattern, &O::SetPattern)
                                    .Build();
  return info;
}

TSysWallpaperObject::TSysWallpaperObject(AppContext& context)
    : TSysObject(context), patterns_(std::make_unique<TStringList>()), patternData_(std::make_unique<TStringList>()) {}

TSysWallpaperObject::~TSysWallpaperObject() = default;

void TSysWallpaperObject::SetFilename(const AnsiString& value) {
  SetPending(*this, filename_, value, "Display:Wallpaper:FileName", [](const AnsiString& v) { return v; });
}
void TSysWallpaperObject::SetTile(bool value) { SetPending(*this, tile_, value, "Display:Wallpaper:Tile", BoolNumber); }
void TSysWallpaperObject::SetStretch(bool value) {
  SetPending(*this, stretch_, value, "Display:Wallpaper:Stretch", BoolNumber);
}
void TSysWallpaperObject::SetPattern(const AnsiString& value) {
  SetPending(*this, pattern_, value, "Display:Wallpaper:Pattern", [](const AnsiString& v) { return v; });
}

void TSysWallpaperObject::Retrieve() {
  CreateRegistry();
  SetRegistryRoot(HKEY_CURRENT_USER_);
  TRegistry& reg = *Registry();
  if (OpenRegKey(kDesktopKey)) {
    ScopeExit close{[this] { CloseRegKey(); }};
    filename_ = reg.ReadString("Wallpaper");
    desktopPattern_ = reg.ReadString("Pattern");
    tile_ = reg.ReadString("TileWallpaper") == "1";
    stretch_ = reg.ReadString("WallpaperStyle") == "2";
  }

  patterns_->Clear();
  patternData_->Clear();
  if (OpenRegKey(kPatternsKey)) {
    ScopeExit close{[this] { CloseRegKey(); }};
    std::vector<std::string> names;
    reg.GetValueNames(names);
    for (const std::string& n : names) patterns_->Add(n);
    for (const std::string& n : names) patternData_->Add(reg.ReadString(n));
  }

  pattern_.clear();
  for (int i = 0; i < patterns_->Count(); ++i)
    if (patternData_->Strings(i) == desktopPattern_) pattern_ = patterns_->Strings(i);  // the last match wins
}

void TSysWallpaperObject::Apply() {
  CreateRegistry();
  SetRegistryRoot(HKEY_CURRENT_USER_);
  if (!OpenRegKeyForWriting(kDesktopKey)) return;
  {
    ScopeExit close{[this] { CloseRegKey(); }};
    TRegistry& reg = *Registry();
    if (HasChange("Display:Wallpaper:Tile")) {
      CommitChange("Display:Wallpaper:Tile");
      reg.WriteString("TileWallpaper", tile_ ? "1" : "0");
    }
    if (HasChange("Display:Wallpaper:Stretch")) {
      CommitChange("Display:Wallpaper:Stretch");
      reg.WriteString("WallpaperStyle", stretch_ ? "2" : "0");
    }
    if (HasChange("Display:Wallpaper:Pattern")) {
      CommitChange("Display:Wallpaper:Pattern");
      // A name that is not among the patterns has no data to write.
      for (int i = 0; i < patterns_->Count(); ++i) {
        if (patterns_->Strings(i) == pattern_) {
          reg.WriteString("Pattern", patternData_->Strings(i));
          break;
        }
      }
    }
  }
  if (HasChange("Display:Wallpaper:FileName")) {
    CommitChange("Display:Wallpaper:FileName");
    Plat().system.SystemParametersInfoText(SPI_SETDESKWALLPAPER_, filename_, 0);
  }
}

// ---------------------------------------------------------------- display modes

uint32_t ColorsOfBitCount(uint32_t bitsPerPixel) {
  if (bitsPerPixel == 32) bitsPerPixel = 24;
  if (bitsPerPixel < 2) return 2;
  if (bitsPerPixel > 31) return 0x80000000u;  // no such display; keep the shift defined
  return 1u << bitsPerPixel;
}

const ClassInfo& TSysDisplayMode::StaticClass() {
  using O = TSysDisplayMode;
  static const ClassInfo info = ClassBuilder<O>("TSysDisplayMode", &TCollectionItem::StaticClass())
                                    .Int("Width", &O::Width)
                                    .Int("Height", &O::Height)
                                    .Int("Frequency", &O::Frequency)
                                    .Int("BitsPerPixel", &O::BitsPerPixel)
                                    .Int("Colors", &O::Colors)
                                    .Bool("Monochrome", &O::Monochrome)
                                    .Bool("Interlaced", &O::Interlaced)
                                    .Build();
  return info;
}

void TSysDisplayMode::Fill(const DisplayMode& mode) {
  width_ = mode.width;
  height_ = mode.height;
  bitsPerPixel_ = mode.bitsPerPixel;
  frequency_ = mode.frequency;
  monochrome_ = (mode.displayFlags & 0x1) != 0;  // DM_GRAYSCALE
  interlaced_ = (mode.displayFlags & 0x2) != 0;  // DM_INTERLACED
  colors_ = ColorsOfBitCount(mode.bitsPerPixel);
}

const ClassInfo& TSysDisplayModes::StaticClass() {
  static const ClassInfo info =
      ClassBuilder<TSysDisplayModes>("TSysDisplayModes", &TCollection::StaticClass()).Build();
  return info;
}

TSysDisplayModes::TSysDisplayModes()
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TSysDisplayMode(c); }) {}

void TSysDisplayModes::Retrieve(ISystem& system) {
  BeginUpdate();
  Clear();
  DisplayMode mode;
  for (uint32_t n = 0; system.EnumDisplaySettings(n, mode); ++n) static_cast<TSysDisplayMode*>(Add())->Fill(mode);
  EndUpdate();
}

// ---------------------------------------------------------------- display

const ClassInfo& TSysDisplayObject::StaticClass() {
  using O = TSysDisplayObject;
  static const ClassInfo info = ClassBuilder<O>("TSysDisplayObject", &TSysObject::StaticClass())
                                    .Object("Plus", TSysPlusObject::StaticClass(), &O::Plus)
                                    .Object("ScreenSaver", TSysScreenSaverObject::StaticClass(), &O::ScreenSaver)
                                    .Object("DisplayModes", TSysDisplayModes::StaticClass(), &O::DisplayModes)
                                    .Object("Wallpaper", TSysWallpaperObject::StaticClass(), &O::Wallpaper)
                                    .Build();
  return info;
}

TSysDisplayObject::TSysDisplayObject(AppContext& context)
    : TSysObject(context),
      plus_(std::make_unique<TSysPlusObject>(context)),
      screenSaver_(std::make_unique<TSysScreenSaverObject>(context)),
      displayModes_(std::make_unique<TSysDisplayModes>()),
      wallpaper_(std::make_unique<TSysWallpaperObject>(context)) {
  plus_->SetChangeHandler(ForwardToThis());
  screenSaver_->SetChangeHandler(ForwardToThis());
  wallpaper_->SetChangeHandler(ForwardToThis());
}

TSysDisplayObject::~TSysDisplayObject() = default;

void TSysDisplayObject::Retrieve() {
  plus_->Retrieve();
  screenSaver_->Retrieve();
  wallpaper_->Retrieve();
  displayModes_->Retrieve(Plat().system);
}

void TSysDisplayObject::Apply() {
  plus_->Apply();
  screenSaver_->Apply();
  wallpaper_->Apply();
}

// ---------------------------------------------------------------- network

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

// ---------------------------------------------------------------- keyboard

const ClassInfo& TSysKeyboardObject::StaticClass() {
  using O = TSysKeyboardObject;
  static const ClassInfo info = ClassBuilder<O>("TSysKeyboardObject", &TSysObject::StaticClass())
                                    .Int("Delay", &O::Delay, &O::SetDelay)
                                    .Int("Speed", &O::Speed, &O::SetSpeed)
                                    .Bool("NumLock", &O::NumLock, &O::DiscardBool)
                                    .Bool("CapsLock", &O::CapsLock, &O::DiscardBool)
                                    .Bool("ScrollLock", &O::ScrollLock, &O::DiscardBool)
                                    .Int("Typ", &O::Typ, &O::DiscardInt)
                                    .Int("SubTyp", &O::SubTyp, &O::DiscardInt)
                                    .Int("FunctionKeys", &O::FunctionKeys, &O::DiscardInt)
                                    .Text("Layout", &O::Layout, &O::DiscardText)
                                    .Int("CaretBlinkTime", &O::CaretBlinkTime, &O::SetCaretBlinkTime)
                                    .Build();
  return info;
}

TSysKeyboardObject::TSysKeyboardObject(AppContext& context) : TSysObject(context) {}

namespace {
AnsiString IntText(int32_t v) { return std::to_string(v); }
}  // namespace

void TSysKeyboardObject::SetDelay(int32_t value) { SetPending(*this, delay_, value, "Keyboard:Delay", IntText); }
void TSysKeyboardObject::SetSpeed(int32_t value) { SetPending(*this, speed_, value, "Keyboard:Speed", IntText); }
void TSysKeyboardObject::SetCaretBlinkTime(int32_t value) {
  SetPending(*this, caretBlinkTime_, value, "Keyboard:CaretBlinkTime", IntText);
}

void TSysKeyboardObject::Retrieve() {
  ISystem& s = Plat().system;
  int32_t v = 0;
  if (SpiGet(s, SPI_GETKEYBOARDDELAY_, v)) delay_ = v;
  if (SpiGet(s, SPI_GETKEYBOARDSPEED_, v)) speed_ = v;
  // The toggle bit; the "down" bits must not hide it while the key is held.
  numLock_ = (s.GetKeyState(VK_NUMLOCK_) & 1) != 0;
  capsLock_ = (s.GetKeyState(VK_CAPITAL_) & 1) != 0;
  scrollLock_ = (s.GetKeyState(VK_SCROLL_) & 1) != 0;
  typ_ = s.GetKeyboardType(0);
  subTyp_ = s.GetKeyboardType(1);
  functionKeys_ = s.GetKeyboardType(2);
  std::string layout;
  layout_ = s.GetKeyboardLayoutName(layout) ? UpToZero(layout).substr(0, 8) : AnsiString();
  caretBlinkTime_ = static_cast<int32_t>(s.GetCaretBlinkTime());
}

void TSysKeyboardObject::Apply() {
  ISystem& s = Plat().system;
  if (HasChange("Keyboard:CaretBlinkTime")) {
    CommitChange("Keyboard:CaretBlinkTime");
    s.SetCaretBlinkTime(static_cast<uint32_t>(caretBlinkTime_));
  }
  if (HasChange("Keyboard:Delay")) {
    CommitChange("Keyboard:Delay");
    s.SystemParametersInfo(SPI_SETKEYBOARDDELAY_, static_cast<uint32_t>(delay_), nullptr, 0);
  }
  if (HasChange("Keyboard:Speed")) {
    CommitChange("Keyboard:Speed");
    s.SystemParametersInfo(SPI_SETKEYBOARDSPEED_, static_cast<uint32_t>(speed_), nullptr, 0);
  }
}

// ---------------------------------------------------------------- locale

namespace {
struct LocalePropInfo {
  const char* name;
  LCTYPE type;
};
constexpr LocalePropInfo kLocaleProps[kLocalePropCount] = {
    {"CalendarType", LOCALE_ICALENDARTYPE_},
    {"CurrencyDigits", LOCALE_ICURRDIGITS_},
    {"PositiveCurrencyFormat", LOCALE_ICURRENCY_},
    {"Digits", LOCALE_IDIGITS_},
    {"FirstDayOfWeek", LOCALE_IFIRSTDAYOFWEEK_},
    {"FirstWeekOfYear", LOCALE_IFIRSTWEEKOFYEAR_},
    {"ShowLeadingZero", LOCALE_ILZERO_},
    {"Measurement", LOCALE_IMEASURE_},
    {"NegativeCurrencyFormat", LOCALE_INEGCURR_},
    {"NegativeFormat", LOCALE_INEGNUMBER_},
    {"ClockMode", LOCALE_ITIME_},
    {"MorningSymbol", LOCALE_S1159_},
    {"AfternoonSymbol", LOCALE_S2359_},
    {"CurrencySymbol", LOCALE_SCURRENCY_},
    {"DateSeparator", LOCALE_SDATE_},
    {"DecimalSeparator", LOCALE_SDECIMAL_},
    {"Grouping", LOCALE_SGROUPING_},
    {"ListSeparator", LOCALE_SLIST_},
    {"LongDateFormat", LOCALE_SLONGDATE_},
    {"CurrencyDecimalSeparator", LOCALE_SMONDECIMALSEP_},
    {"CurrencyGrouping", LOCALE_SMONGROUPING_},
    {"CurrencyGroupingSign", LOCALE_SMONTHOUSANDSEP_},
    {"NegativeSign", LOCALE_SNEGATIVESIGN_},
    {"PositiveSign", LOCALE_SPOSITIVESIGN_},
    {"ShortDateFormat", LOCALE_SSHORTDATE_},
    {"ThousandSeparator", LOCALE_STHOUSAND_},
    {"TimeSeparator", LOCALE_STIME_},
    {"TimeFormat", LOCALE_STIMEFORMAT_},
    {"ShortDateOrder", LOCALE_IDATE_},
    {"LongDateOrder", LOCALE_ILDATE_},
    {"YearDigits", LOCALE_ICENTURY_},
    {"InternationalCurrencySymbol", LOCALE_SINTLSYMBOL_},
    {"Language", LOCALE_SLANGUAGE_},
    {"LanguageEnglish", LOCALE_SENGLANGUAGE_},
    {"LanguageSymbol", LOCALE_SABBREVLANGNAME_},
    {"CountryCode", LOCALE_ICOUNTRY_},
    {"Country", LOCALE_SCOUNTRY_},
    {"CountrySymbol", LOCALE_SABBREVCTRYNAME_},
};

// "\xA4" is the currency sign of the ANSI code page; it is never replaced.
constexpr const char* kPositiveCurrency = "\xA4" "1,1;1,1\xA4;\xA4 1,1;1,1 \xA4";
constexpr const char* kNegativeCurrency =
    "(\xA4" "1,1);-\xA4" "1,1;\xA4-1,1;\xA4" "1,1-;(1,1\xA4);-1,1\xA4;1,1-\xA4;1,1\xA4-;-1,1 \xA4;-\xA4 1,1;"
    "1,1 \xA4-;\xA4 1,1-;\xA4 -1,1;1,1- \xA4;( \xA4" "1,1);(1,1 \xA4)";
constexpr const char* kNegativeNumber = "(1,1);-1,1;- 1,1;1,1-;1,1 -";
constexpr const char* kLeadingZero = ",7;0,7";
constexpr const char* kClockMode = "12;24";

std::vector<AnsiString> SplitPatterns(const std::string& literal) {
  std::vector<AnsiString> out;
  size_t start = 0;
  for (;;) {
    size_t semi = literal.find(';', start);
    out.push_back(literal.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) return out;
    start = semi + 1;
  }
}

void ReplaceFirst(std::vector<AnsiString>& table, char what, const AnsiString& by) {
  for (AnsiString& entry : table) {
    auto at = entry.find(what);
    if (at != AnsiString::npos) entry.replace(at, 1, by);
  }
}

// A decimal integer with an optional sign and surrounding blanks; false for anything else.
bool ParseDecimal(const AnsiString& text, long long& out) {
  size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == end) return false;
  long long v = 0;
  for (; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    if (v > 100000000) return false;  // far beyond any table
    v = v * 10 + (text[i] - '0');
  }
  out = negative ? -v : v;
  return true;
}

AnsiString DateOrderText(const AnsiString& digit) {
  if (digit == "0") return "MDY";
  if (digit == "1") return "DMY";
  if (digit == "2") return "YMD";
  return digit;
}

AnsiString DateOrderNumber(const AnsiString& order) {
  if (order == "MDY") return "0";
  if (order == "DMY") return "1";
  if (order == "YMD") return "2";
  return order;
}

template <size_t... I>
ClassBuilder<TSysLocaleObject>& AddLocaleProps(ClassBuilder<TSysLocaleObject>& b, std::index_sequence<I...>) {
  (b.Text(kLocaleProps[I].name, &TSysLocaleObject::Prop<int(I)>, &TSysLocaleObject::SetProp<int(I)>), ...);
  return b;
}
}  // namespace

const char* LocalePropName(int index) {
  return index >= 0 && index < kLocalePropCount ? kLocaleProps[index].name : "";
}

LocalePatterns LocalePatterns::Build(const AnsiString& negativeSign, const AnsiString& decimalSeparator,
                                     const AnsiString& currencyDecimalSeparator) {
  LocalePatterns p;
  p.positiveCurrency = SplitPatterns(kPositiveCurrency);
  p.negativeCurrency = SplitPatterns(kNegativeCurrency);
  p.negativeNumber = SplitPatterns(kNegativeNumber);
  p.leadingZero = SplitPatterns(kLeadingZero);
  p.clockMode = SplitPatterns(kClockMode);
  ReplaceFirst(p.positiveCurrency, ',', currencyDecimalSeparator);
  ReplaceFirst(p.negativeCurrency, ',', currencyDecimalSeparator);
  ReplaceFirst(p.negativeCurrency, '-', negativeSign);
  ReplaceFirst(p.negativeNumber, ',', decimalSeparator);
  ReplaceFirst(p.negativeNumber, '-', negativeSign);
  ReplaceFirst(p.leadingZero, ',', decimalSeparator);
  return p;
}

AnsiString LocalePatterns::Select(const std::vector<AnsiString>& table, const AnsiString& number) {
  long long n = 0;
  if (!ParseDecimal(number, n) || n < 0 || n >= static_cast<long long>(table.size())) return AnsiString();
  return table[static_cast<size_t>(n)];
}

int LocalePatterns::IndexOf(const std::vector<AnsiString>& table, const AnsiString& value) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i] == value) return static_cast<int>(i);
  return -1;
}

const ClassInfo& TSysLocaleObject::StaticClass() {
  static const ClassInfo info = [] {
    ClassBuilder<TSysLocaleObject> b("TSysLocaleObject", &TSysObject::StaticClass());
    AddLocaleProps(b, std::make_index_sequence<kLocalePropCount>());
    return b.Build();
  }();
  return info;
}

TSysLocaleObject::TSysLocaleObject(AppContext& context) : TSysObject(context) {}

void TSysLocaleObject::Set(int index, const AnsiString& value) {
  AnsiString& field = values_.at(static_cast<size_t>(index));
  SetPending(*this, field, value, (std::string("Locale:") + kLocaleProps[index].name).c_str(),
         [](const AnsiString& v) { return v; });
}

AnsiString TSysLocaleObject::Read(LCTYPE type) {
  std::string text;
  if (!Plat().locale.GetLocaleInfo(locale_, type, text)) return "Hallo";
  return UpToZero(text);
}

void TSysLocaleObject::Retrieve() {
  locale_ = Plat().locale.GetThreadLocale();
  values_[lpNegativeSign] = Read(LOCALE_SNEGATIVESIGN_);
  values_[lpDecimalSeparator] = Read(LOCALE_SDECIMAL_);
  values_[lpCurrencyDecimalSeparator] = Read(LOCALE_SMONDECIMALSEP_);
  const LocalePatterns p =
      LocalePatterns::Build(values_[lpNegativeSign], values_[lpDecimalSeparator], values_[lpCurrencyDecimalSeparator]);
  for (int i = 0; i < kLocalePropCount; ++i) {
    if (i == lpNegativeSign || i == lpDecimalSeparator || i == lpCurrencyDecimalSeparator) continue;
    AnsiString text = Read(kLocaleProps[i].type);
    switch (i) {
      case lpPositiveCurrencyFormat: text = LocalePatterns::Select(p.positiveCurrency, text); break;
      case lpShowLeadingZero: text = LocalePatterns::Select(p.leadingZero, text); break;
      case lpNegativeCurrencyFormat: text = LocalePatterns::Select(p.negativeCurrency, text); break;
      case lpNegativeFormat: text = LocalePatterns::Select(p.negativeNumber, text); break;
      case lpClockMode: text = LocalePatterns::Select(p.clockMode, text); break;
      case lpShortDateOrder:
      case lpLongDateOrder: text = DateOrderText(text); break;
      default: break;
    }
    values_[static_cast<size_t>(i)] = std::move(text);
  }
}

void TSysLocaleObject::Apply() {
  const LocalePatterns p =
      LocalePatterns::Build(values_[lpNegativeSign], values_[lpDecimalSeparator], values_[lpCurrencyDecimalSeparator]);
  static constexpr TSysLocaleProp kOrder[] = {
      lpNegativeSign,       lpDecimalSeparator,    lpCurrencyDecimalSeparator,
      lpCalendarType,       lpCurrencyDigits,      lpDigits,
      lpFirstDayOfWeek,     lpFirstWeekOfYear,     lpMeasurement,
      lpMorningSymbol,      lpAfternoonSymbol,     lpCurrencySymbol,
      lpDateSeparator,      lpGrouping,            lpListSeparator,
      lpLongDateFormat,     lpCurrencyGrouping,    lpCurrencyGroupingSign,
      lpPositiveSign,       lpShortDateFormat,     lpThousandSeparator,
      lpTimeSeparator,      lpTimeFormat,          lpShortDateOrder,
      lpLongDateOrder,      lpYearDigits,          lpInternationalCurrencySymbol,
      lpLanguage,           lpLanguageEnglish,     lpLanguageSymbol,
      lpCountryCode,        lpCountry,             lpCountrySymbol,
      lpClockMode,          lpNegativeFormat,      lpNegativeCurrencyFormat,
      lpPositiveCurrencyFormat, lpShowLeadingZero,
  };
  static_assert(std::size(kOrder) == kLocalePropCount);
  ILocale& locale = Plat().locale;
  for (TSysLocaleProp prop : kOrder) {
    const std::string name = std::string("Locale:") + kLocaleProps[prop].name;
    if (!HasChange(name)) continue;
    CommitChange(name);
    const AnsiString& value = values_[prop];
    const std::vector<AnsiString>* table = nullptr;
    AnsiString text;
    switch (prop) {
      case lpShortDateOrder:
      case lpLongDateOrder: text = DateOrderNumber(value); break;
      case lpClockMode: text = value == "12" ? "0" : "1"; break;
      case lpNegativeFormat: table = &p.negativeNumber; break;
      case lpNegativeCurrencyFormat: table = &p.negativeCurrency; break;
      case lpPositiveCurrencyFormat: table = &p.positiveCurrency; break;
      case lpShowLeadingZero: table = &p.leadingZero; break;
      default: text = value; break;
    }
    if (table) {
      int index = LocalePatterns::IndexOf(*table, value);
      if (index < 0) continue;  // no entry reads like this: nothing to write
      text = std::to_string(index);
    }
    locale.SetLocaleInfo(locale_, kLocaleProps[prop].type, text);
  }
}

// ---------------------------------------------------------------- components

const ClassInfo& TSysDisplay::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysDisplay>("TSysDisplay", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Display", TSysDisplayObject::StaticClass(), &TSysDisplay::Display,
                                            &TSysDisplay::SetDisplay)
                                    .Build();
  return info;
}

TSysDisplay::TSysDisplay(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysDisplayObject>(Context()));
}

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

const ClassInfo& TSysKeyboard::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysKeyboard>("TSysKeyboard", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Keyboard", TSysKeyboardObject::StaticClass(), &TSysKeyboard::Keyboard,
                                            &TSysKeyboard::SetKeyboard)
                                    .Build();
  return info;
}

TSysKeyboard::TSysKeyboard(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysKeyboardObject>(Context()));
}

const ClassInfo& TSysLocale::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysLocale>("TSysLocale", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Locale", TSysLocaleObject::StaticClass(), &TSysLocale::Locale,
                                            &TSysLocale::SetLocale)
                                    .Build();
  return info;
}

TSysLocale::TSysLocale(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysLocaleObject>(Context()));
}

}  // namespace vsi
