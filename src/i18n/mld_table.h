#pragma once
// The human-editable form of an MLD file: a UTF-8 text table that mldtool builds dictionary
// files from, and that its dump prints (so a dump can be built again).
//
//   # comment
//   [header]
//   layout  0                      (0 none, 1 both contexts, 2 context 2 only, 3 context 1 only)
//   version 3                      (the file's format, optional: version 1 to 255, byteorder
//   byteorder little                little or big, text 8-bit or utf16; a dump writes them)
//   text 8-bit
//   [language]                     (one section per language, in index order)
//   primary 9                      (key TAB value; see the key names in mld_table.cpp)
//   [locale]                       (one section per custom locale)
//   [translations]
//   original TAB [context1 TAB] [context2 TAB] text of language 1 TAB ... language n-1
//
// Cells keep their blanks; "\t", "\n", "\r" and "\\" stand for tab, line feed, carriage return
// and backslash, "\#" and "\[" for a "#" or "[" that begins a line. A missing trailing cell is
// an empty text (no translation). A separator is one character.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "i18n/mld_file.h"

namespace vsi {

// Parses a table; texts stay UTF-8. Raises EMldError naming the line on any mistake. The
// header may also give the file's format ("version", "byteorder", "text"), read into `format`.
MldContent ParseMldTable(std::string_view utf8, MldWriteOptions* format = nullptr);
// Prints content whose texts are UTF-8 as a table that ParseMldTable reads back, with the
// file's format in the header when given.
std::string FormatMldTable(const MldContent& utf8, const MldWriteOptions* format = nullptr);
// The format a table's header asks for (version 3, little-endian, 8-bit texts unless it says
// otherwise).
MldWriteOptions MldTableFormat(std::string_view utf8Table);

// Applies `convert`(code page, text) to every text, each with the code page its field is
// stored in: the system code page, the record's own, or (translation columns) the code page
// of the column's language.
MldContent RecodeMldContent(const MldContent& content, uint32_t systemCodePage,
                            const std::function<AnsiString(uint32_t codePage, const AnsiString& text)>& convert);

// UTF-8 to 8-bit text of a code page and back, with the built-in tables of the single-byte
// code pages (0 stands for Windows-1252); other code pages take ASCII only. A character the
// code page lacks, or a byte it does not define, raises EMldError: shown as anything else it
// would come back as another text.
AnsiString Utf8ToCodePage(uint32_t codePage, const std::string& utf8);
std::string CodePageToUtf8(uint32_t codePage, const AnsiString& text);

// The whole build: table text -> MLD bytes (texts converted to their code pages, or UTF-16).
Bytes BuildMldFromTable(std::string_view utf8Table, const MldWriteOptions& options);
// The dump: the file's name and offsets as comments, then the table with the file's format in
// its header. Apart from the format lines it is the same for every version, byte order and
// text width of the same data. Raises EMldError when a text cannot be shown so that it builds
// back to itself.
std::string DumpMld(const Bytes& data, const std::string& name);

}  // namespace vsi
