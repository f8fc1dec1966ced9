// gdi_calls.h - the printer output's own spelling of the printer device calls.
//
// The printed output is described as the Windows GDI calls a printer receives (LineTo,
// Polygon, TextOutA, POINT, TRANSPARENT); the host exports them with the ogdi_ prefix so
// that no consumer of its installed headers meets a GDI name. This header, private to the
// printer output, gives those names back as aliases of the host's calls.
#ifndef VMOD_PRINT_GDI_CALLS_H
#define VMOD_PRINT_GDI_CALLS_H

#include <cstdint>

#include "vmodhost/ogdi.h"

using HDC = Ogdi_DC;
using HGDIOBJ = Ogdi_Obj;
using HFONT = Ogdi_Font;
using HRGN = Ogdi_Region;
using HBRUSH = Ogdi_Brush;
using POINT = Ogdi_Point;
using DOCINFOA = Ogdi_DocInfo;

constexpr auto HORZRES = OGDI_HORZRES;
constexpr auto VERTRES = OGDI_VERTRES;
constexpr auto LOGPIXELSX = OGDI_LOGPIXELSX;
constexpr auto LOGPIXELSY = OGDI_LOGPIXELSY;
constexpr auto TA_LEFT = OGDI_TA_LEFT;
constexpr auto TA_TOP = OGDI_TA_TOP;
constexpr auto TA_RIGHT = OGDI_TA_RIGHT;
constexpr auto TA_CENTER = OGDI_TA_CENTER;
constexpr auto TA_BASELINE = OGDI_TA_BASELINE;
constexpr auto TRANSPARENT = OGDI_TRANSPARENT;
constexpr auto OPAQUE = OGDI_OPAQUE;
constexpr auto WHITE_BRUSH = OGDI_WHITE_BRUSH;
constexpr auto BLACK_BRUSH = OGDI_BLACK_BRUSH;
constexpr auto DEVICE_DEFAULT_FONT = OGDI_DEVICE_DEFAULT_FONT;
constexpr auto FW_NORMAL = OGDI_FW_NORMAL;
constexpr auto FW_BOLD = OGDI_FW_BOLD;
constexpr auto ANSI_CHARSET = OGDI_ANSI_CHARSET;
constexpr auto OUT_TT_PRECIS = OGDI_OUT_TT_PRECIS;
constexpr auto CLIP_DEFAULT_PRECIS = OGDI_CLIP_DEFAULT_PRECIS;
constexpr auto PROOF_QUALITY = OGDI_PROOF_QUALITY;
constexpr auto FF_ROMAN = OGDI_FF_ROMAN;
constexpr auto FF_SWISS = OGDI_FF_SWISS;
constexpr auto FF_MODERN = OGDI_FF_MODERN;
constexpr auto FF_DECORATIVE = OGDI_FF_DECORATIVE;
constexpr auto NULLREGION = OGDI_NULLREGION;
constexpr auto SIMPLEREGION = OGDI_SIMPLEREGION;

inline int32_t GetDeviceCaps(Ogdi_DC dc, int32_t index) { return ogdi_GetDeviceCaps(dc, index); }
inline uint32_t SetTextAlign(Ogdi_DC dc, uint32_t align) { return ogdi_SetTextAlign(dc, align); }
inline int32_t SetBkMode(Ogdi_DC dc, int32_t mode) { return ogdi_SetBkMode(dc, mode); }
inline Ogdi_Font CreateFontA(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                             int32_t weight, uint32_t italic, uint32_t underline, uint32_t strikeOut,
                             uint32_t charSet, uint32_t outPrecision, uint32_t clipPrecision,
                             uint32_t quality, uint32_t pitchAndFamily, const char *face) {
    return ogdi_CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                            charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face);
}
inline Ogdi_Obj SelectObject(Ogdi_DC dc, Ogdi_Obj object) { return ogdi_SelectObject(dc, object); }
inline int32_t DeleteObject(Ogdi_Obj object) { return ogdi_DeleteObject(object); }
inline Ogdi_Obj GetStockObject(int32_t index) { return ogdi_GetStockObject(index); }
inline int32_t StartDocA(Ogdi_DC dc, const Ogdi_DocInfo *info) { return ogdi_StartDocA(dc, info); }
inline int32_t StartPage(Ogdi_DC dc) { return ogdi_StartPage(dc); }
inline int32_t EndPage(Ogdi_DC dc) { return ogdi_EndPage(dc); }
inline int32_t EndDoc(Ogdi_DC dc) { return ogdi_EndDoc(dc); }
inline Ogdi_Region CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return ogdi_CreateRectRgn(left, top, right, bottom);
}
inline int32_t SelectClipRgn(Ogdi_DC dc, Ogdi_Region region) { return ogdi_SelectClipRgn(dc, region); }
inline int32_t MoveToEx(Ogdi_DC dc, int32_t x, int32_t y, Ogdi_Point *previous) {
    return ogdi_MoveToEx(dc, x, y, previous);
}
inline int32_t LineTo(Ogdi_DC dc, int32_t x, int32_t y) { return ogdi_LineTo(dc, x, y); }
inline int32_t Polyline(Ogdi_DC dc, const Ogdi_Point *points, int32_t count) {
    return ogdi_Polyline(dc, points, count);
}
inline int32_t Arc(Ogdi_DC dc, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xStart,
                   int32_t yStart, int32_t xEnd, int32_t yEnd) {
    return ogdi_Arc(dc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}
inline int32_t Polygon(Ogdi_DC dc, const Ogdi_Point *points, int32_t count) {
    return ogdi_Polygon(dc, points, count);
}
inline int32_t TextOutA(Ogdi_DC dc, int32_t x, int32_t y, const char *text, int32_t length) {
    return ogdi_TextOutA(dc, x, y, text, length);
}

#endif
