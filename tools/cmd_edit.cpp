// cmd_edit.cpp - `vmod edit MODEL [--port N] [--no-browser]`: serves the model editor on
// 127.0.0.1 until the page quits it or the user stops it (Ctrl+C).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"

#ifdef VMOD_HAVE_EDITOR
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <ctime>
#include <thread>

#include "server.h"
#include "vmodhost/vmodhost.h"

extern char **environ;

namespace {

// Opens url with the desktop's opener, without waiting for the browser.
void openBrowser(const std::string &url) {
    const char *argv[] = {"xdg-open", url.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char **>(argv), environ) != 0) {
        std::fprintf(stderr, "vmod edit: cannot start xdg-open; open the address above in a browser\n");
        return;
    }
    // xdg-open hands the address on and ends; reap it without holding up the server.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

bool hasDesktop() {
    const char *x = std::getenv("DISPLAY"), *wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

int runEdit(const ToolCommand &self, const std::vector<std::string> &args) {
    std::string model;
    long port = 0;
    bool browser = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--no-browser") {
            browser = false;
        } else if (arg == "--port" || arg.rfind("--port=", 0) == 0) {
            std::string value;
            if (arg == "--port") {
                if (i + 1 >= args.size()) return tool_UsageError(self, "--port needs a value");
                value = args[++i];
            } else {
                value = arg.substr(7);
            }
            char *end = nullptr;
            port = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || port < 0 || port > 65535)
                return tool_UsageError(self, "--port takes a number from 0 to 65535, not '" + value + "'");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return tool_UsageError(self, "unknown option '" + arg + "'");
        } else if (model.empty()) {
            model = arg;
        } else {
            return tool_UsageError(self, "too many arguments");
        }
    }
    if (model.empty()) return tool_UsageError(self, "missing argument");

    // Ctrl+C and SIGTERM are taken by a thread of their own, so that the server's threads
    // never see them and the model is closed in order.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // The editor answers every failure to the page; the library need not print it too.
    vmodhost_SetErrorSink(vmodhost_IgnoreErrorText, nullptr);
    std::string why;
    EditorServer *server = editor_ServerCreate(model, static_cast<int>(port), why);
    if (server == nullptr) {
        std::fprintf(stderr, "vmod edit: %s\n", why.c_str());
        return TOOL_FAILED;
    }
    const std::string url = editor_ServerUrl(server);
    std::printf("vmod edit: %s\n", url.c_str());
    std::fflush(stdout);
    if (browser && hasDesktop()) openBrowser(url);

    std::atomic<bool> done{false};
    std::thread signals([&] {
        const timespec wait = {0, 200 * 1000 * 1000};
        while (!done) {
            if (sigtimedwait(&stopSignals, nullptr, &wait) > 0) {
                editor_ServerStop(server);
                return;
            }
        }
    });
    const bool served = editor_ServerRun(server);
    done = true;
    signals.join();
    int status = served ? TOOL_OK : TOOL_FAILED;
    if (!served) std::fprintf(stderr, "vmod edit: the server stopped with an error\n");
    if (editor_ServerDirty(server))
        std::fprintf(stderr, "vmod edit: the model has unsaved changes; they are kept in %s\n",
                     editor_ServerRecoveryPath(server).c_str());
    editor_ServerFree(server);
    return status;
}

} // namespace

#else

namespace {

int runEdit(const ToolCommand &, const std::vector<std::string> &) {
    std::fprintf(stderr, "vmod edit: this vmod was built without the editor\n");
    return TOOL_FAILED;
}

} // namespace

#endif

extern const ToolCommand tool_command_edit = {
    "edit", "MODEL [--port N] [--no-browser]", "edit MODEL in the browser (a new model when the file does not exist)",
    "Serves the editor on 127.0.0.1 and prints its address, which holds a random token that\n"
    "every request must carry; opens it with xdg-open when there is a desktop, unless\n"
    "--no-browser. --port N listens on port N (default 0: a free port). Ctrl+C or quitting\n"
    "from the page stops it; unsaved changes stay in MODEL.recovery, offered at the next\n"
    "start.\n",
    runEdit};
