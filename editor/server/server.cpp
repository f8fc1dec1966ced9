// server.cpp - see server.h. cpp-httplib serves on a pool of threads; every handler that
// touches the session holds the session's lock while it does (a picture waiting on an
// edit's ticket lets go of it while it waits).
#include "server.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fstream>
#include <mutex>
#include <thread>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "assets.h"
#include "outputs.h"
#include "session.h"

namespace {

using Json = nlohmann::json;

// Request bodies larger than this are refused (413): a model's edit is far smaller.
constexpr size_t kMaxBody = 4 * 1024 * 1024;

// The types carry their charset, which also keeps the HTTP library from compressing them:
// it compresses only the bare "application/json" and "image/svg+xml", and on the loopback
// compression costs far more than it saves (brotli took half a second on a 500-node state).
constexpr const char *kJsonType = "application/json; charset=utf-8";
constexpr const char *kSvgType = "image/svg+xml; charset=utf-8";

// An edit may carry a ticket (api/edit?ticket=T) and a picture may wait for it
// (api/picture.png?after=T), so that the page asks for both at once and the picture is
// drawn the moment the edit is done. A picture whose edit never arrives is drawn after
// kTicketWait; past kMaxWaiting pictures waiting at once, the next one does not wait.
constexpr size_t kTicketsKept = 64;
constexpr auto kTicketWait = std::chrono::seconds(2);
constexpr int kMaxWaiting = 4;

} // namespace

struct EditorServer {
    EditorSession session;
    std::mutex lock;
    std::condition_variable editDone;    // with lock: a ticket joined finishedTickets
    std::deque<std::string> finishedTickets; // the latest edits' tickets, newest last
    int waitingPictures = 0;
    httplib::Server http;
    std::string token;
    int port = 0;
    std::thread stopper; // a quit request stops the server from outside the handler
};

namespace {

std::string randomToken() {
    unsigned char bytes[16] = {};
    std::ifstream random("/dev/urandom", std::ios::binary);
    random.read(reinterpret_cast<char *>(bytes), sizeof bytes);
    if (!random) return "";
    static const char digits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char b : bytes) {
        token += digits[b >> 4];
        token += digits[b & 15];
    }
    return token;
}

void sendJson(httplib::Response &res, int status, const Json &body) {
    res.status = status;
    res.set_content(body.dump(-1, ' ', false, Json::error_handler_t::replace), kJsonType);
}

// Written by hand so that "ok" comes first, as the interface shows it.
void sendError(httplib::Response &res, int status, const std::string &why) {
    res.status = status;
    res.set_content("{\"ok\":false,\"error\":" + Json(why).dump(-1, ' ', false, Json::error_handler_t::replace) + "}",
                    kJsonType);
}

void sendResult(httplib::Response &res, const EditorResult &result) { sendJson(res, result.status, result.body); }

// The JSON body of a request, or null with a 400 already answered.
bool parseBody(const httplib::Request &req, httplib::Response &res, Json &body) {
    body = Json::parse(req.body, nullptr, false);
    if (body.is_discarded()) {
        sendError(res, 400, "the request's body is not JSON");
        return false;
    }
    if (!body.is_object()) {
        sendError(res, 400, "the request's body is not a JSON object");
        return false;
    }
    return true;
}

// Only the page this server gave out may talk to it: the Host names the bound address
// (no other name can be made to point here), and a browser's Origin, when sent, is ours.
bool allowedRequest(const EditorServer &server, const httplib::Request &req) {
    const std::string port = std::to_string(server.port);
    const std::string host = req.get_header_value("Host");
    if (host != "127.0.0.1:" + port && host != "localhost:" + port) return false;
    if (req.has_header("Origin")) {
        const std::string origin = req.get_header_value("Origin");
        if (origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port) return false;
    }
    const std::string prefix = "/t/" + server.token + "/";
    return req.path.compare(0, prefix.size(), prefix) == 0;
}

void sendAsset(httplib::Response &res, const std::string &name) {
    const EditorAsset *asset = editor_FindAsset(name.c_str());
    if (asset == nullptr) return sendError(res, 404, "no such file");
    res.set_content(reinterpret_cast<const char *>(asset->data), asset->size, asset->contentType);
}

