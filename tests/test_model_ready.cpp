// Run readiness: the run button and menu item follow the model's completeness.
#include <gtest/gtest.h>

#include "test_model_support.h"
#include "vmodhost/vmodhost.h"

namespace {

// A model wired to a frame with a run button and to a menu.
struct EditorModel : TestModel {
    Ooml_Frame *frame = vmodhost_FrameCreate();
    Ooml_Menu *menu = vmodhost_MenuCreate();
    Ooml_Part *run = vmodhost_FrameAddPart(frame, "vmodframe:runb");
    EditorModel() {
        model.frame = frame;
        model.menu = menu;
    }
    ~EditorModel() {
        vmodhost_FrameDelete(frame);
        vmodhost_MenuDelete(menu);
    }
    int32_t buttonEnabled() const { return vmodhost_PartEnabled(run); }
    int32_t itemEnabled() const { return vmodhost_MenuItemEnabled(menu, "selprocess"); }
    // Runs the readiness check; the button and the menu item both show `ready`.
    void expectReady(int32_t ready) {
        vmod_ReadyToRun(&model);
        EXPECT_EQ(buttonEnabled(), ready);
        EXPECT_EQ(itemEnabled(), ready);
    }
};

}  // namespace

TEST(vmod_ReadyToRun, EmptyModelIsNotReady) {
    EditorModel m;
    m.expectReady(0);
}

TEST(vmod_ReadyToRun, TextOnlyModelIsReady) {
    EditorModel m;
    m.add(VMOD_TEXT, 1);
    m.expectReady(1);
}

TEST(vmod_ReadyToRun, EveryDataNodeTitledEveryOperationWithAnOutput) {
    EditorModel m;
    Vmod_Node *in = m.add(VMOD_RASTER, 1, "in");
    Vmod_Node *f = m.add(VMOD_FUNCTION, 2, "f");
    Vmod_Node *out = m.add(VMOD_RASTER, 3);
    m.arrow(in, f);
    vmod_ReadyToRun(&m.model);
    EXPECT_EQ(m.buttonEnabled(), 0);  // f has no output
    m.arrow(f, out);
    vmod_ReadyToRun(&m.model);
    EXPECT_EQ(m.buttonEnabled(), 0);  // out is untitled
    out->title = ostr_Duplicate("out");
    m.expectReady(1);
    omsc_HeapFree(f->title);
    f->title = nullptr;
    m.expectReady(0);
}

TEST(vmod_ReadyToRun, CriteriaNeedsAnOutputUnknownKindsImposeNothing) {
    EditorModel m;
    Vmod_Node *c = m.add(VMOD_CRITERIA, 1, "c");
    m.add(9, 2);
    vmod_ReadyToRun(&m.model);
    EXPECT_EQ(m.buttonEnabled(), 0);
    vmod_ChildAdd(c, 40, nullptr);  // an unresolved output still counts as a child link
    vmod_ReadyToRun(&m.model);
    EXPECT_EQ(m.buttonEnabled(), 1);
}

TEST(vmod_ReadyToRun, MissingControlsAreHarmless) {
    TestModel m;  // no frame, no menu: the host reports, the reports are dropped
    m.add(VMOD_TEXT, 1);
    vmod_ReadyToRun(&m.model);
    vmod_ReadyToRun(nullptr);
}
