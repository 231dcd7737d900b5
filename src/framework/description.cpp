#include "framework/description.h"
#include "framework/ascii.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "framework/context.h"
#include "framework/forms.h"
#include "framework/scope_exit.h"
#include "framework/strings.h"
#include "framework/text_encoding.h"

namespace vsi {

namespace {

// Children and lists nest by recursion: a depth far beyond any real window keeps a damaged or
// hostile text from running the stack out.
constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  DescNode ParseRoot() {
    SkipSpace();
    DescNode root = ParseNode();
    SkipSpace();
    if (pos_ < s_.size()) Fail("text after the end of the description");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) {
    throw EDescriptionError(Format("Window description, line %d: %s", line_, what.c_str()));
  }
  [[noreturn]] void FailProp(const std::string& prop, const std::string& what) {
    throw EDescriptionError(Format("Window description, line %d, property %s: %s", line_, prop.c_str(), what.c_str()));
  }

  void SkipSpace() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IdentChar(char c) { return IsAsciiAlnum(c) || c == '_' || c == '.'; }

  std::string Ident() {
    size_t start = pos_;
    while (pos_ < s_.size() && IdentChar(s_[pos_])) ++pos_;
    if (start == pos_) Fail("a name was expected");
    return s_.substr(start, pos_ - start);
  }

  DescNode ParseNode() {
    DescNode node;
    node.line = line_;
    node.className = Ident();
    SkipInline();
    node.name = Ident();
    SkipSpace();
    Expect('{');
    ParseBody(node);
    return node;
  }

  // One level deeper until the caller's scope ends.
  auto Nest() {
    if (++depth_ > kMaxDepth) Fail(Format("nested more than %d deep", kMaxDepth));
    return ScopeExit{[this] { --depth_; }};
  }

  void ParseBody(DescNode& node) {
    auto level = Nest();
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size()) Fail("missing } of " + node.name);
      if (s_[pos_] == '}') {
        ++pos_;
        return;
      }
      int line = line_;
      std::string word = Ident();
      SkipInline();
      // "TClass Name {" starts a child; anything else is "Property value".
      if (pos_ < s_.size() && (IsAsciiAlpha(s_[pos_]) || s_[pos_] == '_')) {
        size_t save = pos_;
        int saveLine = line_;
        std::string second = Ident();
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == '{') {
          ++pos_;
          DescNode child;
          child.className = word;
          child.name = second;
          child.line = line;
          ParseBody(child);
          node.children.push_back(std::move(child));
          continue;
        }
        pos_ = save;
        line_ = saveLine;
      }
      DescProperty prop;
      prop.path = word;
      prop.line = line;
      prop.value = Value(word);
      node.properties.push_back(std::move(prop));
    }
  }

  void SkipInline() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
  }

  void Expect(char c) {
    if (pos_ >= s_.size() || s_[pos_] != c) Fail(std::string("'") + c + "' was expected");
    ++pos_;
  }

  DescValue Value(const std::string& prop) {
    SkipSpace();
    DescValue v;
    v.line = line_;
    if (pos_ >= s_.size()) FailProp(prop, "a value was expected");
    char c = s_[pos_];
    if (c == '"') {
      v.type = DescValue::Type::String;
      v.text = String(prop);
    } else if (c == '[') {
      ++pos_;
      v.type = DescValue::Type::Set;
      for (;;) {
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ']') {
          ++pos_;
          break;
        }
        if (pos_ >= s_.size()) FailProp(prop, "missing ]");
        v.names.push_back(Ident());
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') ++pos_;
      }
    } else if (c == '(') {
      auto level = Nest();
      ++pos_;
      v.type = DescValue::Type::List;
      for (;;) {
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ')') {
          ++pos_;
          break;
        }
        if (pos_ >= s_.size()) FailProp(prop, "missing )");
        v.items.push_back(Value(prop));
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') ++pos_;
      }
    } else if (c == '-' || IsAsciiDigit(c)) {
      Number(prop, v);
    } else if (IdentChar(c)) {
      v.type = DescValue::Type::Ident;
      v.text = Ident();
    } else {
      FailProp(prop, "a value was expected");
    }
    return v;
  }

  // -12, 0x00FF00, -0x10, 2.5: the whole word must be the number, and it must fit, so that
  // "12px" or "1.2.3" or a value beyond 64 bits is an error rather than some other number.
  void Number(const std::string& prop, DescValue& v) {
    const size_t start = pos_;
    if (s_[pos_] == '-') ++pos_;
    const bool hex = pos_ + 1 < s_.size() && s_[pos_] == '0' && (s_[pos_ + 1] == 'x' || s_[pos_ + 1] == 'X');
    if (hex) pos_ += 2;
    const size_t digits = pos_;
    int dots = 0;
    while (pos_ < s_.size()) {
      const char d = s_[pos_];
      if (hex ? IsAsciiXDigit(d) : IsAsciiDigit(d)) {
        ++pos_;
      } else if (!hex && d == '.') {
        ++dots;
        ++pos_;
      } else {
        break;
      }
    }
    const bool delimited = pos_ >= s_.size() || IsAsciiSpace(s_[pos_]) ||
                           std::string_view(",)]}#").find(s_[pos_]) != std::string_view::npos;
    const bool hasDigit = pos_ > digits && IsAsciiXDigit(s_[digits]);
    std::string num = s_.substr(start, pos_ - start);
    if (!delimited || !hasDigit || dots > 1) FailProp(prop, "bad number");
    errno = 0;
    char* end = nullptr;
    if (dots) {
      v.type = DescValue::Type::Float;
      v.real = std::strtod(num.c_str(), &end);
      if (!std::isfinite(v.real)) FailProp(prop, "number out of range " + num);
    } else {
      v.type = DescValue::Type::Integer;
      v.integer = std::strtoll(num.c_str(), &end, hex ? 16 : 10);
      if (errno == ERANGE) FailProp(prop, "number out of range " + num);
    }
    if (end != num.c_str() + num.size()) FailProp(prop, "bad number " + num);
  }

  std::string String(const std::string& prop) {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (pos_ >= s_.size() || s_[pos_] == '\n') FailProp(prop, "unterminated text");
      char c = s_[pos_++];
      if (c == '"') break;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) FailProp(prop, "unterminated text");
      char e = s_[pos_++];
      switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'x': {
          if (pos_ + 2 > s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[pos_])) ||
              !std::isxdigit(static_cast<unsigned char>(s_[pos_ + 1])))
            FailProp(prop, "bad \\x escape");
          // \xHH is the character U+00HH, written as UTF-8 like the rest of the text.
          long cp = std::strtol(s_.substr(pos_, 2).c_str(), nullptr, 16);
          if (cp < 0x80) {
            out += static_cast<char>(cp);
          } else {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
          }
          pos_ += 2;
          break;
        }
        default: FailProp(prop, std::string("unknown escape \\") + e);
      }
    }
    return out;
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_ = 1;
  int depth_ = 0;
};

