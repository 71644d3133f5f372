#include "host/api/HostVariables.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "host/api/HostSettings.h"
#include "host/api/HostState.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/db/RecordTags.h"
#include "host/db/HeaderVariables.h"

using kestrin::db::VariableValue;

namespace {

AcDbDatabase* working() { return kestrin::host::HostState::instance().working; }

std::optional<VariableValue> variable(const char* name) {
    if (name == nullptr || working() == nullptr) return std::nullopt;
    return kestrin::db::readVariable(std::as_const(working()->store()).header(), name);
}

long long integerVariable(const char* name, long long fallback) {
    const auto v = variable(name);
    return v && (v->kind == VariableValue::Kind::Short || v->kind == VariableValue::Kind::Long) ? v->integer : fallback;
}

// Drops trailing zeros (and a bare decimal point) of a decimal number.
void trimZeros(std::string& text) {
    const auto dot = text.find('.');
    if (dot == std::string::npos) return;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
}

std::string decimal(double value, int precision, int dimzin) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", precision, value);
    std::string text = buffer;
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);  // no "-0"
    if (dimzin & 8) trimZeros(text);
    if (dimzin & 4) {  // leading zero of a fraction
        if (text.rfind("0.", 0) == 0) text.erase(0, 1);
        else if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
    }
    return text;
}

std::string fraction(double value, int precision) {
    const int denominator = 1 << precision;
    const double magnitude = std::fabs(value);
    long long whole = static_cast<long long>(std::floor(magnitude));
    long long numerator = std::llround((magnitude - static_cast<double>(whole)) * denominator);
    if (numerator == denominator) {
        ++whole;
        numerator = 0;
    }
    long long d = denominator;
    while (numerator != 0 && numerator % 2 == 0) {
        numerator /= 2;
        d /= 2;
    }
    std::string text = value < 0 && (whole != 0 || numerator != 0) ? "-" : "";
    if (numerator == 0) return text + std::to_string(whole);
    if (whole != 0) text += std::to_string(whole) + " ";
    return text + std::to_string(numerator) + "/" + std::to_string(d);
}

}  // namespace

int acedGetVar(const char* name, resbuf* result) {
    if (result == nullptr) return RTERROR;
    if (name != nullptr) {
        if (const auto setting = kestrin::host::hostSetting(name)) {
            result->rbnext = nullptr;
            result->restype = RTSHORT;
            result->resval.rint = static_cast<short>(*setting);
            return RTNORM;
        }
    }
    const auto v = variable(name);
    if (!v) return RTERROR;
    result->rbnext = nullptr;
    switch (v->kind) {
        case VariableValue::Kind::Short:
            result->restype = RTSHORT;
            result->resval.rint = static_cast<short>(v->integer);
            break;
        case VariableValue::Kind::Long:
            result->restype = RTLONG;
            result->resval.rlong = static_cast<long>(v->integer);
            break;
        case VariableValue::Kind::Real:
            result->restype = RTREAL;
            result->resval.rreal = v->real;
            break;
        case VariableValue::Kind::String:
            result->restype = RTSTR;
            result->resval.rstring = static_cast<char*>(std::malloc(v->text.size() + 1));
            std::memcpy(result->resval.rstring, v->text.c_str(), v->text.size() + 1);
            break;
        case VariableValue::Kind::Point:
            result->restype = RT3DPOINT;
            result->resval.rpoint[X] = v->point.x;
            result->resval.rpoint[Y] = v->point.y;
            result->resval.rpoint[Z] = v->point.z;
            break;
    }
    return RTNORM;
}

int acedSetVar(const char* name, const resbuf* value) {
    if (name == nullptr || value == nullptr) return RTERROR;
    if (kestrin::host::findHostSetting(name) != nullptr) {
        double number = 0;
        switch (value->restype) {
            case RTSHORT: number = value->resval.rint; break;
            case RTLONG: number = static_cast<double>(value->resval.rlong); break;
            case RTREAL: number = value->resval.rreal; break;
            default: return RTERROR;
        }
        if (number != std::floor(number) || std::fabs(number) > 1e9) return RTERROR;
        return kestrin::host::setHostSetting(name, static_cast<int>(number)) ? RTNORM : RTERROR;
    }
    if (working() == nullptr) return RTERROR;
    VariableValue v;
    switch (value->restype) {
        case RTSHORT: v.kind = VariableValue::Kind::Short; v.integer = value->resval.rint; break;
        case RTLONG: v.kind = VariableValue::Kind::Long; v.integer = value->resval.rlong; break;
        case RTREAL:
        case RTANG: v.kind = VariableValue::Kind::Real; v.real = value->resval.rreal; break;
        case RTSTR:
            if (value->resval.rstring == nullptr) return RTERROR;
            v.kind = VariableValue::Kind::String;
            v.text = value->resval.rstring;
            break;
        case RTPOINT:
        case RT3DPOINT:
            v.kind = VariableValue::Kind::Point;
            v.point = AcGePoint3d(value->resval.rpoint[X], value->resval.rpoint[Y],
                                  value->restype == RT3DPOINT ? value->resval.rpoint[Z] : 0.0);
            break;
        default: return RTERROR;
    }
    auto& store = working()->store();
    if (kestrin::db::sameName(name, "TEXTSTYLE") &&
        (v.kind != VariableValue::Kind::String || store.findTableEntry("STYLE", v.text, false) == nullptr))
        return RTERROR;
    return kestrin::db::writeVariable(store.header(), name, v) == kestrin::db::VariableWrite::Done ? RTNORM : RTERROR;
}

namespace kestrin::host {

int realToString(double value, int unit, int precision, char* out, std::size_t size) {
    if (out == nullptr || size == 0) return RTERROR;
    out[0] = '\0';
    if (unit == -1) unit = static_cast<int>(integerVariable("LUNITS", 2));
    if (precision == -1) precision = static_cast<int>(integerVariable("LUPREC", 4));
    if (unit < 1 || unit > 5 || precision < 0 || precision > 8 || !std::isfinite(value)) return RTERROR;
    const int dimzin = static_cast<int>(integerVariable("DIMZIN", 0));
    std::string text;
    switch (unit) {
        case 1: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.*E", precision, value);
            text = buffer;
            break;
        }
        case 2:
            text = std::fabs(value) < 1e15 ? decimal(value, precision, dimzin) : [&] {
                char buffer[64];
                std::snprintf(buffer, sizeof buffer, "%.*E", precision, value);
                return std::string(buffer);
            }();
            break;
        case 3: {  // feet and decimal inches
            const double magnitude = std::fabs(value);
            const double feet = std::floor(magnitude / 12.0);
            const std::string inches = decimal(magnitude - feet * 12.0, precision, dimzin);
            text = std::string(value < 0 ? "-" : "") + decimal(feet, 0, 0) + "'-" + inches + "\"";
            break;
        }
        case 4: {  // feet and fractional inches
            const double magnitude = std::fabs(value);
            const double feet = std::floor(magnitude / 12.0);
            text = std::string(value < 0 ? "-" : "") + decimal(feet, 0, 0) + "'-" +
                   fraction(magnitude - feet * 12.0, precision) + "\"";
            break;
        }
        case 5: text = fraction(value, precision); break;
    }
    if (text.size() + 1 > size) return RTERROR;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return RTNORM;
}

}  // namespace kestrin::host

int acdbRToS(ads_real value, int unit, int precision, char* out) {
    return kestrin::host::realToString(value, unit, precision, out, 64);
}
