// The file-name filter a file chooser starts with: the extension of the given file.
#include <cstring>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "model/model_internal.h"

extern "C" char *vmod_SearchString(int32_t useName, const char *fileName) {
    if (useName == 0 || fileName == nullptr) return ostr_Duplicate("*.img");
    Oerr_ErrorReport *report = nullptr;
    const int32_t directory = ofio_IsDirectory(fileName, &report);
    oerr_DeleteErrorReportEx(&report);
    if (directory) return ostr_Duplicate("*.grid");
    char extension[256] = {0};
    ostr_GetExtPart(fileName, extension, sizeof extension);
    enum { filterSize = 256 };
    auto *filter = static_cast<char *>(omsc_HeapMalloc(filterSize));
    // An extension too long for the filter is cut to fit it.
    if (filter != nullptr) ofio_Snprintf(filter, filterSize, "*.%s", extension);
    return filter;
}
