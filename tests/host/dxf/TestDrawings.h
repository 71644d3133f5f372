// Helpers of the DXF file tests: the drawings made by ezdxf, a plain tag
// splitter independent of the reader, and calls into Debian's python3.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kestrin::dxf::testing {

inline const std::string kPython = "/usr/bin/python3";  // sees Debian's python3-ezdxf
inline const std::string kScripts = KESTRIN_SOURCE_DIR "/tests/host/dxf/";

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The folder of the drawings a script makes, made once per version of the
// script. Test processes run side by side, so each makes its own folder and
// renames it into place; the loser of a race drops its copy.
inline std::string generatedDir(const std::string& script, const std::string& prefix) {
    namespace fs = std::filesystem;
    struct stat st {};
    ::stat(script.c_str(), &st);
    const fs::path dir = fs::path(KESTRIN_BINARY_DIR) / (prefix + std::to_string(st.st_mtime));
    if (fs::exists(dir / "done")) return dir.string();
    std::string tmp = (fs::path(KESTRIN_BINARY_DIR) / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(tmp.data())) throw std::runtime_error("mkdtemp failed");
    const std::string cmd = kPython + " " + script + " " + tmp;
    if (std::system(cmd.c_str()) != 0) throw std::runtime_error("failed: " + cmd);
    writeBytes(tmp + "/done", "");
    std::error_code ec;
    fs::rename(tmp, dir, ec);
    if (ec) fs::remove_all(tmp);
    return dir.string();
}

// The drawings of the DXF file tests, made by ezdxf.
inline std::string drawingsDir() { return generatedDir(kScripts + "make_drawings.py", "dxf-drawings-"); }

// Drawings of every version, code page and form (tests/host/corpus).
inline std::string corpusDir() {
    return generatedDir(KESTRIN_SOURCE_DIR "/tests/host/corpus/make_corpus.py", "dxf-corpus-");
}

// The .dxf files of a folder, sorted.
inline std::vector<std::string> dxfFilesIn(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".dxf") out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

// Runs ezdxf's recover loader and auditor on a file; answers its report and
// whether it found no errors.
inline std::pair<bool, std::string> ezdxfAudit(const std::string& path) {
    const std::string cmd = kPython + " " + kScripts + "audit.py '" + path + "' 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return {false, "popen failed"};
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    const int status = ::pclose(p);
    return {status == 0, out};
}

// Group code / value pairs of a DXF text, split by lines alone.
using Tags = std::vector<std::pair<int, std::string>>;
inline Tags splitTags(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    Tags tags;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) tags.emplace_back(std::stoi(lines[i]), lines[i + 1]);
    return tags;
}

// Drops the value of header variable `name`, so that streams compare without it.
inline Tags without(Tags tags, const std::string& name) {
    for (std::size_t i = 0; i + 1 < tags.size(); ++i)
        if (tags[i].first == 9 && tags[i].second == name) {
            tags.erase(tags.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            break;
        }
    return tags;
}

// "" when equal, else where two long texts first differ (gtest's own diff of
// texts this long costs gigabytes).
inline std::string firstDifference(const std::string& a, const std::string& b) {
    if (a == b) return "";
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const auto line = std::count(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(i), '\n') + 1;
    return "differ at byte " + std::to_string(i) + " (line " + std::to_string(line) + "): '" + a.substr(i, 40) +
           "' vs '" + b.substr(i, 40) + "'";
}

inline std::string firstDifference(const Tags& a, const Tags& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i])
            return "tag " + std::to_string(i) + ": " + std::to_string(a[i].first) + " '" + a[i].second + "' vs " +
                   std::to_string(b[i].first) + " '" + b[i].second + "'";
    return a.size() == b.size() ? "" : "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

}  // namespace kestrin::dxf::testing
