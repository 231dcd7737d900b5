// Any bytes as a window description: the parser must end with a tree or its error, never read
// outside the text, recurse without bound or loop. A tree that parses is then applied to a
// form with every class the program registers, on the in-memory platform: that must end with
// the components made or one of our exceptions. The UTF-8 and UTF-16 converters the reader uses
// must give well-formed text for any input and give back well-formed text unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/program.h"
#include "fakes/fake_platform.h"
#include "framework/context.h"
#include "framework/description.h"
#include "framework/exceptions.h"
#include "framework/forms.h"
#include "framework/text_encoding.h"

namespace {

// A form of no class of its own: every description's root is read into it, with the
// handlers the program's windows name.
class TFuzzForm : public vsi::TForm {
  VSI_CLASS(TFuzzForm)
  explicit TFuzzForm(vsi::TComponent* owner) : vsi::TForm(owner) {
    for (const char* name : {"FormShow", "FormClose", "Timer1Timer", "DriveComboBox1Change", "BitBtn1Click",
                             "BitBtn2Click"})
      RegisterMethod(name, [](vsi::TObject*) {});
    for (int i = 1; i <= 10; ++i) RegisterMethod("SpeedButton" + std::to_string(i) + "Click", [](vsi::TObject*) {});
  }
};

bool WellFormedUtf16(const std::u16string& s) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] >= 0xDC00 && s[i] < 0xE000) return false;
    if (s[i] >= 0xD800 && s[i] < 0xDC00) {
      if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] >= 0xE000) return false;
      ++i;
    }
  }
  return true;
}

// Strict UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
bool WellFormedUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) n = 0;
    else if (c >= 0xC2 && c <= 0xDF) n = 1;
    else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else return false;
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      // Only the second byte has narrower limits (overlong forms, surrogates, beyond U+10FFFF).
      if (b(i + k) < (k == 1 ? lo : 0x80) || b(i + k) > (k == 1 ? hi : 0xBF)) return false;
    }
    i += n + 1;
  }
  return true;
}

}  // namespace

const vsi::ClassInfo& TFuzzForm::StaticClass() {
  static const vsi::ClassInfo info = vsi::ClassBuilder<TFuzzForm>("TFuzzForm", &vsi::TForm::StaticClass()).Build();
  return info;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vsi::RegisterAllClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A string of exactly `size` bytes, so that the sanitizer sees any overrun.
  const std::string text(reinterpret_cast<const char*>(data), size);

  const std::u16string wide = vsi::Utf8ToUtf16(text);
  if (!WellFormedUtf16(wide)) std::abort();
  if (WellFormedUtf8(text) && vsi::Utf16ToUtf8(wide) != text) std::abort();
  // The same bytes read as UTF-16 units: the way back must give well-formed UTF-8, and the
  // same units again when they were well formed.
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const std::string narrow = vsi::Utf16ToUtf8(units);
  if (!WellFormedUtf8(narrow)) std::abort();
  if (WellFormedUtf16(units) && vsi::Utf8ToUtf16(narrow) != units) std::abort();

  vsi::DescNode node;
  // VSI_FUZZ_VERBOSE=1 shows why an input stopped (to check that the seeds go all the way).
  static const bool verbose = std::getenv("VSI_FUZZ_VERBOSE") != nullptr;
  try {
    node = vsi::ParseDescription(text);
  } catch (const vsi::EDescriptionError& e) {
    if (verbose) std::fprintf(stderr, "parse: %s\n", e.what());
    return 0;
  }
  // Whatever the root's class, its body is read into the fuzz form.
  node.className = "TFuzzForm";
  vsi::fake::FakePlatform fp;
  vsi::AppContext ctx(fp.platform());
  vsi::TApplication app(ctx);
  auto* form = new TFuzzForm(&app);
  try {
    vsi::ApplyDescription(*form, node);
    if (verbose) std::fprintf(stderr, "applied: %d components\n", form->ComponentCount());
  } catch (const vsi::Exception& e) {
    if (verbose) std::fprintf(stderr, "apply: %s\n", e.what());
  }
  return 0;
}
