// Deleting the selected nodes of a list together with every arrow into and out of them.
#include "vmodhost/ollm.h"
#include "model/model_internal.h"
#include "model/node_release.h"

extern "C" Vmod_Node *vmod_NodesSelDel(Vmod_Node *node, Oerr_ErrorReport **err) {
    const Model_KeptReport kept(err);
    Vmod_Node *result = model_FirstNode(node);
    Vmod_Node *each = result;
    while (each != nullptr) {
        if (!each->selected) {
            each = each->next;
            continue;
        }
        if (each == result) result = each->next;
        vmod_SingleParent(each, each->id, nullptr);
        vmod_ChildrenDelete(each, nullptr);
        Vmod_Node *next = each->next;
        ollm_Delete(each);
        // The node goes with its title, payload and any link left in its lists.
        model_NodeRelease(each);
        each = next;
    }
    return result;
}
