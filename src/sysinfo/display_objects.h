#pragma once
// The display objects the main window retrieves at start: desktop effects (plus), screen
// saver, wallpaper and patterns, display modes, and the display object that holds them; its
// component.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/strings.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

class TSysPlusObject : public TSysObject {
  VSI_CLASS(TSysPlusObject)
  explicit TSysPlusObject(AppContext& context);
  bool Available() const { return true; }
  bool FontSmoothing() const { return fontSmoothing_; }
  void SetFontSmoothing(bool value);
  bool WindowAnimation() const { return windowAnimation_; }
  void SetWindowAnimation(bool value);
  bool DragFullWindows() const { return dragFullWindows_; }
  void SetDragFullWindows(bool value);
  void Retrieve() override;
  void Apply() override;
  void DiscardBool(bool) {}

 private:
  bool fontSmoothing_ = false, windowAnimation_ = false, dragFullWindows_ = false;
};

class TSysScreenSaverObject : public TSysObject {
  VSI_CLASS(TSysScreenSaverObject)
  // Applies every accepted assignment at once.
  explicit TSysScreenSaverObject(AppContext& context);
  ~TSysScreenSaverObject() override;
  bool Active() const { return active_; }
  // Minutes.
  uint32_t Delay() const { return delay_; }
  void SetDelay(uint32_t value);
  bool Secure() const { return secure_; }
  void SetSecure(bool value);
  bool Running() const { return running_; }
  const AnsiString& ScreenSaver() const { return screenSaver_; }
  void SetScreenSaver(const AnsiString& value);
  // Full paths of the "*.scr" files of the Windows and system folders.
  TStringList* ScreenSavers() const { return screenSavers_.get(); }
  void Retrieve() override;
  void Apply() override;
  void DiscardBool(bool) {}
  void DiscardList(TStringList*) {}

 private:
  void AddScreenSavers(std::string folder);
  bool active_ = false, secure_ = false, running_ = false;
  uint32_t delay_ = 0;
  AnsiString screenSaver_;
  std::unique_ptr<TStringList> screenSavers_;
};

class TSysWallpaperObject : public TSysObject {
  VSI_CLASS(TSysWallpaperObject)
  explicit TSysWallpaperObject(AppContext& context);
  ~TSysWallpaperObject() override;
  const AnsiString& Filename() const { return filename_; }
  void SetFilename(const AnsiString& value);
  bool Tile() const { return tile_; }
  void SetTile(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  // Pattern names; PatternData holds their data, index for index.
  TStringList* Patterns() const { return patterns_.get(); }
  const TStringList& PatternData() const { return *patternData_; }
  const AnsiString& Pattern() const { return pattern_; }
  void SetPattern(const AnsiString& value);
  // The desktop's raw "Pattern" value.
  const AnsiString& DesktopPattern() const { return desktopPattern_; }
  void Retrieve() override;
  void Apply() override;
  void DiscardList(TStringList*) {}

 private:
  AnsiString filename_, pattern_, desktopPattern_;
  bool tile_ = false, stretch_ = false;
  std::unique_ptr<TStringList> patterns_, patternData_;
};

class TSysDisplayMode : public TCollectionItem {
  VSI_CLASS(TSysDisplayMode)
  explicit TSysDisplayMode(TCollection* collection) : TCollectionItem(collection) {}
  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  uint32_t Frequency() const { return frequency_; }
  uint32_t BitsPerPixel() const { return bitsPerPixel_; }
  uint32_t Colors() const { return colors_; }
  bool Monochrome() const { return monochrome_; }
  bool Interlaced() const { return interlaced_; }
  void Fill(const DisplayMode& mode);

 private:
  uint32_t width_ = 0, height_ = 0, frequency_ = 0, bitsPerPixel_ = 0, colors_ = 0;
  bool monochrome_ = false, interlaced_ = false;
};

// 2 to the power of the bit count, 32 bits counted as 24, at least 2.
uint32_t ColorsOfBitCount(uint32_t bitsPerPixel);

class TSysDisplayModes : public TCollection {
  VSI_CLASS(TSysDisplayModes)
  TSysDisplayModes();
  TSysDisplayMode* Items(int index) const { return static_cast<TSysDisplayMode*>(TCollection::Items(index)); }
  // Empties the list and adds every mode the display answers, from mode 0 on.
  void Retrieve(ISystem& system);
};

class TSysDisplayObject : public TSysObject {
  VSI_CLASS(TSysDisplayObject)
  explicit TSysDisplayObject(AppContext& context);
  ~TSysDisplayObject() override;
  TSysPlusObject* Plus() const { return plus_.get(); }
  TSysScreenSaverObject* ScreenSaver() const { return screenSaver_.get(); }
  TSysDisplayModes* DisplayModes() const { return displayModes_.get(); }
  TSysWallpaperObject* Wallpaper() const { return wallpaper_.get(); }
  void Retrieve() override;
  void Apply() override;

 private:
  std::unique_ptr<TSysPlusObject> plus_;
  std::unique_ptr<TSysScreenSaverObject> screenSaver_;
  std::unique_ptr<TSysDisplayModes> displayModes_;
  std::unique_ptr<TSysWallpaperObject> wallpaper_;
};

class TSysDisplay : public TSysBaseComponent {
  VSI_CLASS(TSysDisplay)
  explicit TSysDisplay(TComponent* owner);
  TSysDisplayObject* Display() const { return static_cast<TSysDisplayObject*>(Object()); }
  void SetDisplay(TSysDisplayObject*) {}
};

}  // namespace vsi