// "1.5" within [min, max]; false for anything else (no hex, inf or nan).
bool parseNumber(const std::string &text, double min, double max, double &value) {
    if (text.empty() || text.find_first_of("xXnN") != std::string::npos) return false;
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(v >= min && v <= max)) return false;
    value = v;
    return true;
}

bool parseIds(const std::string &text, std::vector<int32_t> &ids) {
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        double id = 0;
        const std::string part = text.substr(start, comma - start);
        if (part.find('.') != std::string::npos || !parseNumber(part, INT32_MIN, INT32_MAX, id)) return false;
        ids.push_back(static_cast<int32_t>(id));
        start = comma + 1;
    }
    return true;
}

void sendOutput(httplib::Response &res, const EditorOutput &out, const char *type, const std::string &download) {
    if (!out.ok) return sendError(res, out.status, out.error);
    if (!download.empty()) res.set_header("Content-Disposition", "attachment; filename=\"" + download + "\"");
    res.set_content(out.bytes, type);
}

// The picture's zoom and pixels per inch from the query; false with a 400 answered.
bool pictureQuery(const httplib::Request &req, httplib::Response &res, double &zoom, double &ppi) {
    zoom = 1;
    ppi = 96;
    if (req.has_param("zoom") && !parseNumber(req.get_param_value("zoom"), 0.01, 100, zoom))
        return sendError(res, 400, "zoom is a number from 0.01 to 100"), false;
    if (req.has_param("ppi") && (!parseNumber(req.get_param_value("ppi"), 1, 2400, ppi) || ppi != int32_t(ppi)))
        return sendError(res, 400, "ppi is a whole number from 1 to 2400"), false;
    return true;
}

// A ticket is 1 to 64 letters, digits, '-' and '_'.
bool validTicket(const std::string &ticket) {
    return !ticket.empty() && ticket.size() <= 64 && std::all_of(ticket.begin(), ticket.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
           });
}

// The ticket of a query parameter: false with a 400 answered when it is there and malformed.
bool ticketQuery(const httplib::Request &req, httplib::Response &res, const char *name, std::string &ticket) {
    ticket = req.get_param_value(name);
    if (!req.has_param(name) || validTicket(ticket)) return true;
    sendError(res, 400, std::string(name) + " is 1 to 64 letters, digits, '-' or '_'");
    return false;
}

// A download's name keeps to letters, digits, '.', '-' and '_'.
std::string safeName(const std::string &name) {
    std::string out;
    for (char c : name)
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.') ? c : '_';
    return out.empty() ? "model" : out;
}

