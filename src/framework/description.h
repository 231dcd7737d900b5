#pragma once
// Window descriptions: a small text format of ours, UTF-8, one component per block:
//
//   TMain Main {
//     Caption "  Velmora System Info 1.0"   # text; \" \\ \n and \xHH (U+00HH) escapes
//     Font.Style [fsBold]                   # a set
//     Color 16744576                        # integers, or colour names such as clWhite
//     OnShow FormShow                       # a handler of the form, by name
//     Lines ("first" "second")              # a list: string lists and stored value lists
//     TPanel Panel1 {                       # a child: owned by the form, placed on Panel1's parent
//       ...
//     }
//   }
//
// The reader creates each component by class name, sets its properties in order through the
// published-property tables, and, once everything is set, sends "loaded" in description order.
// A malformed description raises EDescriptionError naming the line and the property.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/exceptions.h"

namespace vsi {

class TComponent;
class TForm;

struct DescValue {
  enum class Type : uint8_t { Integer, Float, String, Ident, Set, List } type = Type::Integer;
  int64_t integer = 0;
  double real = 0;
  std::string text;                // String (UTF-8) or Ident
  std::vector<std::string> names;  // Set
  std::vector<DescValue> items;    // List
  int line = 0;
};

struct DescProperty {
  std::string path;  // "Caption", "Font.Color"
  DescValue value;
  int line = 0;
};

struct DescNode {
  std::string className;
  std::string name;
  int line = 0;
  std::vector<DescProperty> properties;
  std::vector<DescNode> children;
};

DescNode ParseDescription(const std::string& text);

// Applies `node` to `root` (already constructed; its class must match) and creates the
// children. Components named in the description are owned by `root`.
void ApplyDescription(TForm& root, const DescNode& node);

// Colour names of descriptions (clWhite, clBtnFace, ...); false when unknown.
bool ColorFromName(const std::string& name, int64_t& out);

}  // namespace vsi
