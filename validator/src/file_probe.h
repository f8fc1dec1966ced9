// file_probe.h - what an input file holds, as GDAL sees it: whether it exists and opens,
// its bands and their value types, its vector layers with their fields, and the
// coordinate system of each. Each file is opened once and closed again at once, so a
// model with many files holds no file open. Only built with GDAL.
#ifndef VMODCHECK_FILE_PROBE_H
#define VMODCHECK_FILE_PROBE_H

#include <string>
#include <vector>

// The value class a raster is read as: the order is that of how much a value can hold.
enum class ValueClass { Binary = 0, Integer = 1, Float = 2, Complex = 3 };

// A coordinate system: a name for messages and its WKT text for comparing; both empty
// when the file has none.
struct CrsFacts {
    std::string name;
    std::string wkt;
};

// The geometry a vector layer holds, reduced to what a feature word can name.
enum class GeometryKind { Other, Point, Line, Polygon };

struct LayerFacts {
    std::string name;
    GeometryKind geometry = GeometryKind::Other;
    std::vector<std::string> fields;
    CrsFacts crs;
};

struct FileFacts {
    bool exists = false;  // something is there under the name (a file or a folder)
    bool opened = false;  // GDAL opened it as a raster, a vector or both
    std::vector<ValueClass> bandClasses;     // per band, in order
    std::vector<std::string> bandTypeNames;  // GDAL's name of each band's type
    CrsFacts rasterCrs;
    std::vector<LayerFacts> layers;
};

// Looks at the file at path (already resolved) without printing anything: GDAL's own
// messages are silenced while it works.
FileFacts probe_File(const std::string &path);

// Whether two coordinate systems are the same one (their WKT may differ in wording).
bool probe_SameCrs(const CrsFacts &a, const CrsFacts &b);

#endif
