#pragma once
// The small objects a calendar panel owns: day and month names, the week-number rule, the
// date bounds, the arrow switches and bitmaps, the background picture and the date lists.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_types.h"
#include "framework/object.h"
#include "platform/types.h"

namespace vsi {

class TCustomCalendarPanel;

// Seven day names, Monday first.
class TNameOfDays : public TPersistent {
  VSI_CLASS(TNameOfDays)
  // `locale` supplies the locale's abbreviated names (Sunday first); may be null.
  explicit TNameOfDays(const TFormatSettings* locale);
  void Assign(const TPersistent& source) override;

  // 1 ... 7 = Monday ... Sunday; 8 ... 14 wrap once; anything else gives empty text.
  std::string Name(int index) const;
  void SetName(int index, const std::string& name);  // 1 ... 7
  // Stores without raising OnChange (the group copies names this way).
  void SetNameQuiet(int index, const std::string& name);

  std::string Monday() const { return names_[0]; }
  std::string Tuesday() const { return names_[1]; }
  std::string Wednesday() const { return names_[2]; }
  std::string Thursday() const { return names_[3]; }
  std::string Friday() const { return names_[4]; }
  std::string Saturday() const { return names_[5]; }
  std::string Sunday() const { return names_[6]; }
  void SetMonday(const std::string& s) { SetName(1, s); }
  void SetTuesday(const std::string& s) { SetName(2, s); }
  void SetWednesday(const std::string& s) { SetName(3, s); }
  void SetThursday(const std::string& s) { SetName(4, s); }
  void SetFriday(const std::string& s) { SetName(5, s); }
  void SetSaturday(const std::string& s) { SetName(6, s); }
  void SetSunday(const std::string& s) { SetName(7, s); }
  bool UseIntlNames() const { return useIntl_; }
  void SetUseIntlNames(bool value);

  TNotifyEvent OnChange;

 private:
  void LoadLocaleNames();
  const TFormatSettings* locale_;
  std::array<std::string, 7> names_;
  bool useIntl_ = false;
};

// Twelve month names, January first.
class TNameOfMonths : public TPersistent {
  VSI_CLASS(TNameOfMonths)
  explicit TNameOfMonths(const TFormatSettings* locale);
  void Assign(const TPersistent& source) override;

  // 1 ... 12; anything else gives empty text.
  std::string Name(int month) const;
  void SetName(int month, const std::string& name);
  void SetNameQuiet(int month, const std::string& name);

  std::string January() const { return names_[0]; }
  std::string February() const { return names_[1]; }
  std::string March() const { return names_[2]; }
  std::string April() const { return names_[3]; }
  std::string May() const { return names_[4]; }
  std::string June() const { return names_[5]; }
  std::string July() const { return names_[6]; }
  std::string August() const { return names_[7]; }
  std::string September() const { return names_[8]; }
  std::string October() const { return names_[9]; }
  std::string November() const { return names_[10]; }
  std::string December() const { return names_[11]; }
  void SetJanuary(const std::string& s) { SetName(1, s); }
  void SetFebruary(const std::string& s) { SetName(2, s); }
  void SetMarch(const std::string& s) { SetName(3, s); }
  void SetApril(const std::string& s) { SetName(4, s); }
  void SetMay(const std::string& s) { SetName(5, s); }
  void SetJune(const std::string& s) { SetName(6, s); }
  void SetJuly(const std::string& s) { SetName(7, s); }
  void SetAugust(const std::string& s) { SetName(8, s); }
  void SetSeptember(const std::string& s) { SetName(9, s); }
  void SetOctober(const std::string& s) { SetName(10, s); }
  void SetNovember(const std::string& s) { SetName(11, s); }
  void SetDecember(const std::string& s) { SetName(12, s); }
  bool UseIntlNames() const { return useIntl_; }
  void SetUseIntlNames(bool value);

  TNotifyEvent OnChange;

