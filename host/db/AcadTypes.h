// Basic value types of the host's programming interface: fixed-size integers,
// the database status numbers, open modes, text modes and 3-D points.
#pragma once

#include <cmath>
#include <cstdint>

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using IntPtr = std::intptr_t;
using Boolean = bool;
inline constexpr bool kFalse = false;
inline constexpr bool kTrue = true;
}  // namespace Adesk

namespace Acad {
// Status of a database call. The numbers are part of the interface: modules
// pass them on unchanged.
enum ErrorStatus {
    eOk = 0,
    eNotApplicable = 2,          // the call makes no sense for this object
    eInvalidInput = 3,           // a value out of range (height <= 0, empty name, ...)
    eBufferTooSmall = 7,         // a result does not fit the caller's buffer
    eUnknownHandle = 13,         // no object with that handle
    eNullObjectId = 16,          // the null id was given
    eNullEntityPointer = 19,     // a null object pointer was given
    eKeyNotFound = 21,           // no entry of that name
    eDuplicateKey = 22,          // an entry of that name exists already
    eAlreadyInDb = 25,           // the object belongs to a database already
    eInvalidAdsName = 30,        // an entity name that names no object
    eInvalidSymbolTableName = 31,
    eNotThatKindOfClass = 34,    // the object is not of the class asked for
    eNotInDatabase = 35,         // the call needs a database-resident object
    eWasErased = 80,             // the object is erased
    eWasOpenForWrite = 81,       // open for write elsewhere: cannot be opened again
    eWasOpenForRead = 82,        // open for read elsewhere: cannot be opened for write
    eNotOpenForWrite = 83,       // a change to an object that is not open for write
    eNoDatabase = 124,           // there is no working database
};
}  // namespace Acad

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
enum TextHorzMode { kTextLeft = 0, kTextCenter = 1, kTextRight = 2, kTextAlign = 3, kTextMid = 4, kTextFit = 5 };
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };
}  // namespace AcDb

class AcGePoint3d {
public:
    AcGePoint3d() = default;
    AcGePoint3d(double px, double py, double pz) : x(px), y(py), z(pz) {}
    double distanceTo(const AcGePoint3d& p) const { return std::hypot(x - p.x, y - p.y, z - p.z); }
    bool isEqualTo(const AcGePoint3d& p, double tol = 1e-10) const { return distanceTo(p) <= tol; }
    bool operator==(const AcGePoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
    bool operator!=(const AcGePoint3d& p) const { return !(*this == p); }
    double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }

    static const AcGePoint3d kOrigin;
    double x = 0, y = 0, z = 0;
};
inline const AcGePoint3d AcGePoint3d::kOrigin{};
