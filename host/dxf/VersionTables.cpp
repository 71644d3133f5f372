#include "host/dxf/VersionTables.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace kestrin::dxf {

namespace {

// Record types by the version that brought them. R13 (AC1012) brought the
// object model itself: every type of its list, and classes, objects and
// block records, is beyond R12.
const std::map<std::string_view, std::string_view>& introduced() {
    static const std::map<std::string_view, std::string_view> types = [] {
        std::map<std::string_view, std::string_view> m;
        auto add = [&m](std::string_view version, std::initializer_list<std::string_view> names) {
            for (std::string_view n : names) m.emplace(n, version);
        };
        add("AC1012", {"3DSOLID", "BODY", "REGION", "ELLIPSE", "SPLINE", "MTEXT", "LEADER", "TOLERANCE", "MLINE",
                       "RAY", "XLINE", "OLEFRAME", "ACAD_PROXY_ENTITY", "ACAD_PROXY_OBJECT", "DICTIONARY", "GROUP",
                       "MLINESTYLE", "XRECORD", "BLOCK_RECORD", "CLASS"});
        add("AC1014", {"LWPOLYLINE", "HATCH", "IMAGE", "OLE2FRAME", "IMAGEDEF", "IMAGEDEF_REACTOR",
                       "RASTERVARIABLES", "SPATIAL_FILTER", "SPATIAL_INDEX", "LAYER_INDEX", "IDBUFFER",
                       "DICTIONARYVAR", "SORTENTSTABLE"});
        add("AC1015", {"WIPEOUT", "ARCALIGNEDTEXT", "RTEXT", "LAYOUT", "PLOTSETTINGS", "DICTIONARYWDFLT",
                       "ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER", "WIPEOUTVARIABLES", "VBA_PROJECT", "LAYER_FILTER",
                       "DIMASSOC"});
        add("AC1018", {"ACAD_TABLE", "ARC_DIMENSION", "LARGE_RADIAL_DIMENSION", "TABLESTYLE", "FIELD", "FIELDLIST",
                       "MPOLYGON", "ACAD_EVALUATION_GRAPH", "BLOCKVISIBILITYPARAMETER", "BLOCKVISIBILITYGRIP",
                       "BLOCKGRIPLOCATIONCOMPONENT", "BLOCKLOOKUPPARAMETER", "BLOCKFLIPPARAMETER"});
        add("AC1021", {"MULTILEADER", "MLEADER", "MLEADERSTYLE", "HELIX", "LIGHT", "SUN", "SECTION",
                       "SECTIONOBJECT", "EXTRUDEDSURFACE", "LOFTEDSURFACE", "REVOLVEDSURFACE", "SWEPTSURFACE",
                       "PLANESURFACE", "SURFACE", "DGNUNDERLAY", "DGNDEFINITION", "PDFUNDERLAY", "PDFDEFINITION",
                       "DWFUNDERLAY", "DWFDEFINITION", "SCALE", "VISUALSTYLE", "MATERIAL", "RENDERENVIRONMENT",
                       "MENTALRAYRENDERSETTINGS", "RENDERGLOBAL", "CELLSTYLEMAP", "TABLEGEOMETRY", "TABLECONTENT",
                       "SUNSTUDY", "SECTIONVIEWSTYLE", "DETAILVIEWSTYLE"});
        add("AC1024", {"MESH", "GEODATA", "NURBSURFACE", "POINTCLOUD", "POINTCLOUDDEF", "POINTCLOUDDEFEX",
                       "POINTCLOUDDEF_REACTOR", "ACDBASSOCNETWORK", "ACDBASSOCDEPENDENCY", "ACDBASSOCACTION",
                       "ACDBPERSSUBENTMANAGER", "ACDBASSOC2DCONSTRAINTGROUP", "ACDBASSOCGEOMDEPENDENCY"});
        add("AC1027", {"GEOPOSITIONMARKER", "POINTCLOUDEX", "POINTCLOUDDEFEX_REACTOR"});
        return m;
    }();
    return types;
}

// Header variables by the version that brought them (R12's own first).
const std::set<std::string_view> kR12Variables = {
    "$ACADVER", "$ANGBASE", "$ANGDIR", "$ATTDIA", "$ATTMODE", "$ATTREQ", "$AUNITS", "$AUPREC", "$CECOLOR",
    "$CELTYPE", "$CHAMFERA", "$CHAMFERB", "$CLAYER", "$COORDS", "$DIMALT", "$DIMALTD", "$DIMALTF", "$DIMAPOST",
    "$DIMASO", "$DIMASZ", "$DIMBLK", "$DIMBLK1", "$DIMBLK2", "$DIMCEN", "$DIMCLRD", "$DIMCLRE", "$DIMCLRT",
    "$DIMDLE", "$DIMDLI", "$DIMEXE", "$DIMEXO", "$DIMGAP", "$DIMLFAC", "$DIMLIM", "$DIMPOST", "$DIMRND", "$DIMSAH",
    "$DIMSCALE", "$DIMSE1", "$DIMSE2", "$DIMSHO", "$DIMSOXD", "$DIMSTYLE", "$DIMTAD", "$DIMTFAC", "$DIMTIH",
    "$DIMTIX", "$DIMTM", "$DIMTOFL", "$DIMTOH", "$DIMTOL", "$DIMTP", "$DIMTSZ", "$DIMTVP", "$DIMTXT", "$DIMZIN",
    "$DRAGMODE", "$DWGCODEPAGE", "$ELEVATION", "$EXTMAX", "$EXTMIN", "$FILLETRAD", "$FILLMODE", "$HANDLING",
    "$HANDSEED", "$INSBASE", "$LIMCHECK", "$LIMMAX", "$LIMMIN", "$LTSCALE", "$LUNITS", "$LUPREC", "$MAXACTVP",
    "$MENU", "$MIRRTEXT", "$ORTHOMODE", "$OSMODE", "$PDMODE", "$PDSIZE", "$PELEVATION", "$PEXTMAX", "$PEXTMIN",
    "$PLIMCHECK", "$PLIMMAX", "$PLIMMIN", "$PLINEGEN", "$PLINEWID", "$PSLTSCALE", "$PUCSNAME", "$PUCSORG",
    "$PUCSXDIR", "$PUCSYDIR", "$QTEXTMODE", "$REGENMODE", "$SHADEDGE", "$SHADEDIF", "$SKETCHINC", "$SKPOLY",
    "$SPLFRAME", "$SPLINESEGS", "$SPLINETYPE", "$SURFTAB1", "$SURFTAB2", "$SURFTYPE", "$SURFU", "$SURFV",
    "$TDCREATE", "$TDINDWG", "$TDUPDATE", "$TDUSRTIMER", "$TEXTSIZE", "$TEXTSTYLE", "$THICKNESS", "$TILEMODE",
    "$TRACEWID", "$UCSNAME", "$UCSORG", "$UCSXDIR", "$UCSYDIR", "$UNITMODE", "$USERI1", "$USERI2", "$USERI3",
    "$USERI4", "$USERI5", "$USERR1", "$USERR2", "$USERR3", "$USERR4", "$USERR5", "$USRTIMER", "$VISRETAIN",
    "$WORLDVIEW",
};

const std::map<std::string_view, std::string_view>& laterVariables() {
    static const std::map<std::string_view, std::string_view> vars = [] {
        std::map<std::string_view, std::string_view> m;
        auto add = [&m](std::string_view version, std::initializer_list<std::string_view> names) {
            for (std::string_view n : names) m.emplace(n, version);
        };
        // Those of R13 and R14 count as R2000's: the reference lists them there.
        add("AC1015", {
    "$ACADMAINTVER", "$CELTSCALE", "$CELWEIGHT", "$CEPSNTYPE", "$CHAMFERC", "$CHAMFERD", "$CMLJUST", "$CMLSCALE",
    "$CMLSTYLE", "$DIMADEC", "$DIMALTRND", "$DIMALTTD", "$DIMALTTZ", "$DIMALTU", "$DIMALTZ", "$DIMATFIT",
    "$DIMAUNIT", "$DIMAZIN", "$DIMDEC", "$DIMDSEP", "$DIMFRAC", "$DIMJUST", "$DIMLDRBLK", "$DIMLUNIT", "$DIMLWD",
    "$DIMLWE", "$DIMSD1", "$DIMSD2", "$DIMTDEC", "$DIMTMOVE", "$DIMTOLJ", "$DIMTXSTY", "$DIMTZIN", "$DIMUPT",
    "$DISPSILH", "$ENDCAPS", "$EXTNAMES", "$FINGERPRINTGUID", "$HYPERLINKBASE", "$INSUNITS", "$JOINSTYLE",
    "$LWDISPLAY", "$MEASUREMENT", "$OLESTARTUP", "$PINSBASE", "$PROXYGRAPHICS", "$PSTYLEMODE", "$PSVPSCALE",
    "$PUCSBASE", "$PUCSORGBACK", "$PUCSORGBOTTOM", "$PUCSORGFRONT", "$PUCSORGLEFT", "$PUCSORGRIGHT", "$PUCSORGTOP",
    "$PUCSORTHOREF", "$PUCSORTHOVIEW", "$STYLESHEET", "$TDUCREATE", "$TDUUPDATE", "$TREEDEPTH", "$UCSBASE",
    "$UCSORGBACK", "$UCSORGBOTTOM", "$UCSORGFRONT", "$UCSORGLEFT", "$UCSORGRIGHT", "$UCSORGTOP", "$UCSORTHOREF",
    "$UCSORTHOVIEW", "$VERSIONGUID", "$XEDIT",
        });
        add("AC1018", {
    "$DIMASSOC", "$HALOGAP", "$HIDETEXT", "$INDEXCTL", "$INTERSECTIONCOLOR", "$INTERSECTIONDISPLAY", "$LASTSAVEDBY",
    "$OBSCOLOR", "$OBSLTYPE", "$PROJECTNAME", "$SORTENTS", "$XCLIPFRAME",
        });
        add("AC1021", {
    "$3DDWFPREC", "$CAMERADISPLAY", "$CAMERAHEIGHT", "$CMATERIAL", "$CSHADOW", "$DGNFRAME", "$DIMARCSYM", "$DIMFXL",
    "$DIMFXLON", "$DIMJOGANG", "$DIMLTEX1", "$DIMLTEX2", "$DIMLTYPE", "$DIMTFILL", "$DIMTFILLCLR", "$DWFFRAME",
    "$INTERFERECOLOR", "$INTERFEREOBJVS", "$INTERFEREVPVS", "$LATITUDE", "$LENSLENGTH", "$LIGHTGLYPHDISPLAY",
    "$LOFTANG1", "$LOFTANG2", "$LOFTMAG1", "$LOFTMAG2", "$LOFTNORMALS", "$LOFTPARAM", "$LONGITUDE",
    "$NORTHDIRECTION", "$PSOLHEIGHT", "$PSOLWIDTH", "$REALWORLDSCALE", "$SHADOWPLANELOCATION", "$SHOWHIST",
    "$SOLIDHIST", "$STEPSIZE", "$STEPSPERSEC", "$TILEMODELIGHTSYNCH", "$TIMEZONE",
        });
        add("AC1024", {
    "$DIMTXTDIRECTION",
        });
        add("AC1027", {
    "$REQUIREDVERSIONS",
        });
        return m;
    }();
    return vars;
}

// The group codes of R12's records before their extended data, beyond the
// common ones of every entity.
const std::map<std::string_view, std::set<int>>& r12Codes() {
    static const std::map<std::string_view, std::set<int>> codes = {
        {"LINE", {10, 20, 30, 11, 21, 31}},
        {"3DLINE", {10, 20, 30, 11, 21, 31}},
        {"POINT", {10, 20, 30, 50}},
        {"CIRCLE", {10, 20, 30, 40}},
        {"ARC", {10, 20, 30, 40, 50, 51}},
        {"TRACE", {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33}},
        {"SOLID", {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33}},
        {"3DFACE", {10, 20, 30, 11, 21, 31, 12, 22, 32, 13, 23, 33, 70}},
        {"TEXT", {10, 20, 30, 40, 1, 50, 41, 51, 7, 71, 72, 11, 21, 31, 73}},
        {"SHAPE", {10, 20, 30, 40, 2, 50, 41, 51}},
        {"BLOCK", {2, 3, 70, 10, 20, 30, 1}},
        {"ENDBLK", {}},
        {"INSERT", {66, 2, 10, 20, 30, 41, 42, 43, 50, 70, 71, 44, 45}},
        {"ATTDEF", {10, 20, 30, 40, 1, 3, 2, 70, 73, 50, 41, 51, 7, 71, 72, 11, 21, 31, 74}},
        {"ATTRIB", {10, 20, 30, 40, 1, 2, 70, 73, 50, 41, 51, 7, 71, 72, 11, 21, 31, 74}},
        {"POLYLINE", {66, 10, 20, 30, 70, 40, 41, 71, 72, 73, 74, 75}},
        {"VERTEX", {10, 20, 30, 40, 41, 42, 70, 50, 71, 72, 73, 74}},
        {"SEQEND", {}},
        {"DIMENSION", {2, 3, 10, 20, 30, 11, 21, 31, 12, 22, 32, 70, 1, 13, 23, 33, 14, 24, 34, 15, 25, 35,
                       16, 26, 36, 40, 50, 51, 52, 53}},
        // Table entries and the TABLE record itself.
        {"TABLE", {2, 70}},
        {"VPORT", {2, 70, 10, 20, 11, 21, 12, 22, 13, 23, 14, 24, 15, 25, 16, 26, 36, 17, 27, 37, 40, 41, 42, 43,
                   44, 50, 51, 71, 72, 73, 74, 75, 76, 77, 78}},
        {"LTYPE", {2, 70, 3, 72, 73, 40, 49}},
        {"LAYER", {2, 70, 62, 6}},
        {"STYLE", {2, 70, 40, 41, 50, 71, 42, 3, 4}},
        {"VIEW", {2, 70, 40, 10, 20, 41, 11, 21, 31, 12, 22, 32, 42, 43, 44, 50, 71}},
        {"UCS", {2, 70, 10, 20, 30, 11, 21, 31, 12, 22, 32}},
        {"APPID", {2, 70}},
        {"DIMSTYLE", {105, 2, 70, 3, 4, 5, 6, 7, 40, 41, 42, 43, 44, 45, 46, 47, 48, 140, 141, 142, 143, 144, 145,
                      146, 147, 71, 72, 73, 74, 75, 76, 77, 78, 170, 171, 172, 173, 174, 175, 176, 177, 178}},
    };
    return codes;
}

bool isTableType(std::string_view type) {
    return type == "TABLE" || type == "VPORT" || type == "LTYPE" || type == "LAYER" || type == "STYLE" ||
           type == "VIEW" || type == "UCS" || type == "APPID" || type == "DIMSTYLE";
}

}  // namespace

