/* node_kinds.h - each node kind described once: its payload record, its render slot, the
   values a new payload starts with, what the file reader settles, and every pointer the
   payload owns with the field that counts it. Creation, duplication, release and the
   reader's hand-over walk this table, so a new payload string is one line in
   node_kinds.cpp.

   Records are packed: a pointer field may sit off its natural alignment, so fields are
   reached by offset and copied bytewise, never through a pointer to the field. */
#ifndef VMOD_MODEL_NODE_KINDS_H
#define VMOD_MODEL_NODE_KINDS_H

#include <cstddef>
#include <cstdint>

#include "vmod/vmod.h"

/* What an owned pointer field points to. */
enum class Model_Owned : uint8_t {
    String,  /* char *: a heap string */
    Rect,    /* Vmod_Rect *: one rectangle */
    Values,  /* an array of `count` plain elements of elementSize bytes */
    Strings, /* char **: `count` heap strings, each may be null */
    Records, /* an array of `count` pointers to records of elementSize bytes, each may be null */
    Font     /* a text payload's font: owned only as text_font.h records it */
};

/* No count field (the Values, Strings and Records shapes always name one). */
inline constexpr size_t kModelNoCount = static_cast<size_t>(-1);

/* One pointer field a payload owns. */
struct Model_OwnedField {
    const char *name;   /* the field's name in the record */
    size_t offset;      /* of the pointer in the payload */
    Model_Owned shape;
    size_t elementSize; /* Values and Records */
    /* The int32 field(s) giving the entry count: one, or two multiplied (rows by
       columns). A count that is not positive means no entries. */
    size_t countOffset;
    size_t countOffset2;
    /* Whether duplication copies the field; null: always. A field not copied becomes
       null in the copy. */
    bool (*copied)(const void *payload);
    /* String: the text a new payload starts with; null: none. */
    const char *initial;
};

/* One node kind. */
struct Model_NodeKind {
    int32_t kind;       /* Vmod_NodeType */
    const char *name;   /* "raster", "vector", ... as the model's messages name the kind */
    size_t payloadSize; /* of the payload record */
    int32_t renderSlot; /* VMOD_SLOT_ */
    /* Sets the plain fields a new payload starts with (the record is zero-filled);
       null: all zero. Preferences and the model's text settings are not read here. */
    void (*setDefaults)(void *payload);
    /* Settles a payload the file reader has filled, before the model is handed over;
       null: nothing to settle. */
    void (*afterRead)(void *payload);
    const Model_OwnedField *owned;
    size_t ownedCount;
};

/* The description of kind, null for a kind outside 0..7. */
const Model_NodeKind *model_KindOf(int32_t kind);
/* Every kind in kind order, and their number. */
const Model_NodeKind *model_Kinds(size_t *count);

/* The number of entries of an owned array field of payload (0 for single pointers). */
int64_t model_OwnedCount(const Model_OwnedField &field, const void *payload);

/* A new zero-filled payload of kind with the kind's plain defaults and initial strings;
   null for an unknown kind or when memory is exhausted. */
void *model_PayloadNew(int32_t kind);
/* In a bytewise copy of a payload of kind, replaces every owned pointer by a copy of
   what it points to (or null, for a field the kind does not copy). A failed allocation
   leaves a null field that the release of the copy handles. */
void model_PayloadCopyOwned(int32_t kind, void *copy);
/* Releases what a payload of kind owns, not the payload record itself. */
void model_PayloadReleaseOwned(int32_t kind, void *payload);
/* Settles every payload of the list starting at first that the file reader filled. */
void model_NodesAfterRead(Vmod_Node *first);

/* The strings and rectangle a model record owns besides its nodes (fileName, title,
   window, projection and area-of-interest names), and their number. */
const Model_OwnedField *model_HeaderOwned(size_t *count);
/* Releases what the single-pointer field (String or Rect) of record points to and clears
   the field. */
void model_OwnedFieldRelease(const Model_OwnedField &field, void *record);

#endif
