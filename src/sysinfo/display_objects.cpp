#include "sysinfo/display_objects.h"

#include <utility>

#include "framework/context.h"
#include "framework/exceptions.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"
#include "sysinfo/setting_helpers.h"

namespace vsi {

namespace {
constexpr const char* kDesktopKey = "\\Control Panel\\Desktop";
constexpr const char* kPatternsKey = "\\Control Panel\\Patterns";
}  // namespace

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

// ---------------------------------------------------------------- component

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

}  // namespace vsi