std::optional<std::string_view> typeIntroducedIn(std::string_view type) {
    const auto& m = introduced();
    const auto it = m.find(type);
    if (it == m.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string_view> variableIntroducedIn(std::string_view name) {
    const auto& m = laterVariables();
    const auto it = m.find(name);
    if (it == m.end()) return std::nullopt;
    return it->second;
}

bool isR12Variable(std::string_view name) { return kR12Variables.contains(name); }

std::optional<std::string_view> entityCodeIntroducedIn(int code) {
    switch (code) {
        case 48: case 60: case 92: case 310: return "AC1012";  // linetype scale, visibility, proxy graphics
        case 370: case 390: return "AC1015";                   // lineweight, plot style
        case 420: case 430: case 440: return "AC1018";         // true colour, colour name, transparency
        case 284: case 347: case 348: return "AC1021";         // shadows, material, visual style
        case 160: return "AC1024";                             // proxy graphics of 64-bit size
        default: return std::nullopt;
    }
}

bool isR12EntityType(std::string_view type) {
    return !isTableType(type) && r12Codes().contains(type);
}

bool isR12Code(std::string_view type, int code) {
    const auto& m = r12Codes();
    const auto it = m.find(type);
    if (it == m.end()) return false;
    if (it->second.contains(code)) return true;
    if (code == 5) return true;  // the handle, where the drawing has them
    if (isTableType(type)) return false;
    // What every entity has.
    return code == 8 || code == 6 || code == 62 || code == 67 || code == 38 || code == 39 || code == 210 ||
           code == 220 || code == 230;
}

}  // namespace kestrin::dxf
