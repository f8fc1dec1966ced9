/* ollm.h - doubly linked lists of the host. An element is any record whose first two
   fields are its next and prev pointers (Vmod_Node and Vmod_Link are such records). */
#ifndef VMOD_HOST_OLLM_H
#define VMOD_HOST_OLLM_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

#define OLLM_APPEND 3

/* The first element of the list holding element; null for null. */
OHOST_API void *ollm_Start(void *element);
/* Unlinks element, joining its neighbours; element stays allocated, its own pointers
   are cleared. */
OHOST_API void ollm_Delete(void *element);
/* Appends element at the end of the list starting at head (where OLLM_APPEND); returns
   the list's head, which is element when head is null. */
OHOST_API void *ollm_Add(void *head, int32_t where, void *element);

#ifdef __cplusplus
}
#endif

#endif
