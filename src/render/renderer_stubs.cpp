// Placeholder renderers until the canvas renderers are built; they draw nothing.
#include "vmod/vmod.h"

extern "C" {
void vmod_RenderRaster(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderVector(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderMatrix(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderTable(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderScalar(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderFunction(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderCriteria(Vmod_Node *, Vmod_Model *, int32_t) {}
void vmod_RenderText(Vmod_Node *, Vmod_Model *, int32_t) {}
}
