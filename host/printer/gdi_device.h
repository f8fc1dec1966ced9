// gdi_device.h - the records behind the printer's device-context handles.
//
// A device context keeps the GDI drawing state (current position, text alignment,
// background mode, selected font and brush, clip rectangle) and the back end it draws on
// (gdi_back_end.h). Every handle that comes in
// through the C interface is looked up in a registry first, so a stale or foreign handle
// is refused rather than dereferenced.
#ifndef VMODHOST_GDI_DEVICE_H
#define VMODHOST_GDI_DEVICE_H

#include <cstdint>
#include <string>
#include <vector>

#include "gdi_back_end.h"
#include "vmodhost/ogdi.h"

struct GdiFont {
    int32_t height = 0; // < 0 character height, > 0 cell height, pixels
    int32_t width = 0, escapement = 0, orientation = 0;
    int32_t weight = 0;
    bool italic = false, underline = false, strikeOut = false;
    uint32_t charSet = 0, outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string face;
};

struct GdiRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Ogdi_Object {
    enum class Kind { Font, Region, Brush };
    Kind kind = Kind::Font;
    bool stock = false;
    int32_t stockIndex = -1;
    bool deleted = false;   // ogdi_DeleteObject came while selected: release on the last deselect
    int32_t selections = 0; // device contexts holding it selected
    std::string logName;    // "font3", "rgn1", "BLACK_BRUSH"
    GdiFont font;
    GdiRect rect;
};

struct Ogdi_DeviceContext {
    // configuration
    std::unique_ptr<GdiBackEnd> backEnd; // never null once made
    std::string outputPath;
    int32_t pixelsPerInch = 600;
    double paperWidth = 8.5, paperHeight = 11.0; // portrait sheet, inches
    int32_t orientation = 0;                     // 1: the sheet is turned

    // drawing state
    uint32_t textAlign = OGDI_TA_LEFT | OGDI_TA_TOP;
    int32_t bkMode = OGDI_OPAQUE;
    Ogdi_Object *font = nullptr;  // never null once made: starts as OGDI_DEVICE_DEFAULT_FONT
    Ogdi_Object *brush = nullptr; // starts as OGDI_WHITE_BRUSH
    bool clipped = false;
    GdiRect clip;
    Ogdi_Point position{0, 0};

    // document
    bool inDocument = false, inPage = false;
    int32_t pagesDone = 0;
    bool failed = false;
    std::string failure; // why the last document's file was not written, when known

    // Device page size in inches, as the paper lies in the printer.
    double DeviceWidthInches() const { return orientation ? paperHeight : paperWidth; }
    double DeviceHeightInches() const { return orientation ? paperWidth : paperHeight; }
};

// Registry lookups: the record, or null when the handle is not a live one.
Ogdi_DeviceContext *GdiFindDevice(Ogdi_DC dc);
Ogdi_Object *GdiFindObject(Ogdi_Obj object);
void GdiRegisterDevice(Ogdi_DeviceContext *dc);
void GdiUnregisterDevice(Ogdi_DeviceContext *dc);

// Selection bookkeeping: hold marks an object selected, release unmarks it and frees a
// deleted object that nobody holds any more.
void GdiHold(Ogdi_Object *object);
void GdiRelease(Ogdi_Object *object);
Ogdi_Object *GdiStockObject(int32_t index);

// The call log (vmodhost_printer.h).
bool GdiLogOn();
void GdiLog(const std::string &line);
std::string GdiLogText(const char *text, int32_t length); // double-quoted, escaped
std::string GdiLogObject(const Ogdi_Object *object);      // name, or NULL
int32_t GdiNextObjectNumber(Ogdi_Object::Kind kind);

#endif
