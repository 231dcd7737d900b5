#pragma once
// The human-editable form of an MLD file: a UTF-8 text table that mldtool builds dictionary
// files from, and that its dump prints (so a dump can be built again).
//
//   # comment
//   [header]
//   layout  0                      (0 none, 1 both contexts, 2 context 2 only, 3 context 1 only)
//   [language]                     (one section per language, in index order)
//   primary 9                      (key TAB value; see the key names in mld_table.cpp)
//   [locale]                       (one section per custom locale)
//   [translations]
//   original TAB [context1 TAB] [context2 TAB] text of language 1 TAB ... language n-1
//
// Cells keep their blanks; "\t", "\n", "\r" and "\\" stand for tab, line feed, carriage return
// and backslash. A missing trailing cell is an empty text (no translation).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "i18n/mld_file.h"

namespace vsi {

// Parses a table; texts stay UTF-8. Raises EMldError naming the line on any mistake.
MldContent ParseMldTable(std::string_view utf8);
// Prints content whose texts are UTF-8 as a table that ParseMldTable reads back.
std::string FormatMldTable(const MldContent& utf8);

// Applies `convert`(code page, text) to every text, each with the code page its field is
// stored in: the system code page, the record's own, or (translation columns) the code page
// of the column's language.
MldContent RecodeMldContent(const MldContent& content, uint32_t systemCodePage,
                            const std::function<AnsiString(uint32_t codePage, const AnsiString& text)>& convert);

// UTF-8 to 8-bit text of a code page and back, with the built-in tables: Windows-1252, and
// plain ASCII for any other code page (anything else raises EMldError).
AnsiString Utf8ToCodePage(uint32_t codePage, const std::string& utf8);
std::string CodePageToUtf8(uint32_t codePage, const AnsiString& text);

// The whole build: table text -> MLD bytes (texts converted to their code pages, or UTF-16).
Bytes BuildMldFromTable(std::string_view utf8Table, const MldWriteOptions& options);
// The dump: header lines as comments, then the content as a table. The content part is the
// same for every version, byte order and text width of the same data.
std::string DumpMld(const Bytes& data, const std::string& name);

}  // namespace vsi
