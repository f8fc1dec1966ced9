// host_test_support.h - keepers for host handles, so a failing assertion leaks nothing,
// and guards that put the host's global settings back after a test.
#ifndef VMOD_TESTS_HOST_TEST_SUPPORT_H
#define VMOD_TESTS_HOST_TEST_SUPPORT_H

#include <clocale>
#include <memory>
#include <string>
#include <vector>

#include "vmodhost/oerr.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ooml.h"
#include "vmodhost/vmodhost.h"

namespace host_test {

struct HeapDeleter {
    void operator()(void *block) const { omsc_HeapFree(block); }
};
using HeapString = std::unique_ptr<char, HeapDeleter>;

// An error-report slot released at the end of the scope.
class ErrorSlot {
public:
    ErrorSlot() = default;
    ~ErrorSlot() { oerr_DeleteErrorReportEx(&report_); }
    ErrorSlot(const ErrorSlot &) = delete;
    ErrorSlot &operator=(const ErrorSlot &) = delete;
    Oerr_ErrorReport **out() { return &report_; }
    Oerr_ErrorReport *get() const { return report_; }
    explicit operator bool() const { return report_ != nullptr; }
    void reset() { oerr_DeleteErrorReportEx(&report_); }
    std::string message() const { return report_ ? vmodhost_ErrorMessage(report_) : std::string(); }
    int chainLength() const
    {
        int n = 0;
        for (const Oerr_ErrorReport *r = report_; r; r = vmodhost_ErrorCause(r))
            ++n;
        return n;
    }

private:
    Oerr_ErrorReport *report_ = nullptr;
};

struct FrameDeleter {
    void operator()(Ooml_Frame *frame) const { vmodhost_FrameDelete(frame); }
};
struct MenuDeleter {
    void operator()(Ooml_Menu *menu) const { vmodhost_MenuDelete(menu); }
};
struct ChooserDeleter {
    void operator()(Ooml_Part *part) const { vmodhost_ChooserDelete(part); }
};
struct CanvasDeleter {
    void operator()(Ooml_Canvas *canvas) const { vmodhost_CanvasDelete(canvas); }
};
using Frame = std::unique_ptr<Ooml_Frame, FrameDeleter>;
using Menu = std::unique_ptr<Ooml_Menu, MenuDeleter>;
using Chooser = std::unique_ptr<Ooml_Part, ChooserDeleter>;
using Canvas = std::unique_ptr<Ooml_Canvas, CanvasDeleter>;

// Turns the call log on, empty, for the scope; off and empty afterwards.
class LogSession {
public:
    LogSession()
    {
        vmodhost_LogClear();
        vmodhost_LogEnable(1);
    }
    ~LogSession()
    {
        vmodhost_LogEnable(0);
        vmodhost_LogClear();
    }
    LogSession(const LogSession &) = delete;
    LogSession &operator=(const LogSession &) = delete;

    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (size_t i = 0; i < vmodhost_LogCount(); ++i)
            out.emplace_back(vmodhost_LogLine(i));
        return out;
    }
};

// Installs a chooser handler for the scope; the default (cancel) afterwards.
class HandlerScope {
public:
    HandlerScope(Vmodhost_ChooserHandler handler, void *user) { vmodhost_SetChooserHandler(handler, user); }
    ~HandlerScope() { vmodhost_SetChooserHandler(nullptr, nullptr); }
    HandlerScope(const HandlerScope &) = delete;
    HandlerScope &operator=(const HandlerScope &) = delete;
};

// Switches the process to a locale for the scope. ok() is false when the system lacks it.
class LocaleScope {
public:
    explicit LocaleScope(const char *name)
    {
        const char *current = std::setlocale(LC_ALL, nullptr);
        previous_ = current ? current : "C";
        ok_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_ALL, previous_.c_str()); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;
    bool ok() const { return ok_; }

private:
    std::string previous_;
    bool ok_ = false;
};

} // namespace host_test

#endif
