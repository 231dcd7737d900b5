# Writes a C++ source that holds each window description as text, looked up by file name.
# Usage: cmake -DOUT=file.cpp -DIN="a.desc;b.desc" -P embed_text.cmake
string(REPLACE " " ";" _inputs "${IN}")
set(_code "// Generated from src/app/forms/*.desc: do not edit.\n#include <string_view>\n\nnamespace vsi {\n\nstd::string_view WindowDescription(std::string_view name) {\n")
foreach(_file ${_inputs})
  get_filename_component(_name ${_file} NAME_WE)
  file(READ ${_file} _text)
  # The indentation is for people: the reader takes the braces, and line numbers stay.
  string(REGEX REPLACE "\n[ \t]+" "\n" _text "${_text}")
  # Pieces of at most 4000 characters: some compilers limit one literal's length.
  string(LENGTH "${_text}" _len)
  set(_pieces "")
  set(_pos 0)
  while(_pos LESS _len)
    string(SUBSTRING "${_text}" ${_pos} 4000 _piece)
    string(APPEND _pieces "      R\"vsidesc(${_piece})vsidesc\"\n")
    math(EXPR _pos "${_pos} + 4000")
  endwhile()
  string(APPEND _code "  if (name == \"${_name}\") {\n    static constexpr char kText[] =\n${_pieces}      ;\n    return {kText, sizeof kText - 1};\n  }\n")
endforeach()
string(APPEND _code "  return {};\n}\n\n}  // namespace vsi\n")
file(WRITE ${OUT}.tmp "${_code}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
