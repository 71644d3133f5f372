// Reading and writing values inside a DXF record by subclass section, so that
// a modelled object keeps every tag it does not know. A section starts after
// its "100 <marker>" tag and ends at the next marker or at the extended data
// (1001). A record without markers (older files) is one section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/db/AcadTypes.h"
#include "host/dxf/Handles.h"
#include "host/dxf/TagList.h"

namespace kestrin::db {

// A subclass section: its marker, which occurrence of it (TEXT carries two
// "AcDbText" sections), and the canonical order of its group codes, used to
// place a tag that is missing.
struct Subclass {
    std::string_view marker;
    int occurrence = 0;
    std::vector<int> order;  // owned: a Subclass may outlive the expression that made it
};

std::optional<std::string_view> tagValue(const dxf::Record& record, const Subclass& section, int code);
// Sets the first tag `code` of the section, inserting it at its canonical place
// (and the section's marker at the end of the record) when it is missing.
void setTag(dxf::Record& record, const Subclass& section, int code, std::string_view value);
void removeTags(dxf::Record& record, const Subclass& section, int code);

std::string formatReal(double value);
// Radians to degrees for a record, rounded to 1e-10 so that 30 degrees stay "30.0".
double toDegrees(double radians);
std::optional<double> parseReal(std::string_view text);
std::optional<long long> parseInteger(std::string_view text);
// Handles are read and written as the DXF layer does (host/dxf/Handles.h).
using dxf::formatHandle;
using dxf::parseHandle;

double realTag(const dxf::Record& record, const Subclass& section, int code, double fallback);
long long integerTag(const dxf::Record& record, const Subclass& section, int code, long long fallback);
std::string stringTag(const dxf::Record& record, const Subclass& section, int code, std::string_view fallback = {});
// A point from `code`, code + 10 and code + 20 (a missing z is 0); nothing
// when the x or y tag is missing.
std::optional<AcGePoint3d> pointTag(const dxf::Record& record, const Subclass& section, int code);

void setRealTag(dxf::Record& record, const Subclass& section, int code, double value);
void setIntegerTag(dxf::Record& record, const Subclass& section, int code, long long value);
void setPointTag(dxf::Record& record, const Subclass& section, int code, const AcGePoint3d& point);

// Any tag of the record, before its extended data (handles, owners).
std::optional<std::string_view> headTag(const dxf::Record& record, int code);
void setHeadTag(dxf::Record& record, int code, std::string_view value, std::size_t at);

// Names compared without case (every letter of CP1251, base/TextCase.h).
bool sameName(std::string_view a, std::string_view b);
std::string upperName(std::string_view name);

}  // namespace kestrin::db
