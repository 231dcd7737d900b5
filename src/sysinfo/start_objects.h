#pragma once
// The information objects the main window retrieves at start without showing them: display
// (desktop effects, screen saver, wallpaper and patterns, display modes), network (user,
// computer name, connected and shared resources, adapters), keyboard and locale; their
// components.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/strings.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

// ---------------------------------------------------------------- display

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

// ---------------------------------------------------------------- network

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

// ---------------------------------------------------------------- keyboard

class TSysKeyboardObject : public TSysObject {
  VSI_CLASS(TSysKeyboardObject)
  explicit TSysKeyboardObject(AppContext& context);
  int32_t Delay() const { return delay_; }
  void SetDelay(int32_t value);
  int32_t Speed() const { return speed_; }
  void SetSpeed(int32_t value);
  bool NumLock() const { return numLock_; }
  bool CapsLock() const { return capsLock_; }
  bool ScrollLock() const { return scrollLock_; }
  int32_t Typ() const { return typ_; }
  int32_t SubTyp() const { return subTyp_; }
  int32_t FunctionKeys() const { return functionKeys_; }
  const AnsiString& Layout() const { return layout_; }
  int32_t CaretBlinkTime() const { return caretBlinkTime_; }
  void SetCaretBlinkTime(int32_t value);
  void Retrieve() override;
  void Apply() override;
  void DiscardBool(bool) {}
  void DiscardInt(int32_t) {}
  void DiscardText(const AnsiString&) {}

 private:
  int32_t delay_ = 0, speed_ = 0, typ_ = 0, subTyp_ = 0, functionKeys_ = 0, caretBlinkTime_ = 0;
  bool numLock_ = false, capsLock_ = false, scrollLock_ = false;
  AnsiString layout_;
};

// ---------------------------------------------------------------- locale

// The locale object's properties, by the index their shared setter receives.
enum TSysLocaleProp : int {
  lpCalendarType,
  lpCurrencyDigits,
  lpPositiveCurrencyFormat,
  lpDigits,
  lpFirstDayOfWeek,
  lpFirstWeekOfYear,
  lpShowLeadingZero,
  lpMeasurement,
  lpNegativeCurrencyFormat,
  lpNegativeFormat,
  lpClockMode,
  lpMorningSymbol,
  lpAfternoonSymbol,
  lpCurrencySymbol,
  lpDateSeparator,
  lpDecimalSeparator,
  lpGrouping,
  lpListSeparator,
  lpLongDateFormat,
  lpCurrencyDecimalSeparator,
  lpCurrencyGrouping,
  lpCurrencyGroupingSign,
  lpNegativeSign,
  lpPositiveSign,
  lpShortDateFormat,
  lpThousandSeparator,
  lpTimeSeparator,
  lpTimeFormat,
  lpShortDateOrder,
  lpLongDateOrder,
  lpYearDigits,
  lpInternationalCurrencySymbol,
  lpLanguage,
  lpLanguageEnglish,
  lpLanguageSymbol,
  lpCountryCode,
  lpCountry,
  lpCountrySymbol,
};
constexpr int kLocalePropCount = 38;
const char* LocalePropName(int index);

// The pattern tables: each literal split at ';', with the first ',' and '-' of every entry
// replaced by the locale's separators ("\xA4", the currency sign, stays).
struct LocalePatterns {
  std::vector<AnsiString> positiveCurrency, negativeCurrency, negativeNumber, leadingZero, clockMode;
  static LocalePatterns Build(const AnsiString& negativeSign, const AnsiString& decimalSeparator,
                              const AnsiString& currencyDecimalSeparator);
  // The entry the locale number selects; empty text when it is not a decimal number or has no
  // entry.
  static AnsiString Select(const std::vector<AnsiString>& table, const AnsiString& number);
  // The number of the entry equal to `value`; -1 when none is.
  static int IndexOf(const std::vector<AnsiString>& table, const AnsiString& value);
};

class TSysLocaleObject : public TSysObject {
  VSI_CLASS(TSysLocaleObject)
  explicit TSysLocaleObject(AppContext& context);
  const AnsiString& Get(int index) const { return values_.at(static_cast<size_t>(index)); }
  // The shared setter: records "Locale:<name>" and stores.
  void Set(int index, const AnsiString& value);
  template <int I>
  const AnsiString& Prop() const {
    return values_[I];
  }
  template <int I>
  void SetProp(const AnsiString& value) {
    Set(I, value);
  }
  // The thread locale read by the last retrieval.
  LCID Locale() const { return locale_; }
  void Retrieve() override;
  void Apply() override;

 private:
  AnsiString Read(LCTYPE type);
  std::array<AnsiString, kLocalePropCount> values_;
  LCID locale_ = 0;
};

// ---------------------------------------------------------------- components

class TSysDisplay : public TSysBaseComponent {
  VSI_CLASS(TSysDisplay)
  explicit TSysDisplay(TComponent* owner);
  TSysDisplayObject* Display() const { return static_cast<TSysDisplayObject*>(Object()); }
  void SetDisplay(TSysDisplayObject*) {}
};

class TSysNetwork : public TSysBaseComponent {
  VSI_CLASS(TSysNetwork)
  explicit TSysNetwork(TComponent* owner);
  TSysNetworkObject* Network() const { return static_cast<TSysNetworkObject*>(Object()); }
  void SetNetwork(TSysNetworkObject*) {}
};

class TSysKeyboard : public TSysBaseComponent {
  VSI_CLASS(TSysKeyboard)
  explicit TSysKeyboard(TComponent* owner);
  TSysKeyboardObject* Keyboard() const { return static_cast<TSysKeyboardObject*>(Object()); }
  void SetKeyboard(TSysKeyboardObject*) {}
};

class TSysLocale : public TSysBaseComponent {
  VSI_CLASS(TSysLocale)
  explicit TSysLocale(TComponent* owner);
  TSysLocaleObject* Locale() const { return static_cast<TSysLocaleObject*>(Object()); }
  void SetLocale(TSysLocaleObject*) {}
};

}  // namespace vsi
