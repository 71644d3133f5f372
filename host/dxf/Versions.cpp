#include "host/dxf/Versions.h"

#include "base/TextCase.h"

namespace kestrin::dxf {

const std::vector<DxfVersion>& knownVersions() {
    static const std::vector<DxfVersion> versions = {
        {"AC1006", "R10"},   {"AC1009", "R12"},   {"AC1012", "R13"},   {"AC1014", "R14"},   {"AC1015", "R2000"},
        {"AC1018", "R2004"}, {"AC1021", "R2007"}, {"AC1024", "R2010"}, {"AC1027", "R2013"}, {"AC1032", "R2018"},
    };
    return versions;
}

std::optional<DxfVersion> versionByAcadver(std::string_view acadver) {
    for (const DxfVersion& v : knownVersions())
        if (v.acadver == acadver) return v;
    return std::nullopt;
}

std::optional<DxfVersion> versionByName(std::string_view name) {
    const std::string upper = upperCase(name);
    for (const DxfVersion& v : knownVersions())
        if (v.acadver == upper || v.release == upper) return v;
    return std::nullopt;
}

DxfVersion r12() { return *versionByAcadver("AC1009"); }
DxfVersion r2000() { return *versionByAcadver("AC1015"); }

std::string describeVersions() {
    std::string out;
    for (const DxfVersion& v : knownVersions()) {
        if (!out.empty()) out += ", ";
        out += std::string(v.release) + " (" + std::string(v.acadver) + ")";
    }
    return out;
}

}  // namespace kestrin::dxf