 private:
  void LoadLocaleNames();
  const TFormatSettings* locale_;
  std::array<std::string, 12> names_;
  bool useIntl_ = false;
};

// Where the week count of the shown, the previous and the next year begins.
class TYearStartAt : public TPersistent {
  VSI_CLASS(TYearStartAt)
  explicit TYearStartAt(TCustomCalendarPanel* owner) : owner_(owner) {}
  void Assign(const TPersistent& source) override;

  int StartDay() const { return v_[0]; }
  int StartMonth() const { return v_[1]; }
  int PrevYearStartDay() const { return v_[2]; }
  int PrevYearStartMonth() const { return v_[3]; }
  int NextYearStartDay() const { return v_[4]; }
  int NextYearStartMonth() const { return v_[5]; }
  // Values outside 1 ... 31 (days) or 1 ... 12 (months) are refused with the error dialog.
  void SetStartDay(int v) { SetDay(0, v); }
  void SetStartMonth(int v) { SetMonth(1, v); }
  void SetPrevYearStartDay(int v) { SetDay(2, v); }
  void SetPrevYearStartMonth(int v) { SetMonth(3, v); }
  void SetNextYearStartDay(int v) { SetDay(4, v); }
  void SetNextYearStartMonth(int v) { SetMonth(5, v); }

 private:
  void SetDay(int slot, int v);
  void SetMonth(int slot, int v);
  TCustomCalendarPanel* owner_;
  std::array<int, 6> v_{1, 1, 1, 1, 1, 1};
};

// One bound of the allowed date range; it counts only while Use is on.
class TMinMaxDate : public TPersistent {
  VSI_CLASS(TMinMaxDate)
  explicit TMinMaxDate(TCustomCalendarPanel* owner) : owner_(owner) {}
  void Assign(const TPersistent& source) override;

  int16_t Day() const { return day_; }
  int16_t Month() const { return month_; }
  int16_t Year() const { return year_; }
  bool Use() const { return use_; }
  void SetDay(int16_t v);
  void SetMonth(int16_t v);
  void SetYear(int16_t v);
  void SetUse(bool v);
  // The bound as a date; false when its fields do not form one.
  bool Date(TDateTime& out) const;

 private:
  void Changed();
  TCustomCalendarPanel* owner_;
  int16_t day_ = 0, month_ = 0, year_ = 0;
  bool use_ = false;
};

// Which navigation arrows are shown and answered.
class TCalendarBrowsers : public TPersistent {
  VSI_CLASS(TCalendarBrowsers)
  TCalendarBrowsers() = default;
  void Assign(const TPersistent& source) override;

  bool PrevMonth() const { return prevMonth_; }
  bool PrevYear() const { return prevYear_; }
  bool NextMonth() const { return nextMonth_; }
  bool NextYear() const { return nextYear_; }
  void SetPrevMonth(bool v) { Set(prevMonth_, v); }
  void SetPrevYear(bool v) { Set(prevYear_, v); }
  void SetNextMonth(bool v) { Set(nextMonth_, v); }
  void SetNextYear(bool v) { Set(nextYear_, v); }
  // Sets all four without raising OnChange.
  void SetQuiet(bool prevMonth, bool prevYear, bool nextMonth, bool nextYear);

  TNotifyEvent OnChange;

 private:
  void Set(bool& field, bool v);
  bool prevMonth_ = true, prevYear_ = true, nextMonth_ = true, nextYear_ = true;
};

// A picture: a bitmap resource of the executable and its size; empty when it has no name.
struct TCalBitmap {
  std::string resource;
  int width = 0, height = 0;
  bool Empty() const { return resource.empty() || width <= 0 || height <= 0; }
  bool operator==(const TCalBitmap&) const = default;
};

// Bitmaps that replace the triangles of the four arrows.
class TCalGlyphs : public TPersistent {
  VSI_CLASS(TCalGlyphs)
  explicit TCalGlyphs(TCustomCalendarPanel* owner) : owner_(owner) {}
  void Assign(const TPersistent& source) override;

