// The render table: one renderer per slot. A node holds the address of its own slot,
// so the slot order (criteria before function) is part of the interface.
#include "vmod/vmod.h"

extern "C" {
VMOD_API const Vmod_RenderFunction Vmod_RenderTable[VMOD_RENDER_SLOTS] = {
    vmod_RenderRaster, vmod_RenderVector,   vmod_RenderMatrix,   vmod_RenderTable,
    vmod_RenderScalar, vmod_RenderCriteria, vmod_RenderFunction, vmod_RenderText,
};
}
