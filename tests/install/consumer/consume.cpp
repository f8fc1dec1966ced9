// consume.cpp - a C++ program built against the installed library: the strings and nodes
// the library hands over are held by smart pointers that release them on the host heap.
//
//   consume_cxx MODEL.vmf
#include <cstdio>
#include <memory>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

namespace {

struct HeapFree {
    void operator()(void *block) const { omsc_HeapFree(block); }
};
using HeapString = std::unique_ptr<char, HeapFree>;

struct ModelFree {
    void operator()(Vmod_Model *model) const {
        vmod_ModelDelete(model, nullptr); // the nodes and every header string
        omsc_HeapFree(model);
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: consume_cxx MODEL.vmf\n");
        return 2;
    }
    HeapString changed(vmod_ChangeAll("$n1_dem + $n1_dem", "$n1_dem", "$n7_slope"));
    HeapString title(vmod_FunctionTitle("SLOPE ( $n1_dem , DEGREES )"));
    std::printf("changed: \"%s\"\ntitle: \"%s\"\n", changed.get(), title.get());

    Oerr_ErrorReport *err = nullptr;
    std::unique_ptr<Vmod_Model, ModelFree> model(vmod_ModelParse(argv[1], &err));
    if (!model) {
        HeapString text(vmodhost_ErrorChainText(err));
        std::printf("parse failed: %s\n", text.get());
        oerr_DeleteErrorReportEx(&err);
        return 1;
    }
    int count = 0;
    for (Vmod_Node *node = model->nodes; node != nullptr; node = node->next)
        ++count;
    Vmod_Node *first = vmod_IdToNode(model.get(), 1, nullptr);
    std::printf("parsed: %d nodes, node 1 \"%s\", next free id %d\n", count,
                first != nullptr && first->title != nullptr ? first->title : "", int(vmod_NodeNextAvail(model->nodes, nullptr)));

    model.reset(vmod_ModelParse("/nonexistent/vmod/model.vmf", &err));
    std::printf("missing file: %s, report from %s\n", model ? "parsed" : "not parsed",
                err != nullptr ? vmodhost_ErrorFunction(err) : "nobody");
    oerr_DeleteErrorReportEx(&err);
    return 0;
}
