// The DXF versions the host reads and writes, by the $ACADVER name the file
// carries and by the release name a person uses ("R2000").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::dxf {

struct DxfVersion {
    std::string_view acadver;  // "AC1015"
    std::string_view release;  // "R2000"
    // R12 and older have no classes, objects, subclass markers, owners or
    // block records; R13 and later have all of them.
    bool modern() const { return acadver >= std::string_view("AC1012"); }
    // From R2007 on strings are UTF-8; before, in the code page of $DWGCODEPAGE.
    bool utf8() const { return acadver >= std::string_view("AC1021"); }
    friend bool operator==(const DxfVersion& a, const DxfVersion& b) { return a.acadver == b.acadver; }
    friend auto operator<=>(const DxfVersion& a, const DxfVersion& b) { return a.acadver <=> b.acadver; }
};

// Every version, oldest first.
const std::vector<DxfVersion>& knownVersions();

// The version whose $ACADVER is `acadver`, or nothing.
std::optional<DxfVersion> versionByAcadver(std::string_view acadver);
// A version by either name ("R2018", "r12", "AC1032"), or nothing.
std::optional<DxfVersion> versionByName(std::string_view name);

DxfVersion r12();
DxfVersion r2000();

// "R12 (AC1009), R13 (AC1012), ..." for messages.
std::string describeVersions();

}  // namespace kestrin::dxf