void routes(EditorServer &server) {
    httplib::Server &http = server.http;
    const std::string base = "/t/" + server.token + "/";
    http.set_payload_max_length(kMaxBody);
    // An answer goes out at once, not held back to fill a packet.
    http.set_tcp_nodelay(true);
    http.set_pre_routing_handler([&server](const httplib::Request &req, httplib::Response &res) {
        // The token is in every URL: never hand it on to another site.
        res.set_header("Referrer-Policy", "no-referrer");
        res.set_header("X-Content-Type-Options", "nosniff");
        res.set_header("Cache-Control", "no-store");
        if (allowedRequest(server, req)) return httplib::Server::HandlerResponse::Unhandled;
        sendError(res, 403, "forbidden");
        return httplib::Server::HandlerResponse::Handled;
    });
    http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request &, httplib::Response &res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        const char *why = res.status == 413 ? "the request is too large" : res.status == 404 ? "no such thing" : "bad request";
        sendError(res, res.status, why);
        return httplib::Server::HandlerResponse::Handled;
    }));

    http.Get(base, [](const httplib::Request &, httplib::Response &res) { sendAsset(res, "index.html"); });
    http.Get(base + "static/([A-Za-z0-9_.-]+)",
             [](const httplib::Request &req, httplib::Response &res) { sendAsset(res, req.matches[1]); });
    http.Get(base + "api/state", [&server](const httplib::Request &, httplib::Response &res) {
        std::lock_guard<std::mutex> hold(server.lock);
        sendJson(res, 200, {{"ok", true}, {"state", editor_State(server.session)}});
    });
    auto post = [&](const std::string &path, EditorResult (*act)(EditorSession &, const Json &)) {
        http.Post(base + path, [&server, act](const httplib::Request &req, httplib::Response &res) {
            Json body;
            if (!parseBody(req, res, body)) return;
            std::lock_guard<std::mutex> hold(server.lock);
            sendResult(res, act(server.session, body));
        });
    };
    http.Post(base + "api/edit", [&server](const httplib::Request &req, httplib::Response &res) {
        std::string ticket;
        if (!ticketQuery(req, res, "ticket", ticket)) return;
        Json body;
        const bool parsed = parseBody(req, res, body);
        EditorResult result;
        {
            std::lock_guard<std::mutex> hold(server.lock);
            if (parsed) result = editor_Edit(server.session, body);
            // However the edit ended, a picture waiting on its ticket goes on.
            if (!ticket.empty()) {
                server.finishedTickets.push_back(ticket);
                if (server.finishedTickets.size() > kTicketsKept) server.finishedTickets.pop_front();
            }
        }
        if (!ticket.empty()) server.editDone.notify_all();
        if (parsed) sendResult(res, result);
    });
    post("api/save", editor_Save);
    post("api/saveas", editor_SaveAs);
    post("api/recovery", editor_Recovery);
    http.Get(base + "api/recovery", [&server](const httplib::Request &, httplib::Response &res) {
        std::lock_guard<std::mutex> hold(server.lock);
        sendJson(res, 200, editor_RecoveryOffer(server.session));
    });
    http.Get(base + "api/picture.png", [&server](const httplib::Request &req, httplib::Response &res) {
        double zoom, ppi;
        std::vector<int32_t> select;
        if (!pictureQuery(req, res, zoom, ppi)) return;
        const std::string ids = req.get_param_value("select");
        if (!ids.empty() && !parseIds(ids, select))
            return sendError(res, 400, "select takes node identifiers separated by commas");
        EditorClip clip;
        std::vector<int32_t> rectangle;
        const bool clipped = req.has_param("clip");
        if (clipped) {
            if (!parseIds(req.get_param_value("clip"), rectangle) || rectangle.size() != 4 || rectangle[2] <= 0 ||
                rectangle[3] <= 0)
                return sendError(res, 400, "clip is x,y,width,height in whole pixels, width and height above 0");
            clip = {rectangle[0], rectangle[1], rectangle[2], rectangle[3]};
        }
        std::string after;
        if (!ticketQuery(req, res, "after", after)) return;
        std::unique_lock<std::mutex> hold(server.lock);
        if (!after.empty() && server.waitingPictures < kMaxWaiting) {
            ++server.waitingPictures;
            server.editDone.wait_for(hold, kTicketWait, [&] {
                const auto &done = server.finishedTickets;
                return std::find(done.begin(), done.end(), after) != done.end();
            });
            --server.waitingPictures;
        }
        EditorOutput out =
            editor_Picture(server.session.current.model, zoom, int32_t(ppi), select, clipped ? &clip : nullptr);
        if (out.ok) {
            res.set_header("X-Vmod-Frame", out.frame);
            res.set_header("X-Vmod-Clip", out.clip);
            res.set_header("X-Vmod-Revision", std::to_string(server.session.revision));
        }
        sendOutput(res, out, "image/png", "");
    });
    http.Get(base + "api/problems", [&server](const httplib::Request &, httplib::Response &res) {
        std::lock_guard<std::mutex> hold(server.lock);
        sendOutput(res, editor_Problems(server.session.current.model), kJsonType, "");
    });
    http.Post(base + "api/script", [&server](const httplib::Request &req, httplib::Response &res) {
        Json body;
        if (!parseBody(req, res, body)) return;
        std::vector<std::string> answers;
        if (body.contains("answers")) {
            if (!body["answers"].is_array()) return sendError(res, 400, "\"answers\" is not a list");
            for (const Json &answer : body["answers"]) {
                if (!answer.is_string()) return sendError(res, 400, "an answer is not a text");
                answers.push_back(answer.get<std::string>());
            }
        }
        std::lock_guard<std::mutex> hold(server.lock);
        sendJson(res, 200, editor_Script(server.session.current.model, answers));
    });
    http.Get(base + "api/export/([^/]+)\\.(png|eps|svg|pdf)", [&server](const httplib::Request &req,
                                                                          httplib::Response &res) {
        const std::string name = safeName(req.matches[1]), kind = req.matches[2];
        const std::string download = name + "." + kind;
        if (kind == "png") {
            double zoom, ppi;
            if (!pictureQuery(req, res, zoom, ppi)) return;
            std::lock_guard<std::mutex> hold(server.lock);
            return sendOutput(res, editor_Picture(server.session.current.model, zoom, int32_t(ppi), {}), "image/png",
                              download);
        }
        std::lock_guard<std::mutex> hold(server.lock);
        const Vmod_Model *model = server.session.current.model;
        if (kind == "eps") return sendOutput(res, editor_ExportEps(model), "application/postscript", download);
        if (kind == "svg") return sendOutput(res, editor_ExportSvg(model), kSvgType, download);
        sendOutput(res, editor_ExportPdf(model, req.get_param_value("pages")), "application/pdf", download);
    });
    http.Post(base + "api/quit", [&server](const httplib::Request &req, httplib::Response &res) {
        Json body;
        if (!parseBody(req, res, body)) return;
        if (body.contains("discard") && !body["discard"].is_boolean())
            return sendError(res, 400, "\"discard\" is not true or false");
        const bool discard = body.value("discard", false);
        std::lock_guard<std::mutex> hold(server.lock);
        if (editor_SessionDirty(server.session) && !discard) {
            Json answer = {{"ok", false}, {"unsaved", true}, {"error", "the model has unsaved changes"}};
            return sendJson(res, 409, answer);
        }
        // Changes the user chose to drop need no recovery copy.
        if (discard) std::remove(editor_RecoveryPath(server.session).c_str());
        sendJson(res, 200, {{"ok", true}});
        if (!server.stopper.joinable()) server.stopper = std::thread([&server] { server.http.stop(); });
    });
}

} // namespace

