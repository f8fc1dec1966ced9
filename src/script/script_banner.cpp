// script_banner.cpp - the comment banner that opens every section and statement group.
#include "vmodhost/ofio.h"
#include "script/script_context.h"

void script_Banner(ScriptContext &context, const char *text) {
    ofio_Fprintf(context.file, "#\n");
    ofio_Fprintf(context.file, "# %s\n", text);
    ofio_Fprintf(context.file, "#\n");
}

void script_BannerTitled(ScriptContext &context, const char *format, const char *title) {
    ofio_Fprintf(context.file, "#\n");
    ofio_Fprintf(context.file, format, script_Text(title));
    ofio_Fprintf(context.file, "#\n");
}

void script_BannerTitled2(ScriptContext &context, const char *format, const char *first, const char *second) {
    ofio_Fprintf(context.file, "#\n");
    ofio_Fprintf(context.file, format, script_Text(first), script_Text(second));
    ofio_Fprintf(context.file, "#\n");
}
