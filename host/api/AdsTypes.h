// The host's C-level values: points, entity names, result buffers and the
// status numbers of editor calls.
#pragma once

#include "host/db/AcDbObjectId.h"
#include "host/db/AcadTypes.h"

using ads_real = double;
using ads_point = ads_real[3];
using ads_name = long[2];
using ads_matrix = ads_real[4][4];

enum { X = 0, Y = 1, Z = 2, T = 3 };

struct ads_binary {
    short clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    char* rstring;  // allocated with malloc
    long rlname[2];
    long rlong;
    ads_binary rbinary;
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

// Status numbers of editor and utility calls.
inline constexpr int RTNORM = 5100;   // done
inline constexpr int RTNONE = 5000;   // Enter without input
inline constexpr int RTERROR = -5001; // failed; for a pick: nothing there, ask again
inline constexpr int RTCAN = -5002;   // cancelled
inline constexpr int RTREJ = -5003;   // the request was refused
// Result-buffer types.
inline constexpr int RTREAL = 5001;
inline constexpr int RTPOINT = 5002;
inline constexpr int RTSHORT = 5003;
inline constexpr int RTANG = 5004;
inline constexpr int RTSTR = 5005;
inline constexpr int RTENAME = 5006;
inline constexpr int RT3DPOINT = 5009;
inline constexpr int RTLONG = 5010;

// A result buffer of `type` (strings empty); free a chain with acutRelRb,
// which also frees its strings.
resbuf* acutNewRb(int type);
int acutRelRb(resbuf* chain);
// Frees a string the host allocated and nulls the pointer.
void acutDelString(char*& string);

// Entity names and object ids: an entity name holds the object's handle and
// its database's number, so a stale or forged name is refused, not followed.
Acad::ErrorStatus acdbGetAdsName(ads_name& name, AcDbObjectId id);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