EditorServer *editor_ServerCreate(const std::string &modelPath, int port, std::string &why) {
    auto server = std::make_unique<EditorServer>();
    server->token = randomToken();
    if (server->token.empty()) return why = "cannot read /dev/urandom", nullptr;
    if (!editor_SessionOpen(server->session, modelPath, why)) return nullptr;
    if (port == 0) {
        server->port = server->http.bind_to_any_port("127.0.0.1");
    } else if (server->http.bind_to_port("127.0.0.1", port)) {
        server->port = port;
    } else {
        server->port = -1;
    }
    if (server->port <= 0) {
        why = "cannot listen on 127.0.0.1" + (port ? ":" + std::to_string(port) : std::string());
        editor_SessionClose(server->session);
        return nullptr;
    }
    routes(*server);
    return server.release();
}

std::string editor_ServerUrl(const EditorServer *server) {
    return "http://127.0.0.1:" + std::to_string(server->port) + "/t/" + server->token + "/";
}

int editor_ServerPort(const EditorServer *server) { return server->port; }

const std::string &editor_ServerToken(const EditorServer *server) { return server->token; }

bool editor_ServerRun(EditorServer *server) { return server->http.listen_after_bind(); }

void editor_ServerStop(EditorServer *server) { server->http.stop(); }

bool editor_ServerDirty(EditorServer *server) {
    std::lock_guard<std::mutex> hold(server->lock);
    return editor_SessionDirty(server->session);
}

std::string editor_ServerRecoveryPath(EditorServer *server) {
    std::lock_guard<std::mutex> hold(server->lock);
    return editor_RecoveryPath(server->session);
}

void editor_ServerFree(EditorServer *server) {
    if (server == nullptr) return;
    if (server->stopper.joinable()) server->stopper.join();
    editor_SessionClose(server->session);
    delete server;
}
