// file_probe.cpp - see file_probe.h.
#include "file_probe.h"

#ifdef VMODCHECK_WITH_GDAL

#include <sys/stat.h>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <mutex>

namespace {

// GDAL's messages belong in the problems the checks report, never on standard error:
// a quiet handler for as long as one probe runs.
class QuietErrors {
public:
    QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietErrors() {
        CPLErrorReset();
        CPLPopErrorHandler();
    }
    QuietErrors(const QuietErrors &) = delete;
    QuietErrors &operator=(const QuietErrors &) = delete;
};

void RegisterDrivers() {
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

CrsFacts Describe(OGRSpatialReferenceH crs) {
    CrsFacts facts;
    if (crs == nullptr) return facts;
    const char *name = OSRGetName(crs);
    facts.name = name != nullptr ? name : "unnamed";
    char *wkt = nullptr;
    if (OSRExportToWkt(crs, &wkt) == OGRERR_NONE && wkt != nullptr) facts.wkt = wkt;
    CPLFree(wkt);
    return facts;
}

ValueClass ClassOf(GDALRasterBandH band) {
    const GDALDataType type = GDALGetRasterDataType(band);
    if (GDALDataTypeIsComplex(type)) return ValueClass::Complex;
    if (GDALDataTypeIsFloating(type)) return ValueClass::Float;
    // A one-bit band comes through as bytes; its NBITS says what it holds.
    const char *bits = GDALGetMetadataItem(band, "NBITS", "IMAGE_STRUCTURE");
    if (bits != nullptr && std::string(bits) == "1") return ValueClass::Binary;
    return ValueClass::Integer;
}

GeometryKind KindOf(OGRwkbGeometryType type) {
    switch (wkbFlatten(type)) {
    case wkbPoint:
    case wkbMultiPoint: return GeometryKind::Point;
    case wkbLineString:
    case wkbMultiLineString: return GeometryKind::Line;
    case wkbPolygon:
    case wkbMultiPolygon: return GeometryKind::Polygon;
    default: return GeometryKind::Other;
    }
}

} // namespace

FileFacts probe_File(const std::string &path) {
    FileFacts facts;
    struct stat status {};
    facts.exists = stat(path.c_str(), &status) == 0;
    if (!facts.exists) return facts;
    RegisterDrivers();
    QuietErrors quiet;
    GDALDatasetH dataset =
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (dataset == nullptr) return facts;
    facts.opened = true;
    const int bands = GDALGetRasterCount(dataset);
    for (int b = 1; b <= bands; ++b) {
        GDALRasterBandH band = GDALGetRasterBand(dataset, b);
        facts.bandClasses.push_back(ClassOf(band));
        facts.bandTypeNames.push_back(GDALGetDataTypeName(GDALGetRasterDataType(band)));
    }
    if (bands > 0) facts.rasterCrs = Describe(GDALGetSpatialRef(dataset));
    const int layers = GDALDatasetGetLayerCount(dataset);
    for (int l = 0; l < layers; ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(dataset, l);
        LayerFacts layerFacts;
        layerFacts.name = OGR_L_GetName(layer);
        layerFacts.geometry = KindOf(OGR_L_GetGeomType(layer));
        OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
        const int fields = OGR_FD_GetFieldCount(definition);
        for (int f = 0; f < fields; ++f) layerFacts.fields.push_back(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(definition, f)));
        layerFacts.crs = Describe(OGR_L_GetSpatialRef(layer));
        facts.layers.push_back(std::move(layerFacts));
    }
    GDALClose(dataset);
    return facts;
}

bool probe_SameCrs(const CrsFacts &a, const CrsFacts &b) {
    if (a.wkt == b.wkt) return true;
    QuietErrors quiet;
    OGRSpatialReferenceH first = OSRNewSpatialReference(a.wkt.c_str());
    OGRSpatialReferenceH second = OSRNewSpatialReference(b.wkt.c_str());
    const bool same = first != nullptr && second != nullptr && OSRIsSame(first, second) != 0;
    if (first != nullptr) OSRRelease(first);
    if (second != nullptr) OSRRelease(second);
    return same;
}

#endif
