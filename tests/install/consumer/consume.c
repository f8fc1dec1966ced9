/*
 * consume.c - a C program built against the installed library: it builds a three-node
 * model through the API, saves it, reads it back, lists it and writes its script.
 *
 *   consume MODEL.vmf SCRIPT.txt
 */
#include <stdio.h>
#include <string.h>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

/* Shows and releases a report; 1 when there was one. */
static int failed(const char *step, Oerr_ErrorReport **err) {
    char *text;
    if (*err == NULL) return 0;
    text = vmodhost_ErrorChainText(*err);
    printf("%s failed: %s\n", step, text != NULL ? text : "?");
    omsc_HeapFree(text);
    oerr_DeleteErrorReportEx(err);
    return 1;
}

static Vmod_Node *addNode(Vmod_Model *model, int32_t kind, const char *title, double x, double y) {
    Vmod_Node *node = vmod_NodeCreate(model, kind, NULL);
    Vmod_Node *tail = model->nodes;
    if (node == NULL) return NULL;
    node->id = vmod_NodeNextAvail(model->nodes, NULL);
    node->title = title != NULL ? ostr_Duplicate(title) : NULL;
    node->x = x;
    node->y = y;
    if (tail == NULL) {
        model->nodes = node;
    } else {
        while (tail->next != NULL) tail = tail->next;
        tail->next = node;
        node->prev = tail;
    }
    return node;
}

/* Releases everything a model read from a file owns: vmod_ModelDelete frees the strings,
   the window and the nodes; the record is the caller's. */
static void releaseModel(Vmod_Model *model) {
    Oerr_ErrorReport *err = NULL;
    vmod_ModelDelete(model, &err);
    oerr_DeleteErrorReportEx(&err);
    memset(model, 0, sizeof *model);
}

int main(int argc, char **argv) {
    static const char *const kinds[] = {"raster", "vector", "matrix",   "table",
                                        "scalar", "function", "criteria", "text"};
    Vmod_Model model, back;
    Vmod_Node *dem, *add, *out, *node;
    Oerr_ErrorReport *err = NULL;
    Ofio_File *script;
    int32_t complete;
    int status = 0;

    if (argc != 3) {
        fprintf(stderr, "usage: consume MODEL.vmf SCRIPT.txt\n");
        return 2;
    }
    memset(&model, 0, sizeof model);
    model.nodeWidth = 0.75;
    model.nodeHeight = 0.5;
    dem = addNode(&model, VMOD_RASTER, "$n1_dem", 1.0, 1.0);
    add = addNode(&model, VMOD_FUNCTION, NULL, 1.0, 2.5);
    out = addNode(&model, VMOD_RASTER, "$n3_raised", 1.0, 4.0);
    ((Vmod_RasterData *)dem->data)->fileName = ostr_Duplicate("/data/dem.img");
    ((Vmod_FunctionData *)add->data)->expression = ostr_Duplicate("$n1_dem + 100");
    add->title = vmod_FunctionTitle(((Vmod_FunctionData *)add->data)->expression);
    ((Vmod_RasterData *)out->data)->fileName = ostr_Duplicate("/data/raised.img");
    ((Vmod_RasterData *)out->data)->newFile = 1;
    vmod_ChildAddByNode(dem, add, NULL);
    vmod_ChildAddByNode(add, out, NULL);
    printf("built: %d arrow out of node 1; an arrow 3 -> 1 would close a cycle: %s\n",
           (int)vmod_NumChildren(dem), vmod_Circular(dem, dem->id, out->id, NULL) ? "yes" : "no");

    model.fileName = ostr_Duplicate(argv[1]);
    vmod_ModelWrite(&model, &err);
    status |= failed("save", &err);
    vmod_ModelDelete(&model, NULL);

    memset(&back, 0, sizeof back);
    vmod_ModelRead(&back, argv[1], &err);
    status |= failed("read", &err);
    for (node = back.nodes; node != NULL; node = node->next)
        printf("read: node %d %s \"%s\" with %d child link(s)\n", (int)node->id, kinds[node->type],
               node->title != NULL ? node->title : "", (int)vmod_NumChildren(node));

    script = ofio_Open(argv[2], "w", &err);
    if (script == NULL) {
        status |= failed("open the script", &err);
    } else {
        complete = vmod_ScriptGen(&back, script);
        if (ofio_Close(script, 0) != 0) status = 1;
        printf("script: %s\n", complete ? "complete" : "incomplete");
    }
    releaseModel(&back);

    vmod_ModelRead(&back, "/nonexistent/vmod/model.vmf", &err);
    printf("reading a missing file reports an error: %s\n", err != NULL ? "yes" : "no");
    oerr_DeleteErrorReportEx(&err);
    releaseModel(&back);
    return status;
}
