#include "plugin/frame/SystemVariables.h"

#include <cstdlib>

#include "host/api/Arx.h"

namespace {
// Reads a variable; the host's copy of a string value is the caller's to
// free, whatever type the caller expected.
bool readVar(const char* name, resbuf& rb, short expectedType) {
    if (acedGetVar(name, &rb) != RTNORM) return false;
    if (rb.restype == RTSTR && expectedType != RTSTR) {
        std::free(rb.resval.rstring);
        return false;
    }
    return rb.restype == expectedType;
}
}  // namespace

int getStringVar(const char* name, std::string& value) {
    resbuf rb{};
    if (!readVar(name, rb, RTSTR) || rb.resval.rstring == nullptr) return kVarRefused;
    value = rb.resval.rstring;
    std::free(rb.resval.rstring);
    return kVarOk;
}

int getRealVar(const char* name, double& value) {
    resbuf rb{};
    if (!readVar(name, rb, RTREAL)) return kVarRefused;
    value = rb.resval.rreal;
    return kVarOk;
}

int getShortVar(const char* name, int& value) {
    resbuf rb{};
    if (!readVar(name, rb, RTSHORT)) return kVarRefused;
    value = rb.resval.rint;
    return kVarOk;
}

bool setRealVar(const char* name, double value) {
    resbuf rb{};
    rb.restype = RTREAL;
    rb.resval.rreal = value;
    return acedSetVar(name, &rb) == RTNORM;
}

bool setStringVar(const char* name, const std::string& value) {
    resbuf rb{};
    rb.restype = RTSTR;
    rb.resval.rstring = const_cast<char*>(value.c_str());
    return acedSetVar(name, &rb) == RTNORM;
}
