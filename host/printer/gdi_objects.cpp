// gdi_objects.cpp - fonts, regions and stock brushes of the printer, and the registry
// that validates every device-context and object handle.
#include <string>
#include <unordered_set>

#include "gdi_device.h"

namespace {

std::unordered_set<const void *> &LiveDevices() {
    static std::unordered_set<const void *> devices;
    return devices;
}

std::unordered_set<const void *> &LiveObjects() {
    static std::unordered_set<const void *> objects;
    return objects;
}

Ogdi_Object *MakeStock(Ogdi_Object::Kind kind, int32_t index, const char *name) {
    auto *object = new Ogdi_Object;
    object->kind = kind;
    object->stock = true;
    object->stockIndex = index;
    object->logName = name;
    if (kind == Ogdi_Object::Kind::Font) {
        // The device's own font: 12 points of the fixed-pitch face.
        object->font.height = 0;
        object->font.weight = OGDI_FW_NORMAL;
        object->font.pitchAndFamily = OGDI_FF_MODERN;
        object->font.face = "Courier New";
    }
    LiveObjects().insert(object);
    return object;
}

std::string Num(int64_t value) { return std::to_string(value); }

} // namespace

Ogdi_DeviceContext *GdiFindDevice(Ogdi_DC dc) { return LiveDevices().count(dc) ? dc : nullptr; }
Ogdi_Object *GdiFindObject(Ogdi_Obj object) { return LiveObjects().count(object) ? object : nullptr; }
void GdiRegisterDevice(Ogdi_DeviceContext *dc) { LiveDevices().insert(dc); }
void GdiUnregisterDevice(Ogdi_DeviceContext *dc) { LiveDevices().erase(dc); }

Ogdi_Object *GdiStockObject(int32_t index) {
    // Stock objects live as long as the process, like the system's own.
    static Ogdi_Object *white = MakeStock(Ogdi_Object::Kind::Brush, OGDI_WHITE_BRUSH, "WHITE_BRUSH");
    static Ogdi_Object *black = MakeStock(Ogdi_Object::Kind::Brush, OGDI_BLACK_BRUSH, "BLACK_BRUSH");
    static Ogdi_Object *font = MakeStock(Ogdi_Object::Kind::Font, OGDI_DEVICE_DEFAULT_FONT, "DEVICE_DEFAULT_FONT");
    switch (index) {
    case OGDI_WHITE_BRUSH: return white;
    case OGDI_BLACK_BRUSH: return black;
    case OGDI_DEVICE_DEFAULT_FONT: return font;
    default: return nullptr;
    }
}

void GdiHold(Ogdi_Object *object) {
    if (object) ++object->selections;
}

void GdiRelease(Ogdi_Object *object) {
    if (!object) return;
    if (object->selections > 0) --object->selections;
    if (object->deleted && object->selections == 0 && !object->stock) {
        LiveObjects().erase(object);
        delete object;
    }
}

extern "C" {

Ogdi_Font ogdi_CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                           int32_t weight, uint32_t italic, uint32_t underline, uint32_t strikeOut,
                           uint32_t charSet, uint32_t outPrecision, uint32_t clipPrecision, uint32_t quality,
                           uint32_t pitchAndFamily, const char *face) {
    auto *font = new Ogdi_Object;
    font->kind = Ogdi_Object::Kind::Font;
    GdiFont &f = font->font;
    f.height = height;
    f.width = width;
    f.escapement = escapement;
    f.orientation = orientation;
    f.weight = weight;
    f.italic = italic != 0;
    f.underline = underline != 0;
    f.strikeOut = strikeOut != 0;
    f.charSet = charSet;
    f.outPrecision = outPrecision;
    f.clipPrecision = clipPrecision;
    f.quality = quality;
    f.pitchAndFamily = pitchAndFamily;
    f.face = face ? face : "";
    font->logName = "font" + Num(GdiNextObjectNumber(Ogdi_Object::Kind::Font));
    LiveObjects().insert(font);
    if (GdiLogOn()) {
        GdiLog("CreateFontA(" + Num(height) + ", " + Num(width) + ", " + Num(escapement) + ", " + Num(orientation) +
               ", " + Num(weight) + ", " + Num(italic) + ", " + Num(underline) + ", " + Num(strikeOut) + ", " +
               Num(charSet) + ", " + Num(outPrecision) + ", " + Num(clipPrecision) + ", " + Num(quality) + ", " +
               Num(pitchAndFamily) + ", " + GdiLogText(face, face ? static_cast<int32_t>(f.face.size()) : 0) +
               ") = " + font->logName);
    }
    return font;
}

Ogdi_Region ogdi_CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    auto *region = new Ogdi_Object;
    region->kind = Ogdi_Object::Kind::Region;
    region->rect = GdiRect{left, top, right, bottom};
    region->logName = "rgn" + Num(GdiNextObjectNumber(Ogdi_Object::Kind::Region));
    LiveObjects().insert(region);
    GdiLog("CreateRectRgn(" + Num(left) + ", " + Num(top) + ", " + Num(right) + ", " + Num(bottom) +
           ") = " + region->logName);
    return region;
}

Ogdi_Obj ogdi_GetStockObject(int32_t index) { return GdiStockObject(index); }

int32_t ogdi_DeleteObject(Ogdi_Obj handle) {
    Ogdi_Object *object = GdiFindObject(handle);
    if (!object || object->deleted) return 0;
    GdiLog("DeleteObject(" + object->logName + ")");
    if (object->stock) return 1;
    object->deleted = true;
    if (object->selections == 0) {
        LiveObjects().erase(object);
        delete object;
    }
    return 1;
}

Ogdi_Obj ogdi_SelectObject(Ogdi_DC handle, Ogdi_Obj objectHandle) {
    Ogdi_DeviceContext *dc = GdiFindDevice(handle);
    Ogdi_Object *object = GdiFindObject(objectHandle);
    if (!dc || !object || object->deleted) return nullptr;
    GdiLog("SelectObject(" + object->logName + ")");
    switch (object->kind) {
    case Ogdi_Object::Kind::Region:
        // Selecting a region clips to it; the result is the region's kind.
        return reinterpret_cast<Ogdi_Obj>(static_cast<intptr_t>(ogdi_SelectClipRgn(handle, object)));
    case Ogdi_Object::Kind::Font:
    case Ogdi_Object::Kind::Brush: {
        Ogdi_Object *&slot = object->kind == Ogdi_Object::Kind::Font ? dc->font : dc->brush;
        Ogdi_Object *previous = slot;
        GdiHold(object);
        slot = object;
        GdiRelease(previous);
        return previous;
    }
    }
    return nullptr;
}

} // extern "C"
