// Annotation layers: a layer keeps its styles in memory and its elements in a scratch
// file as they are made, and is written as one SVG file when it is closed. The file is saved the way every whole file is (ofio_SaveOpen): a failed export
// leaves the earlier file as it was and no partial file, and a link, a device or a
// read-only file is treated as every other save treats it.
#include <cerrno>
#include <cstring>
#include <map>

#include "oant_internal.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/vmodhost.h"

using namespace anno;

namespace {

const char layerSuffix[] = "(:Annotation)";

struct Layer {
    Oant_Layer handle{};
    Oant_AnnotationData data{};
    Oant_StyleLibrary library;
    Oant_Elements elements;
    std::string path;
    Ofio_File *file = nullptr; // the save in progress, until the layer is closed

    ~Layer() {
        ofio_SaveCancel(file);
        // Released here rather than through oprj_MapInfoFree, which the record would show
        // as a call of the caller's.
        if (data.mapInfo) {
            omsc_HeapFree(data.mapInfo->unitName);
            delete data.mapInfo;
        }
    }
};

// Open layers by handle, so that a stray pointer given to oant_LayerClose is ignored.
std::map<const Oant_Layer *, std::unique_ptr<Layer>> &layers() {
    static std::map<const Oant_Layer *, std::unique_ptr<Layer>> open;
    return open;
}

// The file a layer name stands for: the name without its layer suffix.
std::string layerPath(const char *name) {
    std::string path = name;
    size_t n = sizeof layerSuffix - 1;
    if (path.size() >= n && path.compare(path.size() - n, n, layerSuffix) == 0)
        path.erase(path.size() - n);
    return path;
}

bool writePiece(void *context, const std::string &piece) {
    return ofio_Write(static_cast<Ofio_File *>(context), piece.data(), piece.size()) == 0;
}

// The directory a file is in ("." for a bare name).
std::string directoryOf(const std::string &path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes the layer's document and puts the file in place; an empty string, or why it
// failed (the earlier file then left as it was).
std::string commit(Layer &layer, const Oant_Element *root) {
    // Records still buffered must reach the scratch file before they are read back.
    Oant_Elements &elements = layer.elements;
    errno = 0;
    if (elements.scratch && !elements.scratchFailed && std::fflush(elements.scratch) != 0) {
        elements.scratchFailed = true;
        elements.scratchCause = errno;
    }
    elements.flushed = true;
    if (layer.elements.scratchFailed)
        return "cannot write " + layer.path + ": " +
               (layer.elements.scratchCause != 0 ? std::strerror(layer.elements.scratchCause)
                                                  : "the elements could not be kept");
    bool written = layerSvg(layer.library, layer.elements, root, layer.data.mapInfo, writePiece, layer.file);
    Ofio_File *file = layer.file;
    if (!written && !ofio_HasError(file))
        return "cannot write " + layer.path + ": the elements could not be read back";
    layer.file = nullptr;
    Oerr_ErrorReport *cause = nullptr;
    if (ofio_SaveClose(file, &cause) == 0) return "";
    std::string failure = cause != nullptr ? vmodhost_ErrorMessage(cause) : "cannot write " + layer.path;
    oerr_DeleteErrorReportEx(&cause);
    return failure;
}

std::string showMapInfo(const Oprj_MapInfo *info) {
    if (!info)
        return "null";
    return handleName(info, "mapinfo") + " [(" + formatDouble(info->upperLeftX) + ", " +
           formatDouble(info->upperLeftY) + "), (" + formatDouble(info->lowerRightX) + ", " +
           formatDouble(info->lowerRightY) + "), " + std::to_string(info->unitCode) + ", " +
           quoted(info->unitName) + "]";
}

} // namespace

extern "C" {

OHOST_API Oant_Layer *oant_LayerNew(Oint_Init *init, Oevg_Graphics *graphics, const char *name, int32_t a,
                                    int32_t b, Oerr_ErrorReport **err) {
    std::unique_ptr<Layer> layer;
    std::string failure;
    try {
        layer = std::make_unique<Layer>();
        layer->path = name ? layerPath(name) : "";
        layer->elements.scratchDirectory = directoryOf(layer->path);
        Oerr_ErrorReport *cause = nullptr;
        if (layer->path.empty())
            failure = "cannot write an annotation layer without a file name";
        else if (failNow("oant_LayerNew"))
            failure = "cannot write " + layer->path + ": injected failure";
        else if ((layer->file = ofio_SaveOpen(layer->path.c_str(), &cause)) == nullptr)
            failure = cause != nullptr ? vmodhost_ErrorMessage(cause) : "cannot write " + layer->path;
        oerr_DeleteErrorReportEx(&cause);
    } catch (const std::bad_alloc &) {
        failure = "out of memory";
    }
    Oant_Layer *handle = nullptr;
    if (failure.empty()) {
        Layer &l = *layer;
        l.data.styleLibrary = &l.library;
        l.data.elements = &l.elements;
        l.handle.annotationData = &l.data;
        handle = &l.handle;
        try {
            layers()[handle] = std::move(layer);
        } catch (const std::bad_alloc &) {
            handle = nullptr;
            failure = "out of memory";
        }
    }
    if (!failure.empty())
        setError(err, "oant_LayerNew", 1, failure);
    if (recording()) {
        if (handle) {
            nameHandle(handle, "layer");
            nameHandle(handle->annotationData->styleLibrary, "library");
            nameHandle(handle->annotationData->elements, "elements");
        }
        record("oant_LayerNew(" + handleName(init, "init") + ", " + handleName(graphics, "graphics") + ", " +
               quoted(name) + ", " + std::to_string(a) + ", " + std::to_string(b) + ", " + reportName(err) +
               ") -> " + handleName(handle, "layer"));
    }
    return handle;
}

OHOST_API int32_t oant_LayerClose(Oant_Layer *layer, Oerr_ErrorReport **err) {
    auto found = layers().find(layer);
    if (found == layers().end()) {
        if (recording())
            record("oant_LayerClose(" + handleName(layer, "layer") + ", " + reportName(err) + ") -> -1");
        setError(err, "oant_LayerClose", 1, "oant_LayerClose: not an open layer");
        return -1;
    }
    std::unique_ptr<Layer> open = std::move(found->second);
    layers().erase(found);
    Layer &l = *open;
    std::string failure;
    const Oant_Element *root = l.data.rootElement;
    if (root && !isElement(l.elements, root))
        root = nullptr; // not an element of this layer
    if (recording())
        record("oant_LayerClose(layer, " + reportName(err) + ") root " + handleName(root, "element") +
               ", map information " + showMapInfo(l.data.mapInfo));
    try {
        if (failNow("oant_LayerClose"))
            failure = "cannot write " + l.path + ": injected failure";
        else
            failure = commit(l, root);
    } catch (const std::bad_alloc &) {
        failure = "out of memory";
    }
    if (!failure.empty())
        setError(err, "oant_LayerClose", 2, failure);
    forgetHandle(&l.handle);
    return failure.empty() ? 0 : -1;
}
}
