/*
 * build_model - builds a small site-suitability model through the library's interface,
 * the way the model editor does, then prints whether it can run and the order in which
 * its operations would be written to the script.
 *
 *   dem ──> SLOPE ──> slope_deg ──┐
 *                                 ├──> suitability (criteria) ──> suitable
 *   landuse ──────────────────────┘
 *   plus a free text note.
 */
#include <stdio.h>
#include <string.h>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

static const char *const kindNames[] = {"raster", "vector", "matrix",   "table",
                                        "scalar", "function", "criteria", "text"};

/* Makes a node of kind, numbers it and appends it to the model's list. */
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

/* Adds the arrow from -> to unless it would close a cycle, as the editor does. */
static int addArrow(Vmod_Node *from, Vmod_Node *to) {
    if (from == to || vmod_Circular(from, to->id, from->id, NULL)) {
        printf("refused arrow %d -> %d: it would close a cycle\n", (int)from->id, (int)to->id);
        return 0;
    }
    vmod_ChildAddByNode(from, to, NULL);
    return 1;
}

static void setCriteria(Vmod_Node *node, const char *first, const char *second) {
    Vmod_CriteriaData *criteria = (Vmod_CriteriaData *)node->data;
    criteria->columns = 2;
    criteria->rows = 1;
    criteria->columnTitles = (char **)omsc_HeapMalloc(2 * sizeof(char *));
    criteria->cells = (char **)omsc_HeapMalloc(2 * sizeof(char *));
    criteria->columnTitles[0] = ostr_Duplicate(first);
    criteria->columnTitles[1] = ostr_Duplicate(second);
    criteria->cells[0] = ostr_Duplicate("< 10");
    criteria->cells[1] = ostr_Duplicate("== 3");
}

int main(void) {
    static char textFont[] = "helvetica"; /* the front end's font, shared by new notes */
    Vmod_Model model;
    Vmod_Node *dem, *landuse, *slope, *slopeDeg, *suitability, *suitable, *note, *next;
    Ooml_Frame *frame;
    Ooml_Menu *menu;
    Ooml_Part *runButton;
    int arrows = 0, step = 0, count = 0;

    memset(&model, 0, sizeof model);
    model.nodeWidth = 0.75;
    model.nodeHeight = 0.5;
    model.textFont = textFont;
    model.textSize = 12;
    frame = vmodhost_FrameCreate();
    menu = vmodhost_MenuCreate();
    runButton = vmodhost_FrameAddPart(frame, "vmodframe:runb");
    model.frame = frame;
    model.menu = menu;

    dem = addNode(&model, VMOD_RASTER, "dem", 1.0, 1.0);
    landuse = addNode(&model, VMOD_RASTER, "landuse", 1.0, 3.0);
    slope = addNode(&model, VMOD_FUNCTION, NULL, 2.5, 1.0);
    slopeDeg = addNode(&model, VMOD_RASTER, "slope_deg", 4.0, 1.0);
    suitability = addNode(&model, VMOD_CRITERIA, "suitability", 5.5, 2.0);
    suitable = addNode(&model, VMOD_RASTER, "suitable", 7.0, 2.0);
    note = addNode(&model, VMOD_TEXT, "Site suitability", 4.0, 4.0);
    (void)note;

    ((Vmod_FunctionData *)slope->data)->expression = ostr_Duplicate("SLOPE ( dem , DEGREES )");
    slope->title = vmod_FunctionTitle(((Vmod_FunctionData *)slope->data)->expression);
    setCriteria(suitability, "slope_deg", "landuse");
    ((Vmod_RasterData *)suitable->data)->newFile = 1;

    arrows += addArrow(dem, slope);
    arrows += addArrow(slope, slopeDeg);
    arrows += addArrow(slopeDeg, suitability);
    arrows += addArrow(landuse, suitability);
    vmod_ReadyToRun(&model);
    printf("before the last arrow: ready to run: %s\n", vmodhost_PartEnabled(runButton) == 1 ? "yes" : "no");
    arrows += addArrow(suitability, suitable);
    arrows += addArrow(suitable, dem); /* refused: it would close a cycle */

    for (next = model.nodes; next != NULL; next = next->next) ++count;
    printf("model: %d nodes, %d arrows\n", count, arrows);
    vmod_ReadyToRun(&model);
    printf("ready to run: %s (run button %s, menu item \"selprocess\" %s)\n",
           vmodhost_PartEnabled(runButton) == 1 ? "yes" : "no",
           vmodhost_PartEnabled(runButton) == 1 ? "enabled" : "greyed",
           vmodhost_MenuItemEnabled(menu, "selprocess") == 1 ? "enabled" : "greyed");

    printf("operation order:\n");
    while ((next = vmod_NextFunction(model.nodes, NULL)) != NULL) {
        Vmod_Link *out = next->children;
        printf("  %d. %s %d \"%s\" -> node %d\n", ++step, kindNames[next->type], (int)next->id,
               next->title != NULL ? next->title : "?", out != NULL ? (int)out->id : 0);
        if (next->type == VMOD_FUNCTION)
            ((Vmod_FunctionData *)next->data)->done = 1;
        else
            ((Vmod_CriteriaData *)next->data)->done = 1;
    }

    vmod_ModelDelete(&model, NULL);
    vmodhost_FrameDelete(frame);
    vmodhost_MenuDelete(menu);
    return 0;
}