struct ColorName {
  const char* name;
  int64_t value;
};
const ColorName kColors[] = {
    {"clBlack", clBlack},       {"clWhite", clWhite},         {"clYellow", clYellow},
    {"clLime", clLime},         {"clBlue", clBlue},           {"clRed", clRed},
    {"clSilver", clSilver},     {"clAqua", clAqua},           {"clPurple", clPurple},
    {"clNavy", clNavy},         {"clGray", clGray},           {"clGreen", Rgb(0, 128, 0)},
    {"clMaroon", Rgb(128, 0, 0)}, {"clOlive", Rgb(128, 128, 0)}, {"clTeal", Rgb(0, 128, 128)},
    {"clFuchsia", Rgb(255, 0, 255)}, {"clNone", clNone},      {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow}, {"clBtnHighlight", clBtnHighlight}, {"clWindow", clWindow},
    {"clWindowText", clWindowText}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clGrayText", clGrayText}, {"clInfoBk", clInfoBk},
};

class Applier {
 public:
  explicit Applier(TForm& root) : root_(root) {}

  void Apply(const DescNode& node) {
    if (!SameText(node.className, root_.ClassName()))
      throw EDescriptionError(Format("Window description, line %d: %s is not a %s", node.line,
                                     root_.ClassName().c_str(), node.className.c_str()));
    root_.SetLoading(true);
    loaded_.push_back(&root_);
    root_.SetName(node.name);
    Properties(root_, node);
    Children(root_, node);
    for (auto& fix : fixups_) fix();
    // "loaded" in description order: the form's own first, then each component's.
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  void Children(TComponent& parent, const DescNode& node) {
    for (const DescNode& child : node.children) {
      const ClassInfo* cls = FindClass(child.className);
      if (!cls || !cls->create)
        throw EDescriptionError(
            Format("Window description, line %d: class %s not found", child.line, child.className.c_str()));
      TComponent* c = cls->create(&root_);
      c->SetLoading(true);
      loaded_.push_back(c);
      c->SetName(child.name);
      if (auto* control = dynamic_cast<TControl*>(c))
        if (auto* parentControl = dynamic_cast<TControl*>(&parent)) control->SetParent(parentControl);
      Properties(*c, child);
      Children(*c, child);
    }
  }

  void Properties(TObject& obj, const DescNode& node) {
    for (const DescProperty& p : node.properties) {
      try {
        SetPath(obj, p.path, p.value);
      } catch (const EDescriptionError&) {
        throw;
      } catch (const std::exception& e) {
        throw EDescriptionError(Format("Window description, line %d, property %s: %s", p.line, p.path.c_str(), e.what()));
      }
    }
  }

  [[noreturn]] static void Bad(const std::string& path, const DescValue& v, const std::string& what) {
    throw EDescriptionError(Format("Window description, line %d, property %s: %s", v.line, path.c_str(), what.c_str()));
  }

  void SetPath(TObject& obj, const std::string& path, const DescValue& v) {
    TObject* target = &obj;
    std::string name = path;
    for (size_t dot; (dot = name.find('.')) != std::string::npos;) {
      std::string head = name.substr(0, dot);
      const PropInfo* p = target->ClassType().FindProperty(head);
      if (!p || p->kind != PropKind::Object || !p->CanRead()) Bad(path, v, "unknown property");
      target = std::get<TObject*>(p->get(*target));
      if (!target) Bad(path, v, "no object to set");
      name = name.substr(dot + 1);
    }
    const PropInfo* p = target->ClassType().FindProperty(name);
    if (!p) Bad(path, v, "unknown property");
    SetValue(*target, *p, path, v);
  }

  AnsiString ToAnsi(const std::string& utf8) {
    return root_.Context().platform().locale.WideToMultiByte(CP_ACP_, Utf8ToUtf16(utf8));
  }

  void SetValue(TObject& obj, const PropInfo& p, const std::string& path, const DescValue& v) {
    using T = DescValue::Type;
    if (p.kind == PropKind::Data) {
      p.setData(obj, v);
      return;
    }
    if (p.kind == PropKind::Object && p.CanRead()) {
      TObject* current = std::get<TObject*>(p.get(obj));
      if (auto* list = dynamic_cast<TStrings*>(current)) {
        if (v.type != T::List) Bad(path, v, "a list of texts was expected");
        list->BeginUpdate();
        list->Clear();
        for (const DescValue& item : v.items) {
          if (item.type != T::String) Bad(path, item, "a text was expected");
          list->Add(ToAnsi(item.text));
        }
        list->EndUpdate();
        return;
      }
    }
    if (!p.CanWrite()) Bad(path, v, "the property is read-only");
    switch (p.kind) {
      case PropKind::Integer: {
        int64_t n = 0;
        if (v.type == T::Integer) n = v.integer;
        else if (v.type == T::Ident && ColorFromName(v.text, n)) {}
        else Bad(path, v, "an integer was expected");
        p.set(obj, PropValue(n));
        return;
      }
      case PropKind::Boolean:
        if (v.type != T::Ident || (!SameText(v.text, "true") && !SameText(v.text, "false")))
          Bad(path, v, "true or false was expected");
        p.set(obj, PropValue(int64_t(SameText(v.text, "true") ? 1 : 0)));
        return;
      case PropKind::Enum: {
        int idx = v.type == T::Ident && p.enumInfo ? p.enumInfo->IndexOf(v.text) : -1;
        if (idx < 0) Bad(path, v, "unknown value " + v.text);
        p.set(obj, PropValue(int64_t(idx)));
        return;
      }
      case PropKind::Set: {
        if (v.type != T::Set) Bad(path, v, "a set was expected");
        int64_t bits = 0;
        for (const std::string& n : v.names) {
          int idx = p.enumInfo ? p.enumInfo->IndexOf(n) : -1;
          if (idx < 0) Bad(path, v, "unknown value " + n);
          bits |= int64_t(1) << idx;
        }
        p.set(obj, PropValue(bits));
        return;
      }
      case PropKind::Float:
        if (v.type == T::Float) p.set(obj, PropValue(v.real));
        else if (v.type == T::Integer) p.set(obj, PropValue(double(v.integer)));
        else Bad(path, v, "a number was expected");
        return;
      case PropKind::AnsiText:
        if (v.type != T::String) Bad(path, v, "a text was expected");
        p.set(obj, PropValue(ToAnsi(v.text)));
        return;
      case PropKind::WideText:
        if (v.type != T::String) Bad(path, v, "a text was expected");
        p.set(obj, PropValue(Utf8ToUtf16(v.text)));
        return;
      case PropKind::Event: {
        if (v.type != T::Ident) Bad(path, v, "a handler name was expected");
        TNotifyEvent handler = root_.FindMethod(v.text);
        if (!handler) Bad(path, v, "unknown handler " + v.text);
        p.set(obj, PropValue(handler));
        return;
      }
      case PropKind::Object: {
        if (v.type != T::Ident) Bad(path, v, "a component name was expected");
        // Components may be named before they are created: resolve at the end.
        TObject* target = &obj;
        const PropInfo* prop = &p;
        std::string ref = v.text;
        DescValue copy = v;
        fixups_.push_back([this, target, prop, ref, path, copy] {
          TComponent* c = root_.FindComponent(ref);
          if (!c) Bad(path, copy, "unknown component " + ref);
          // The setter takes its own class: anything else would be used as what it is not.
          if (prop->objectClass && !c->InheritsFrom(*prop->objectClass))
            Bad(path, copy, ref + " is not a " + prop->objectClass->name);
          prop->set(*target, PropValue(static_cast<TObject*>(c)));
        });
        return;
      }
      case PropKind::Data:
        return;
    }
  }

  TForm& root_;
  std::vector<TComponent*> loaded_;
  std::vector<std::function<void()>> fixups_;
};

}  // namespace

DescNode ParseDescription(const std::string& text) { return Parser(text).ParseRoot(); }

void ApplyDescription(TForm& root, const DescNode& node) { Applier(root).Apply(node); }

bool ColorFromName(const std::string& name, int64_t& out) {
  for (const ColorName& c : kColors)
    if (SameText(c.name, name)) {
      out = c.value;
      return true;
    }
  return false;
}

}  // namespace vsi
