#pragma once

// Reading the files under tests/data: golden sources whose ";;" lines direct
// the harness, and case tables of quoted fields.

#include "common/core_kind.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace korvo::test {

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);

// A path under tests/data.
std::string DataPath(std::string_view relative);
// The path of a file in a copy of a folder under tests/data, made once per
// test run in its scratch folder, so that the files its programs write stay
// out of the source tree.
std::string DataCopyPath(const std::string& folder, const std::string& name);
// A test name for a data file: every character but letters and digits
// becomes '_'.
std::string TestNameOf(std::string name);

// The names of the files in a folder under tests/data that begin with one of
// the prefixes and end with the suffix, sorted.
std::vector<std::string> DataFiles(std::string_view folder,
                                   const std::vector<std::string>& prefixes,
                                   std::string_view suffix);

// One program of a golden source: the cores it is for, its lines, each with
// its line in the file.
struct TGoldenSection {
    std::vector<TCoreKind> Cores;
    std::vector<std::string> Lines;
    std::vector<int> FileLines;
    std::map<std::string, std::string> Options; // ";; name: value"
};

// ";; section" starts another program, for the cores of the one before
// unless ";; core: I II 3 CR" names others; any other ";; name: value" is an
// option of the section.
struct TGoldenSource {
    std::string Name;
    std::vector<TGoldenSection> Sections;
};
TGoldenSource ReadGoldenSource(const std::string& path);

// A case table: one case a line, its fields separated by blanks; a field is
// a bare word or a "quoted string" with the escapes \" \\ \t \r \n \0 and
// \xHH. Lines that are empty or begin with # are skipped.
struct TCaseRow {
    int Line;
    std::vector<std::string> Fields;
};
std::vector<TCaseRow> ReadCaseTable(const std::string& path);
// The fields of one such line.
std::vector<std::string> SplitFields(std::string_view line);

} // namespace korvo::test
