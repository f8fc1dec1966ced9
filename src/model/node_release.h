/* node_release.h - releasing what a node owns: its title, its payload with the strings,
   arrays and rectangles the payload points to, and its two link lists.

   A node duplicated with vmod_NodeDuplicate shares the link lists of its source until
   the caller gives it lists of its own; releasing both while they still share would
   release the links twice, so the caller must first give the copy its own (or empty)
   lists. */
#ifndef VMOD_MODEL_NODE_RELEASE_H
#define VMOD_MODEL_NODE_RELEASE_H

#include "vmod/vmod.h"

/* Releases every link of the list starting at head. */
void model_LinkListRelease(Vmod_Link *head);
/* Releases a payload of kind with everything it owns; null is ignored. */
void model_PayloadRelease(int32_t kind, void *data);
/* Releases a node record with its title, payload and link lists; null is ignored. The
   node must already be out of any list (or the list must be released as a whole). */
void model_NodeRelease(Vmod_Node *node);
/* Releases the strings and rectangle a model record owns besides its nodes (fileName,
   title, window, projection and area-of-interest names) and clears those fields. */
void model_HeaderRelease(Vmod_Model *model);

#endif
