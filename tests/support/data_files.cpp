#include "data_files.h"

#include "scratch_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvo::test {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string DataPath(std::string_view relative) {
    return std::string(KORVO_TEST_DATA_DIR) + "/" + std::string(relative);
}

std::string DataCopyPath(const std::string& folder, const std::string& name) {
    static const TScratchFolder scratch;
    static std::map<std::string, fs::path> copies;
    auto [copy, made] = copies.try_emplace(folder, fs::path(scratch.Path()) / folder);
    if (made) fs::copy(DataPath(folder), copy->second, fs::copy_options::recursive);
    return (copy->second / name).string();
}

std::string TestNameOf(std::string name) {
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

std::vector<std::string> DataFiles(std::string_view folder,
                                   const std::vector<std::string>& prefixes,
                                   std::string_view suffix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(DataPath(folder))) {
        std::string name = entry.path().filename().string();
        if (name.ends_with(suffix) && std::any_of(prefixes.begin(), prefixes.end(),
                                                  [&](auto& p) { return name.starts_with(p); }))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {
std::vector<std::string> LinesOf(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(path));
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(std::string_view text) {
    auto start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    return std::string(text.substr(start, text.find_last_not_of(" \t") - start + 1));
}
} // namespace

TGoldenSource ReadGoldenSource(const std::string& path) {
    TGoldenSource source{fs::path(path).filename().string(), {{}}};
    auto lines = LinesOf(path);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].starts_with(";;")) {
            source.Sections.back().Lines.push_back(lines[i]);
            source.Sections.back().FileLines.push_back(static_cast<int>(i) + 1);
            continue;
        }
        std::string command = Trim(std::string_view(lines[i]).substr(2));
        auto colon = command.find(':');
        TGoldenSection& section = source.Sections.back();
        if (command == "section") {
            source.Sections.push_back({section.Cores, {}, {}, {}});
        } else if (command.starts_with("core:")) {
            section.Cores.clear();
            std::istringstream names(command.substr(5));
            for (std::string name; names >> name;)
                if (auto core = CoreKindFromName(name)) section.Cores.push_back(*core);
        } else if (colon != std::string::npos) {
            section.Options[command.substr(0, colon)] = Trim(command.substr(colon + 1));
        }
    }
    for (const auto& section : source.Sections)
        if (section.Cores.empty() || section.Lines.empty())
            throw std::runtime_error("a section without core or lines in " + path);
    return source;
}

std::vector<std::string> SplitFields(std::string_view line) {
    std::vector<std::string> fields;
    for (std::size_t i = line.find_first_not_of(" \t"); i < line.size();
         i = line.find_first_not_of(" \t", i)) {
        std::string field;
        if (line[i] != '"') {
            std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
            field = line.substr(i, end - i);
            i = end;
        } else {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] != '\\' || ++i == line.size()) {
                    field += line[i];
                    continue;
                }
                switch (line[i]) {
                case 't': field += '\t'; break;
                case 'r': field += '\r'; break;
                case 'n': field += '\n'; break;
                case '0': field += '\0'; break;
                case 'x':
                    field += static_cast<char>(
                        std::stoi(std::string(line.substr(i + 1, 2)), nullptr, 16));
                    i += 2;
                    break;
                default: field += line[i];
                }
            }
            if (i++ >= line.size()) throw std::runtime_error("open quote: " + std::string(line));
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

std::vector<TCaseRow> ReadCaseTable(const std::string& path) {
    std::vector<TCaseRow> rows;
    auto lines = LinesOf(path);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        auto start = lines[n].find_first_not_of(" \t");
        if (start == std::string::npos || lines[n][start] == '#') continue;
        try {
            rows.push_back({static_cast<int>(n) + 1, SplitFields(lines[n])});
        } catch (const std::exception& error) {
            throw std::runtime_error(path + ":" + std::to_string(n + 1) + ": " + error.what());
        }
    }
    return rows;
}

} // namespace korvo::test