  const TCalBitmap& PrevYear() const { return bmp_[0]; }
  const TCalBitmap& NextYear() const { return bmp_[1]; }
  const TCalBitmap& PrevMonth() const { return bmp_[2]; }
  const TCalBitmap& NextMonth() const { return bmp_[3]; }
  void SetPrevYear(const TCalBitmap& b) { Set(0, b); }
  void SetNextYear(const TCalBitmap& b) { Set(1, b); }
  void SetPrevMonth(const TCalBitmap& b) { Set(2, b); }
  void SetNextMonth(const TCalBitmap& b) { Set(3, b); }

  TNotifyEvent OnChange;

 private:
  void Set(int slot, const TCalBitmap& b);
  TCustomCalendarPanel* owner_;
  std::array<TCalBitmap, 4> bmp_;
};

// The background picture of a calendar.
class TBackgroundImage : public TPersistent {
  VSI_CLASS(TBackgroundImage)
  TBackgroundImage() = default;
  void Assign(const TPersistent& source) override;
  const TCalBitmap& Picture() const { return picture_; }
  void SetPicture(const TCalBitmap& b);
  bool Empty() const { return picture_.Empty(); }
  TNotifyEvent OnChange;

 private:
  TCalBitmap picture_;
};

class TSelDateItems;

// One entry of a date list: a selected date or an event day.
class TSelDateItem : public TPersistent {
  VSI_CLASS(TSelDateItem)
  explicit TSelDateItem(TSelDateItems* list);
  ~TSelDateItem() override;
  void Assign(const TPersistent& source) override;

  TDateTime Date() const { return date_; }
  void SetDate(TDateTime d);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& s) { hint_ = s; }
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TEventShape Shape() const { return shape_; }
  void SetShape(TEventShape s);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor c) { fontColor_ = c; }

 private:
  friend class TSelDateItems;
  void NotifyOwner(TDateTime date);
  TSelDateItems* list_;
  TDateTime date_ = 0;
  std::string hint_;
  TColor color_ = clYellow;
  TEventShape shape_ = evsCircle;
  TColor fontColor_ = clBlack;
};

// A list of dates (the selection, the event days).
class TSelDateItems : public TPersistent {
  VSI_CLASS(TSelDateItems)
  explicit TSelDateItems(TCustomCalendarPanel* owner);
  ~TSelDateItems() override;
  TSelDateItems(const TSelDateItems&) = delete;
  TSelDateItems& operator=(const TSelDateItems&) = delete;
  // Copies the other list's entries (no single-entry notifications).
  void Assign(const TPersistent& source) override;

  TCustomCalendarPanel* Owner() const { return owner_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TSelDateItem* Items(int index) const;
  // A new entry with the owner's marker colour and shape.
  TSelDateItem* Add();
  TSelDateItem* AddDate(TDateTime date);
  void Delete(int index);
  void Clear();
  // Position of the first entry on the same day as `date`, or -1.
  int IndexOfDate(TDateTime date) const;
  TSelDateItem* DateItem(TDateTime date) const;
  bool HasDate(TDateTime date) const { return IndexOfDate(date) >= 0; }
  // Every whole day from the smaller to the larger date, both included.
  void AddRange(TDateTime a, TDateTime b);
  void RemoveRange(TDateTime a, TDateTime b);
  void Sort();

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  // DatesChanged to the owner unless inside an update.
  void Notify();
  // Lowers a positive update count without telling anyone.
  void CancelUpdate() {
    if (updateCount_ > 0) --updateCount_;
  }
  int UpdateCount() const { return updateCount_; }

  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }

  TNotifyEvent OnChange;

 private:
  friend class TSelDateItem;
  friend class TMonthCalendar;
  void Changed();
  bool CanNotifyOwner() const;
  TCustomCalendarPanel* owner_;
  std::vector<std::unique_ptr<TSelDateItem>> items_;
  int updateCount_ = 0;
  int internalOps_ = 0;  // clearing, copying, asking the event-property handler
  bool visible_ = true;
};

}  // namespace vsi
