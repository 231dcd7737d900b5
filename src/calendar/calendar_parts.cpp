#include "calendar/calendar_parts.h"

#include <algorithm>

#include "calendar/calendar_panel.h"
#include "framework/dates.h"

namespace vsi {

// ---- names ----

TNameOfDays::TNameOfDays(const TFormatSettings* locale) : locale_(locale) { SetUseIntlNames(true); }

void TNameOfDays::LoadLocaleNames() {
  if (!locale_) return;
  // The settings hold Sunday first; the names here run from Monday.
  for (int i = 0; i < 7; ++i) names_[i] = locale_->shortDayNames[(i + 1) % 7];
}

std::string TNameOfDays::Name(int index) const {
  if (index >= 8 && index <= 14) index -= 7;
  if (index < 1 || index > 7) return std::string();
  return names_[index - 1];
}

void TNameOfDays::SetName(int index, const std::string& name) {
  if (index < 1 || index > 7) return;
  names_[index - 1] = name;
  TComponent::Fire(OnChange, this);
}

void TNameOfDays::SetNameQuiet(int index, const std::string& name) {
  if (index >= 1 && index <= 7) names_[index - 1] = name;
}

void TNameOfDays::SetUseIntlNames(bool value) {
  useIntl_ = value;
  if (value) {
    LoadLocaleNames();
    TComponent::Fire(OnChange, this);
  }
}

void TNameOfDays::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TNameOfDays*>(&source)) {
    names_ = s->names_;
    useIntl_ = s->useIntl_;
    TComponent::Fire(OnChange, this);
    return;
  }
  TPersistent::Assign(source);
}

TNameOfMonths::TNameOfMonths(const TFormatSettings* locale) : locale_(locale) { SetUseIntlNames(true); }

void TNameOfMonths::LoadLocaleNames() {
  if (!locale_) return;
  for (int i = 0; i < 12; ++i) names_[i] = locale_->shortMonthNames[i];
}

std::string TNameOfMonths::Name(int month) const {
  if (month < 1 || month > 12) return std::string();
  return names_[month - 1];
}

void TNameOfMonths::SetName(int month, const std::string& name) {
  if (month < 1 || month > 12) return;
  names_[month - 1] = name;
  TComponent::Fire(OnChange, this);
}

void TNameOfMonths::SetNameQuiet(int month, const std::string& name) {
  if (month >= 1 && month <= 12) names_[month - 1] = name;
}

void TNameOfMonths::SetUseIntlNames(bool value) {
  useIntl_ = value;
  if (value) {
    LoadLocaleNames();
    TComponent::Fire(OnChange, this);
  }
}

void TNameOfMonths::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TNameOfMonths*>(&source)) {
    names_ = s->names_;
    useIntl_ = s->useIntl_;
    TComponent::Fire(OnChange, this);
    return;
  }
  TPersistent::Assign(source);
}

// ---- week-number rule ----

void TYearStartAt::SetDay(int slot, int v) {
  if (v < 1 || v > 31) {
    if (owner_) owner_->ShowError("Invalid day. Should be in [1..31]");
    return;
  }
  v_[slot] = v;
  if (owner_) owner_->YearStartChanged();
}

void TYearStartAt::SetMonth(int slot, int v) {
  if (v < 1 || v > 12) {
    if (owner_) owner_->ShowError("Invalid month. Should be in [1..12]");
    return;
  }
  v_[slot] = v;
  if (owner_) owner_->YearStartChanged();
}

void TYearStartAt::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TYearStartAt*>(&source)) {
    v_ = s->v_;
    if (owner_) owner_->YearStartChanged();
    return;
  }
  TPersistent::Assign(source);
}

// ---- date bounds ----

void TMinMaxDate::Changed() {
  if (owner_) owner_->RequestRepaint();
}
void TMinMaxDate::SetDay(int16_t v) {
  day_ = v;
  Changed();
}
void TMinMaxDate::SetMonth(int16_t v) {
  month_ = v;
  Changed();
}
void TMinMaxDate::SetYear(int16_t v) {
  year_ = v;
  Changed();
}
void TMinMaxDate::SetUse(bool v) {
  use_ = v;
  Changed();
}
bool TMinMaxDate::Date(TDateTime& out) const { return dates::TryEncodeDate(year_, month_, day_, out); }

void TMinMaxDate::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TMinMaxDate*>(&source)) {
    day_ = s->day_;
    month_ = s->month_;
    year_ = s->year_;
    use_ = s->use_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- arrows ----

void TCalendarBrowsers::Set(bool& field, bool v) {
  field = v;
  TComponent::Fire(OnChange, this);
}

void TCalendarBrowsers::SetQuiet(bool prevMonth, bool prevYear, bool nextMonth, bool nextYear) {
  prevMonth_ = prevMonth;
  prevYear_ = prevYear;
  nextMonth_ = nextMonth;
  nextYear_ = nextYear;
}

void TCalendarBrowsers::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TCalendarBrowsers*>(&source)) {
    SetQuiet(s->prevMonth_, s->prevYear_, s->nextMonth_, s->nextYear_);
    TComponent::Fire(OnChange, this);
    return;
  }
  TPersistent::Assign(source);
}

void TCalGlyphs::Set(int slot, const TCalBitmap& b) {
  bmp_[slot] = b;
  TComponent::Fire(OnChange, this);
  if (owner_) owner_->RequestRepaint();
}

