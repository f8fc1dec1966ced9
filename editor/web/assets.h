// assets.h - the page's files, built into the program so that `vmod edit` serves them
// from the build tree and from an installed prefix alike, with no download.
#ifndef VMODEDIT_ASSETS_H
#define VMODEDIT_ASSETS_H

#include <cstddef>

struct EditorAsset {
    const char *name;          // "index.html", "editor.js", ...
    const char *contentType;   // "text/html; charset=utf-8", ...
    const unsigned char *data;
    size_t size;
};

// The asset of that name, or null.
const EditorAsset *editor_FindAsset(const char *name);

#endif
