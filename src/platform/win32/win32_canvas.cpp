#include "platform/win32/win32_canvas.h"

#include <optional>
#include <vector>

#include "platform/image_scale.h"

#include <algorithm>

#include "platform/win32/win32_libraries.h"

namespace vsi {
namespace win32 {

namespace {
constexpr int kEditTextPart = 1;  // EP_EDITTEXT
constexpr int kEditNormal = 1;    // ETS_NORMAL
}  // namespace

COLORREF ResolveColorRef(TColor c) {
  if (IsSystemColor(c)) return ::GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0x00FFFFFF);
}

GdiResources::GdiResources(HINSTANCE module) : module_(module ? module : ::GetModuleHandleW(nullptr)) {}

GdiResources::~GdiResources() {
  // Owned objects go with the maps; the theme library last.
  fonts_.clear();
  bitmaps_.clear();
  uxtheme_.Reset();
}

HFONT GdiResources::Font(const FontSpec& spec) {
  FontKey key{spec.name, spec.height, static_cast<uint8_t>(spec.style & 0x0F), spec.charset};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.Get();
  LOGFONTA lf{};
  // A negative height asks for the character height, not the cell height.
  lf.lfHeight = -spec.height;
  lf.lfWeight = (spec.style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (spec.style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (spec.style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (spec.style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = spec.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  size_t n = std::min(spec.name.size(), sizeof lf.lfFaceName - 1);
  std::copy_n(spec.name.data(), n, lf.lfFaceName);
  HFONT font = ::CreateFontIndirectA(&lf);
  if (!font) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return fonts_.emplace(key, ScopedGdiObject<HFONT>(font)).first->second.Get();
}

HBITMAP GdiResources::Bitmap(const std::string& name) {
  if (name.empty()) return nullptr;
  auto it = bitmaps_.find(name);
  if (it != bitmaps_.end()) return it->second.Get();
  auto bitmap = static_cast<HBITMAP>(::LoadImageA(module_, name.c_str(), IMAGE_BITMAP, 0, 0, 0));
  // A missing picture is remembered too, so it is not searched for on every paint.
  return bitmaps_.emplace(name, ScopedGdiObject<HBITMAP>(bitmap)).first->second.Get();
}

HBITMAP GdiResources::ScaledBitmap(const std::string& name, int dpi, bool transparent) {
  HBITMAP source = Bitmap(name);
  if (!source || dpi == 96) return source;
  auto key = std::make_tuple(name, dpi, transparent);
  if (auto it = scaledBitmaps_.find(key); it != scaledBitmaps_.end()) return it->second.Get();
  ScopedGdiObject<HBITMAP> made;
  BITMAP info{};
  if (::GetObjectW(source, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const int sw = static_cast<int>(info.bmWidth), sh = static_cast<int>(info.bmHeight);
    Pixels pixels{sw, sh, std::vector<uint32_t>(size_t(sw) * sh)};
    ScopedGetDC screen(nullptr);
    if (screen && ::GetDIBits(screen.Get(), source, 0, sh, pixels.data.data(), &bi, DIB_RGB_COLORS)) {
      for (uint32_t& p : pixels.data) p &= 0xFFFFFF;
      std::optional<uint32_t> keyColour;
      if (transparent) keyColour = pixels.At(0, sh - 1);
      const int w = std::max(1, (sw * dpi + 48) / 96), h = std::max(1, (sh * dpi + 48) / 96);
      Pixels scaled = ResamplePixels(pixels, w, h, keyColour);
      bi.bmiHeader.biWidth = w;
      bi.bmiHeader.biHeight = -h;
      made.Reset(::CreateCompatibleBitmap(screen.Get(), w, h));
      if (made && !::SetDIBits(screen.Get(), made.Get(), 0, h, scaled.data.data(), &bi, DIB_RGB_COLORS)) made.Reset();
    }
  }
  // A picture that cannot be resampled is remembered too, and drawn at its own size.
  HBITMAP result = scaledBitmaps_.emplace(key, std::move(made)).first->second.Get();
  return result ? result : source;
}

bool GdiResources::DrawEditTheme(HWND hwnd, HDC dc, const RECT& r) {
  if (!themesLoaded_) {
    themesLoaded_ = true;
    // Only from the system directory: never a uxtheme.dll planted beside the program.
    uxtheme_.Reset(LoadSystemLibrary("uxtheme.dll"));
    if (HMODULE uxtheme = uxtheme_.Get()) {
      openTheme_ = reinterpret_cast<OpenThemeDataFn>(
          reinterpret_cast<void*>(::GetProcAddress(uxtheme, "OpenThemeData")));
      closeTheme_ = reinterpret_cast<CloseThemeDataFn>(
          reinterpret_cast<void*>(::GetProcAddress(uxtheme, "CloseThemeData")));
      drawThemeBackground_ = reinterpret_cast<DrawThemeBackgroundFn>(
          reinterpret_cast<void*>(::GetProcAddress(uxtheme, "DrawThemeBackground")));
    }
  }
  if (!openTheme_ || !closeTheme_ || !drawThemeBackground_) return false;
  HANDLE theme = openTheme_(hwnd, L"EDIT");
  if (!theme) return false;
  HRESULT hr = drawThemeBackground_(theme, dc, kEditTextPart, kEditNormal, &r, nullptr);
  closeTheme_(theme);
  return SUCCEEDED(hr);
}

}  // namespace win32

namespace {
RECT ToRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
TRect FromRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
const wchar_t* Wide(const WideString& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
}  // namespace

GdiCanvas::GdiCanvas(HDC dc, win32::GdiResources& resources, HWND window, TSize client, DcState state)
    : dc_(dc), resources_(resources), window_(window), client_(client), saved_(dc, state == DcState::Restore) {
  // A kept DC may still clip to the last paint's rectangle.
  if (state == DcState::Keep) ::SelectClipRgn(dc_, nullptr);
}

GdiCanvas::~GdiCanvas() = default;

void GdiCanvas::SetBrush(TColor color, BrushStyle style) {
  if (color == brushColor_ && style == brushStyle_) return;
  brushColor_ = color;
  brushStyle_ = style;
}

void GdiCanvas::SetPen(TColor color, int width, PenStyle style) {
  if (color == penColor_ && width == penWidth_ && style == penStyle_) return;
  penColor_ = color;
  penWidth_ = width;
  penStyle_ = style;
  pen_.Reset();
}

void GdiCanvas::SetFont(const FontSpec& font) { font_ = font; }

HBRUSH GdiCanvas::Brush() {
  if (BrushClear()) return nullptr;
  ::SetDCBrushColor(dc_, win32::ResolveColorRef(brushColor_));
  return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
}

HGDIOBJ GdiCanvas::FillObject() {
  HBRUSH b = Brush();
  return b ? static_cast<HGDIOBJ>(b) : ::GetStockObject(HOLLOW_BRUSH);
}

HPEN GdiCanvas::Pen() {
  if (penStyle_ == PenStyle::Solid && penWidth_ <= 1) {
    ::SetDCPenColor(dc_, win32::ResolveColorRef(penColor_));
    return static_cast<HPEN>(::GetStockObject(DC_PEN));
  }
  if (!pen_) {
    int style = PS_SOLID;
    switch (penStyle_) {
      case PenStyle::Solid: style = PS_SOLID; break;
      case PenStyle::Dash: style = PS_DASH; break;
      case PenStyle::Dot: style = PS_DOT; break;
      case PenStyle::Clear: style = PS_NULL; break;
    }
    pen_.Reset(::CreatePen(style, penWidth_, win32::ResolveColorRef(penColor_)));
  }
  return pen_.Get();
}

void GdiCanvas::SelectFont() {
  // Cached fonts outlive the canvas (and the kept DC), so the font may stay selected.
  HFONT font = resources_.Font(font_);
  if (::GetCurrentObject(dc_, OBJ_FONT) != font) ::SelectObject(dc_, font);
}

void GdiCanvas::PrepareText() {
  SelectFont();
  ::SetTextColor(dc_, win32::ResolveColorRef(font_.color));
  if (BrushClear()) {
    ::SetBkMode(dc_, TRANSPARENT);
  } else {
    ::SetBkMode(dc_, OPAQUE);
    ::SetBkColor(dc_, win32::ResolveColorRef(brushColor_));
  }
}

void GdiCanvas::FillRect(const TRect& r) {
  if (HBRUSH b = Brush()) {
    RECT rc = ToRect(r);
    ::FillRect(dc_, &rc, b);
  }
}

void GdiCanvas::FrameRect(const TRect& r) {
  if (HBRUSH b = Brush()) {
    RECT rc = ToRect(r);
    ::FrameRect(dc_, &rc, b);
  }
}

void GdiCanvas::Rectangle(const TRect& r) {
  win32::SelectGuard pen(dc_, Pen());
  win32::SelectGuard brush(dc_, FillObject());
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) {
  win32::SelectGuard pen(dc_, Pen());
  ::LineTo(dc_, x, y);
}

void GdiCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  std::vector<POINT> pts;
  pts.reserve(points.size());
  for (const TPoint& p : points) pts.push_back(POINT{p.x, p.y});
  win32::SelectGuard pen(dc_, Pen());
  win32::SelectGuard brush(dc_, FillObject());
  ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}

void GdiCanvas::Ellipse(const TRect& r) {
  win32::SelectGuard pen(dc_, Pen());
  win32::SelectGuard brush(dc_, FillObject());
  ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::SetClipRect(const TRect* r) {
  if (!r) {
    ::SelectClipRgn(dc_, nullptr);
    return;
  }
  // The DC keeps a copy of the region.
  win32::ScopedGdiObject<HRGN> region(::CreateRectRgn(r->left, r->top, r->right, r->bottom));
  if (region) ::SelectClipRgn(dc_, region.Get());
}

void GdiCanvas::TextOut(int x, int y, const AnsiString& text) {
  PrepareText();
  ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void GdiCanvas::TextOutW(int x, int y, const WideString& text) {
  PrepareText();
  ::TextOutW(dc_, x, y, Wide(text), static_cast<int>(text.size()));
}

void GdiCanvas::TextRect(const TRect& clip, int x, int y, const AnsiString& text) {
  PrepareText();
  RECT rc = ToRect(clip);
  UINT options = ETO_CLIPPED | (BrushClear() ? 0 : ETO_OPAQUE);
  ::ExtTextOutA(dc_, x, y, options, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int GdiCanvas::DrawText(const AnsiString& text, TRect& r, uint32_t flags) {
  PrepareText();
  RECT rc = ToRect(r);
  int height = ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &rc, flags);
  if (flags & DT_CALCRECT_) r = FromRect(rc);
  return height;
}

int GdiCanvas::DrawTextW(const WideString& text, TRect& r, uint32_t flags) {
  PrepareText();
  RECT rc = ToRect(r);
  int height = ::DrawTextW(dc_, Wide(text), static_cast<int>(text.size()), &rc, flags);
  if (flags & DT_CALCRECT_) r = FromRect(rc);
  return height;
}

TSize GdiCanvas::TextExtent(const AnsiString& text) {
  SelectFont();
  SIZE size{};
  ::GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

TSize GdiCanvas::TextExtentW(const WideString& text) {
  SelectFont();
  SIZE size{};
  ::GetTextExtentPoint32W(dc_, Wide(text), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

void GdiCanvas::DrawFocusRect(const TRect& r) {
  // The dotted frame is an XOR; black on white gives the usual look.
  COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
  COLORREF oldBack = ::SetBkColor(dc_, RGB(255, 255, 255));
  RECT rc = ToRect(r);
  ::DrawFocusRect(dc_, &rc);
  ::SetTextColor(dc_, oldText);
  ::SetBkColor(dc_, oldBack);
}

void GdiCanvas::DrawImage(const std::string& resource, int x, int y, bool transparent, int dpi) {
  HBITMAP bitmap = resources_.ScaledBitmap(resource, dpi, transparent);
  if (!bitmap) return;
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof info, &info)) return;
  int w = info.bmWidth, h = info.bmHeight;
  if (x < 0) x = (client_.cx - w) / 2 + (-1 - x);
  if (y < 0) y = (client_.cy - h) / 2 + (-1 - y);

  win32::ScopedCreatedDC image(::CreateCompatibleDC(dc_));
  if (!image) return;
  win32::SelectGuard imageSel(image.Get(), bitmap);
  if (!transparent) {
    ::BitBlt(dc_, x, y, w, h, image.Get(), 0, 0, SRCCOPY);
    return;
  }
  // A mask that is white where the image has its bottom-left colour, then
  // image XOR (mask AND (dest XOR image)) leaves the destination under the white part.
  COLORREF key = ::GetPixel(image.Get(), 0, h - 1);
  win32::ScopedCreatedDC maskDc(::CreateCompatibleDC(dc_));
  win32::ScopedGdiObject<HBITMAP> mask(::CreateBitmap(w, h, 1, 1, nullptr));
  if (!maskDc || !mask) return;
  win32::SelectGuard maskSel(maskDc.Get(), mask.Get());
  COLORREF oldImageBack = ::SetBkColor(image.Get(), key);
  ::BitBlt(maskDc.Get(), 0, 0, w, h, image.Get(), 0, 0, SRCCOPY);
  ::SetBkColor(image.Get(), oldImageBack);
  COLORREF oldBack = ::SetBkColor(dc_, RGB(255, 255, 255));
  COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
  ::BitBlt(dc_, x, y, w, h, image.Get(), 0, 0, SRCINVERT);
  ::BitBlt(dc_, x, y, w, h, maskDc.Get(), 0, 0, SRCAND);
  ::BitBlt(dc_, x, y, w, h, image.Get(), 0, 0, SRCINVERT);
  ::SetBkColor(dc_, oldBack);
  ::SetTextColor(dc_, oldText);
}

void GdiCanvas::StretchImage(const std::string& resource, const TRect& r) {
  HBITMAP bitmap = resources_.Bitmap(resource);
  if (!bitmap) return;
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof info, &info)) return;
  win32::ScopedCreatedDC image(::CreateCompatibleDC(dc_));
  if (!image) return;
  win32::SelectGuard imageSel(image.Get(), bitmap);
  int oldMode = ::SetStretchBltMode(dc_, COLORONCOLOR);
  ::StretchBlt(dc_, r.left, r.top, r.Width(), r.Height(), image.Get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
  ::SetStretchBltMode(dc_, oldMode);
}

bool GdiCanvas::DrawThemedBorder(const TRect& r) {
  RECT rc = ToRect(r);
  return resources_.DrawEditTheme(window_, dc_, rc);
}

TColor GdiCanvas::ResolveColor(TColor c) {
  if (!IsSystemColor(c)) return c;
  return static_cast<TColor>(win32::ResolveColorRef(c));
}

}  // namespace vsi
