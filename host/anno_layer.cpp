// Annotation layers: a layer is kept in memory and written as one SVG file when it is
// closed. The file is first written under a temporary name beside the target and renamed
// over it only when every byte is on disk, so a failed export leaves no partial file.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "anno_internal.h"
#include "host/omsc.h"

using namespace anno;

namespace {

const char layerSuffix[] = "(:Annotation)";

struct Layer {
    Oant_Layer handle{};
    Oant_AnnotationData data{};
    Oant_StyleLibrary library;
    Oant_Elements elements;
    std::string path;
    std::string tempPath;
    int fd = -1;

    ~Layer() {
        if (fd >= 0) {
            ::close(fd);
            ::unlink(tempPath.c_str());
        }
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

// Creates the temporary file beside path; an errno value, or 0.
int openTemporary(Layer &layer) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        layer.tempPath = layer.path + ".tmp" + std::to_string(::getpid()) + "." + std::to_string(++serial);
        layer.fd = ::open(layer.tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (layer.fd >= 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Writes text to the temporary file and puts it in place; an errno value, or 0.
int commit(Layer &layer, const std::string &text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(layer.fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<size_t>(n);
    }
    if (::fsync(layer.fd) != 0 && errno != EINVAL)
        return errno;
    int fd = layer.fd;
    layer.fd = -1;
    if (::close(fd) != 0) {
        int e = errno;
        ::unlink(layer.tempPath.c_str());
        return e;
    }
    if (::rename(layer.tempPath.c_str(), layer.path.c_str()) != 0) {
        int e = errno;
        ::unlink(layer.tempPath.c_str());
        return e;
    }
    return 0;
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
        struct stat info;
        if (layer->path.empty())
            failure = "no file name";
        else if (::stat(layer->path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            failure = layer->path + " is a directory";
        else if (failNow("oant_LayerNew"))
            failure = "cannot create " + layer->path + ": injected failure";
        else if (int e = openTemporary(*layer))
            failure = "cannot create " + layer->path + ": " + std::strerror(e);
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
        setError(err, "oant_LayerNew", 1, "oant_LayerNew: " + failure);
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
    if (root && !l.elements.known.count(root))
        root = nullptr; // not an element of this layer
    if (recording())
        record("oant_LayerClose(layer, " + reportName(err) + ") root " + handleName(root, "element") +
               ", map information " + showMapInfo(l.data.mapInfo));
    try {
        std::string text = layerSvg(l.library, l.elements, root, l.data.mapInfo);
        if (failNow("oant_LayerClose"))
            failure = "cannot write " + l.path + ": injected failure";
        else if (int e = commit(l, text))
            failure = "cannot write " + l.path + ": " + std::strerror(e);
    } catch (const std::bad_alloc &) {
        failure = "out of memory";
    }
    if (!failure.empty())
        setError(err, "oant_LayerClose", 2, "oant_LayerClose: " + failure);
    forgetHandle(&l.handle);
    return failure.empty() ? 0 : -1;
}
}
