// drawn_picture.h - a model drawn as `vmod render` draws it, on a Cairo canvas that is kept
// for looking at its pixels.
#ifndef VMOD_TESTS_SUPPORT_DRAWN_PICTURE_H
#define VMOD_TESTS_SUPPORT_DRAWN_PICTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit_view.h"

namespace vmodtest {

// Appends a new node of kind to the model's list; the model owns it.
inline Vmod_Node *AppendNode(Vmod_Model *model, int32_t kind, int32_t id, double x, double y, const char *title) {
    Oerr_ErrorReport *err = nullptr;
    Vmod_Node *node = vmod_NodeCreate(model, kind, &err);
    oerr_DeleteErrorReportEx(&err);
    node->id = id;
    node->x = x;
    node->y = y;
    node->title = title ? ostr_Duplicate(title) : nullptr;
    Vmod_Node **end = &model->nodes;
    while (*end) {
        node->prev = *end;
        end = &(*end)->next;
    }
    *end = node;
    return node;
}

struct DrawnPicture {
    Vmod_Model model{};
    Ooml_Canvas *canvas = nullptr;
    Vmodkit_View view{};
    struct {
        int32_t width, height;
    } size{};

    DrawnPicture() = default;
    // Reads the model at path and draws it.
    explicit DrawnPicture(const std::string &path) {
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(&model, path.c_str(), &err);
        EXPECT_EQ(err, nullptr) << path;
        oerr_DeleteErrorReportEx(&err);
        Draw();
    }
    DrawnPicture(const DrawnPicture &) = delete;
    DrawnPicture &operator=(const DrawnPicture &) = delete;
    ~DrawnPicture() {
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelDelete(&model, &err);
        oerr_DeleteErrorReportEx(&err);
        vmodhost_CanvasDelete(canvas);
    }

    // Sizes a canvas for the model as it stands and draws the model on it with the nodes
    // of selection highlighted.
    void Draw(const std::vector<Vmod_Node *> &selection = {}) {
        Oerr_ErrorReport *err = nullptr;
        vmodkit_ViewDefault(&view);
        EXPECT_TRUE(vmodkit_PictureFrame(&model, &view, &size.width, &size.height, &err));
        EXPECT_EQ(err, nullptr);
        canvas = vmodhost_CairoCanvasCreate(size.width, size.height, view.background);
        EXPECT_TRUE(vmodkit_DrawModel(&model, canvas, &view, selection.data(), selection.size(), &err));
        oerr_DeleteErrorReportEx(&err);
    }

    uint32_t At(int32_t x, int32_t y) const { return vmodhost_CairoCanvasPixel(canvas, x, y); }
    // The pixels of the rectangle (x0, y0)..(x1, y1) that are not the background.
    int Ink(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
        int n = 0;
        for (int32_t y = y0; y <= y1; ++y)
            for (int32_t x = x0; x <= x1; ++x) n += At(x, y) != view.background;
        return n;
    }
};

} // namespace vmodtest

#endif
