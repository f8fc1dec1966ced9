// script_words.cpp - value-type words, one table per use.
#include "script/script_words.h"

#include "vmod/vmod_records.h"

const char *script_ClassWord(int32_t dataType) {
    switch (dataType) {
    case VMOD_BINARY:
        return "BINARY";
    case VMOD_UNSIGNED2:
    case VMOD_UNSIGNED4:
    case VMOD_UNSIGNED8:
    case VMOD_SIGNED8:
    case VMOD_UNSIGNED16:
    case VMOD_SIGNED16:
    case VMOD_UNSIGNED32:
    case VMOD_SIGNED32:
        return "INTEGER";
    case VMOD_FLOAT:
    case VMOD_DOUBLE:
        return "FLOAT";
    case VMOD_COMPLEX:
    case VMOD_DOUBLECOMPLEX:
        return "COMPLEX";
    default:
        return "";
    }
}

const char *script_RasterTypePhrase(int32_t dataType) {
    static const char *const phrases[] = {
        " 1 BIT UNSIGNED INTEGER",  " 2 BIT UNSIGNED INTEGER",  " 4 BIT UNSIGNED INTEGER",
        " 8 BIT UNSIGNED INTEGER",  " 8 BIT SIGNED INTEGER",    " 16 BIT UNSIGNED INTEGER",
        " 16 BIT SIGNED INTEGER",   " 32 BIT UNSIGNED INTEGER", " 32 BIT SIGNED INTEGER",
        " FLOAT SINGLE",            " FLOAT DOUBLE",            " COMPLEX SINGLE",
        " COMPLEX DOUBLE",
    };
    if (dataType < 0 || dataType >= static_cast<int32_t>(sizeof phrases / sizeof phrases[0])) {
        return "";
    }
    return phrases[dataType];
}

const char *script_TableValueWord(int32_t tableDataType) {
    switch (tableDataType) {
    case VMOD_TABLE_BINARY:
        return "BINARY";
    case VMOD_TABLE_SIGNED32:
        return "INTEGER";
    case VMOD_TABLE_DOUBLE:
        return "FLOAT";
    case VMOD_TABLE_STRING:
        return "STRING";
    case VMOD_TABLE_COLOR:
        return "COLOR";
    default:
        return "";
    }
}