void TCalGlyphs::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TCalGlyphs*>(&source)) {
    bmp_ = s->bmp_;
    TComponent::Fire(OnChange, this);
    if (owner_) owner_->RequestRepaint();
    return;
  }
  TPersistent::Assign(source);
}

void TBackgroundImage::SetPicture(const TCalBitmap& b) {
  picture_ = b;
  TComponent::Fire(OnChange, this);
}

void TBackgroundImage::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TBackgroundImage*>(&source)) {
    SetPicture(s->picture_);
    return;
  }
  TPersistent::Assign(source);
}

// ---- date lists ----

TSelDateItem::TSelDateItem(TSelDateItems* list) : list_(list) {}

TSelDateItem::~TSelDateItem() { NotifyOwner(date_); }

void TSelDateItem::NotifyOwner(TDateTime date) {
  if (list_ && list_->CanNotifyOwner()) list_->owner_->DateChanged(date);
}

void TSelDateItem::SetDate(TDateTime d) {
  if (d == date_) return;
  date_ = d;
  NotifyOwner(d);
}

void TSelDateItem::SetColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  NotifyOwner(date_);
}

void TSelDateItem::SetShape(TEventShape s) {
  if (s == shape_) return;
  shape_ = s;
  NotifyOwner(date_);
}

void TSelDateItem::Assign(const TPersistent& source) {
  if (auto* s = dynamic_cast<const TSelDateItem*>(&source)) {
    date_ = s->date_;
    hint_ = s->hint_;
    color_ = s->color_;
    shape_ = s->shape_;
    fontColor_ = s->fontColor_;
    NotifyOwner(date_);
    return;
  }
  TPersistent::Assign(source);
}

TSelDateItems::TSelDateItems(TCustomCalendarPanel* owner) : owner_(owner) {}

TSelDateItems::~TSelDateItems() {
  // Nobody is left to repaint for entries that go with the list.
  ++internalOps_;
  items_.clear();
}

bool TSelDateItems::CanNotifyOwner() const {
  return owner_ && internalOps_ == 0 && visible_ && owner_->HasWindow();
}

void TSelDateItems::Changed() {
  if (updateCount_ == 0) TComponent::Fire(OnChange, this);
}

TSelDateItem* TSelDateItems::Items(int index) const {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  return items_[index].get();
}

TSelDateItem* TSelDateItems::Add() {
  auto item = std::make_unique<TSelDateItem>(this);
  if (owner_) {
    item->color_ = owner_->EventMarkerColor();
    item->shape_ = owner_->EventMarkerShape();
  }
  items_.push_back(std::move(item));
  Changed();
  return items_.back().get();
}

TSelDateItem* TSelDateItems::AddDate(TDateTime date) {
  TSelDateItem* item = Add();
  item->SetDate(date);
  return item;
}

void TSelDateItems::Delete(int index) {
  if (index < 0 || index >= Count()) throw ERangeError(Format("List index out of bounds (%d)", index));
  // Out of the list first, so the entry's farewell repaint sees the list without it.
  std::unique_ptr<TSelDateItem> gone = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  gone.reset();
  Changed();
}

void TSelDateItems::Clear() {
  if (items_.empty()) return;
  ++internalOps_;
  items_.clear();
  --internalOps_;
  Changed();
}

int TSelDateItems::IndexOfDate(TDateTime date) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (dates::SameDay(items_[i]->date_, date)) return static_cast<int>(i);
  return -1;
}

TSelDateItem* TSelDateItems::DateItem(TDateTime date) const {
  int i = IndexOfDate(date);
  return i < 0 ? nullptr : items_[i].get();
}

void TSelDateItems::AddRange(TDateTime a, TDateTime b) {
  long from = dates::WholeDay(std::min(a, b)), to = dates::WholeDay(std::max(a, b));
  for (long d = from; d <= to; ++d)
    if (!HasDate(static_cast<TDateTime>(d))) AddDate(static_cast<TDateTime>(d));
}

void TSelDateItems::RemoveRange(TDateTime a, TDateTime b) {
  long from = dates::WholeDay(std::min(a, b)), to = dates::WholeDay(std::max(a, b));
  for (long d = from; d <= to; ++d) {
    int i = IndexOfDate(static_cast<TDateTime>(d));
    if (i >= 0) Delete(i);
  }
}

void TSelDateItems::Sort() {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (size_t i = 1; i < items_.size(); ++i) {
      if (items_[i - 1]->date_ > items_[i]->date_) {
        std::swap(items_[i - 1], items_[i]);
        swapped = true;
      }
    }
  }
  Changed();
}

void TSelDateItems::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) {
    if (owner_) owner_->DatesChanged();
    Changed();
  }
}

void TSelDateItems::Notify() {
  if (updateCount_ == 0 && owner_) owner_->DatesChanged();
}

void TSelDateItems::Assign(const TPersistent& source) {
  auto* s = dynamic_cast<const TSelDateItems*>(&source);
  if (!s) {
    TPersistent::Assign(source);
    return;
  }
  if (s == this) return;
  ++internalOps_;
  items_.clear();
  for (const auto& it : s->items_) {
    auto copy = std::make_unique<TSelDateItem>(this);
    copy->date_ = it->date_;
    copy->hint_ = it->hint_;
    copy->color_ = it->color_;
    copy->shape_ = it->shape_;
    copy->fontColor_ = it->fontColor_;
    items_.push_back(std::move(copy));
  }
  --internalOps_;
  Changed();
}

}  // namespace vsi
