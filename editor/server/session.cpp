// session.cpp - see session.h. Every operation works on a copy of the model and the copy
// becomes the current version only when the whole operation succeeded, so a refused or
// invalid request leaves the model as it was; the version it replaces is the undo step.
#include "session.h"

#include <sys/stat.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "node_fields.h"
#include "vmod/vmod.h"
#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "vmodhost/vmodhost.h"
#include "vmodkit/vmodkit.h"

namespace {

using Json = nlohmann::json;

// A position no output can draw is refused: the outputs hold coordinates within 10000
// inches of the page origin.
constexpr double kMaxInches = 10000;

const char *const kKindNames[] = {"raster", "vector", "matrix", "table", "scalar", "function", "criteria", "text"};
const int32_t kKinds[] = {VMOD_RASTER, VMOD_VECTOR, VMOD_MATRIX, VMOD_TABLE,
                          VMOD_SCALAR, VMOD_FUNCTION, VMOD_CRITERIA, VMOD_TEXT};

struct ModelFree {
    void operator()(Vmod_Model *model) const { vmodkit_ModelFree(model); }
};
using ModelPtr = std::unique_ptr<Vmod_Model, ModelFree>;

// A request the interface cannot carry out as asked: 400, or the status given.
struct Refusal {
    int status;
    std::string why;
};
[[noreturn]] void refuse(const std::string &why, int status = 400) { throw Refusal{status, why}; }

// The report's first message, released.
std::string takeMessage(Oerr_ErrorReport **err, const char *fallback) {
    const char *message = *err != nullptr ? vmodhost_ErrorMessage(*err) : nullptr;
    std::string text = message != nullptr && *message ? message : fallback;
    oerr_DeleteErrorReportEx(err);
    return text;
}

const char *kindName(int32_t type) {
    for (size_t i = 0; i < 8; ++i)
        if (kKinds[i] == type) return kKindNames[i];
    return "unknown";
}

const Json &member(const Json &object, const char *name) {
    auto found = object.find(name);
    if (found == object.end()) refuse(std::string("the request has no \"") + name + "\"");
    return *found;
}

double coordinate(const Json &object, const char *name) {
    const Json &value = member(object, name);
    if (!value.is_number()) refuse(std::string("\"") + name + "\" is not a number");
    double v = value.get<double>();
    if (!std::isfinite(v) || std::fabs(v) > kMaxInches)
        refuse(std::string("\"") + name + "\" is not a position within 10000 inches of the page's corner");
    return v;
}

int32_t identifier(const Json &value) {
    if (!value.is_number_integer()) refuse("a node identifier is not a whole number");
    int64_t v = value.get<int64_t>();
    if (v < INT32_MIN || v > INT32_MAX) refuse("a node identifier is out of range");
    return static_cast<int32_t>(v);
}

Vmod_Node *nodeById(Vmod_Model *model, int32_t id) {
    for (Vmod_Node *node = model->nodes; node; node = node->next)
        if (node->id == id) return node;
    refuse("there is no node " + std::to_string(id));
}

// The distinct nodes a list of identifiers names, in the list's order.
std::vector<Vmod_Node *> nodesByIds(Vmod_Model *model, const Json &ids) {
    if (!ids.is_array()) refuse("\"ids\" is not a list");
    std::vector<Vmod_Node *> nodes;
    std::set<Vmod_Node *> seen;
    for (const Json &id : ids) {
        Vmod_Node *node = nodeById(model, identifier(id));
        if (seen.insert(node).second) nodes.push_back(node);
    }
    return nodes;
}

uint64_t fnv1a(const std::string &bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

bool readFile(const std::string &path, std::string &text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    text = buffer.str();
    return true;
}

std::string isoTime(int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

void freeVersions(std::vector<EditorVersion> &versions) {
    for (EditorVersion &version : versions) vmodkit_ModelFree(version.model);
    versions.clear();
}

// Keeps the recovery copy in step with the model: the unsaved model, or none when
// everything is saved. A copy that cannot be written is no reason to refuse the edit.
void updateRecovery(EditorSession &session) {
    const std::string path = editor_RecoveryPath(session);
    if (!editor_SessionDirty(session)) {
        std::remove(path.c_str());
        return;
    }
    // The library's writer saves straight to the recovery path, the safe way: one file
    // written and synced per change, not a scratch copy as well.
    Vmod_Model named = *session.current.model;
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    named.fileName = name.data();
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(&named, &err);
    takeMessage(&err, "");
}

// The copy becomes the current version; the one it replaces is the undo step.
void commit(EditorSession &session, ModelPtr copy) {
    session.undo.push_back(session.current);
    session.current = {copy.release(), session.nextSerial++};
    freeVersions(session.redo);
    ++session.revision;
    updateRecovery(session);
}

void clearSelection(Vmod_Model *model) {
    for (Vmod_Node *node = model->nodes; node; node = node->next) node->selected = 0;
}

ModelPtr copyOf(const Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    ModelPtr copy(vmodkit_ModelCopy(model, &err));
    if (!copy) refuse(takeMessage(&err, "memory is exhausted"), 500);
    return copy;
}

// ---- the operations, each on the working copy ----

Json opAdd(Vmod_Model *model, const Json &request) {
    const Json &kind = member(request, "kind");
    if (!kind.is_string()) refuse("\"kind\" is not a text");
    int32_t type = -1;
    for (size_t i = 0; i < 8; ++i)
        if (kind.get<std::string>() == kKindNames[i]) type = kKinds[i];
    if (type < 0) refuse("there is no kind of node \"" + kind.get<std::string>() + "\"");
    double x = coordinate(request, "x"), y = coordinate(request, "y");
    Oerr_ErrorReport *err = nullptr;
    Vmod_Node *node = vmodkit_NodeAdd(model, type, x, y, nullptr, &err);
    if (node == nullptr) refuse(takeMessage(&err, "the node cannot be added"), 409);
    return {{"added", node->id}};
}

Json opMove(Vmod_Model *model, const Json &request) {
    const Json &moves = member(request, "moves");
    if (!moves.is_array()) refuse("\"moves\" is not a list");
    for (const Json &move : moves) {
        if (!move.is_object()) refuse("a move is not an object");
        Vmod_Node *node = nodeById(model, identifier(member(move, "id")));
        node->x = coordinate(move, "x");
        node->y = coordinate(move, "y");
    }
    return Json::object();
}

Json opDelete(Vmod_Model *model, const Json &request) {
    std::vector<Vmod_Node *> nodes = nodesByIds(model, member(request, "ids"));
    clearSelection(model);
    for (Vmod_Node *node : nodes) node->selected = 1;
    Oerr_ErrorReport *err = nullptr;
    model->nodes = vmod_NodesSelDel(model->nodes, &err);
    oerr_DeleteErrorReportEx(&err);
    clearSelection(model);
    return Json::object();
}

Json opDuplicate(Vmod_Model *model, const Json &request) {
    std::vector<Vmod_Node *> originals = nodesByIds(model, member(request, "ids"));
    Vmod_Node *last = model->nodes;
    while (last && last->next) last = last->next;
    std::map<Vmod_Node *, Vmod_Node *> copies;
    Json added = Json::array();
    Oerr_ErrorReport *err = nullptr;
    for (Vmod_Node *node : originals) {
        int32_t id = vmod_NodeNextAvail(model->nodes, &err);
        if (model->nodes == nullptr || id == INT32_MAX || id <= 0) refuse("no free node identifier is left", 409);
        Vmod_Node *copy = vmod_NodeDuplicate(node, &err);
        if (copy == nullptr) refuse(takeMessage(&err, "memory is exhausted"), 500);
        // The copy gets links of its own: only those between copied nodes, added below.
        copy->children = copy->parents = nullptr;
        copy->next = copy->prev = nullptr;
        copy->selected = copy->highlighted = 0;
        vmod_NodeChangeID(copy, id);
        copy->x = node->x + 0.25;
        copy->y = node->y + 0.25;
        copy->prev = last;
        last->next = copy;
        last = copy;
        model->nextId = id + 1;
        copies[node] = copy;
        added.push_back(id);
    }
    for (Vmod_Node *node : originals)
        for (Vmod_Link *link = node->children; link; link = link->next) {
            auto child = copies.find(link->node);
            if (link->node != nullptr && child != copies.end()) vmod_ChildAddByNode(copies[node], child->second, &err);
        }
    if (err != nullptr) refuse(takeMessage(&err, "memory is exhausted"), 500);
    return {{"added", added}};
}

Json opConnect(Vmod_Model *model, const Json &request) {
    Vmod_Node *from = nodeById(model, identifier(member(request, "from")));
    Vmod_Node *to = nodeById(model, identifier(member(request, "to")));
    const char *reason = nullptr;
    if (vmodkit_CanConnect(model, from, to, &reason) != VMODKIT_CONNECT_OK) refuse(reason ? reason : "", 409);
    Oerr_ErrorReport *err = nullptr;
    if (vmodkit_Connect(model, from, to, &err) == nullptr) refuse(takeMessage(&err, "the arrow cannot be drawn"), 409);
    return Json::object();
}

Json opDisconnect(Vmod_Model *model, const Json &request) {
    Vmod_Node *from = nodeById(model, identifier(member(request, "from")));
    int32_t to = identifier(member(request, "to"));
    bool found = false;
    for (Vmod_Link *link = from->children; link; link = link->next) found = found || link->id == to;
    if (!found) refuse("there is no arrow from " + std::to_string(from->id) + " to " + std::to_string(to));
    Oerr_ErrorReport *err = nullptr;
    vmod_ChildDelete(from, to, &err);
    oerr_DeleteErrorReportEx(&err);
    return Json::object();
}

Json opSet(Vmod_Model *model, const Json &request) {
    Vmod_Node *node = nodeById(model, identifier(member(request, "id")));
    std::string why;
    if (!editor_SetNodeFields(model, node, member(request, "values"), why)) refuse(why);
    return Json::object();
}

Json opHeader(Vmod_Model *model, const Json &request) {
    std::string why;
    if (!editor_SetHeaderFields(model, member(request, "values"), why)) refuse(why);
    return Json::object();
}

Json opLayout(Vmod_Model *model, const Json &) {
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_Layout(model, &err)) refuse(takeMessage(&err, "the diagram cannot be laid out"), 409);
    return Json::object();
}

EditorResult stepBack(EditorSession &session, std::vector<EditorVersion> &from, std::vector<EditorVersion> &to,
                      const char *nothing) {
    if (from.empty()) return EditorResult::fail(409, nothing);
    to.push_back(session.current);
    session.current = from.back();
    from.pop_back();
    ++session.revision;
    updateRecovery(session);
    return {200, {{"ok", true}, {"state", editor_State(session)}}};
}

std::string absolutePath(const std::string &path, const std::string &base) {
    std::filesystem::path p(path);
    if (p.is_relative()) p = std::filesystem::path(base) / p;
    return p.lexically_normal().string();
}

bool changedOnDisk(const EditorSession &session) {
    EditorDiskStamp now = editor_DiskStamp(session.path);
    if (now.exists != session.stamp.exists) return true;
    if (!now.exists) return false;
    if (now.size != session.stamp.size) return true;
    if (now.mtimeNs == session.stamp.mtimeNs) return false;
    return now.hash != session.stamp.hash; // touched but the same bytes
}

// Writes the model to path; the file name and the saved version follow.
EditorResult saveTo(EditorSession &session, const std::string &path) {
    Oerr_ErrorReport *err = nullptr;
    if (!vmodkit_ModelSaveAs(session.current.model, path.c_str(), &err))
        return EditorResult::fail(500, takeMessage(&err, "the model cannot be saved"));
    const std::string oldRecovery = editor_RecoveryPath(session);
    session.path = path;
    session.stamp = editor_DiskStamp(path);
    session.savedSerial = session.current.serial;
    std::remove(oldRecovery.c_str());
    std::remove(editor_RecoveryPath(session).c_str());
    ++session.revision;
    return {200, {{"ok", true}, {"state", editor_State(session)}}};
}

bool boolMember(const Json &request, const char *name) {
    auto found = request.find(name);
    if (found == request.end()) return false;
    if (!found->is_boolean()) refuse(std::string("\"") + name + "\" is not true or false");
    return found->get<bool>();
}

} // namespace

EditorDiskStamp editor_DiskStamp(const std::string &path) {
    EditorDiskStamp stamp;
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return stamp;
    stamp.exists = true;
    stamp.size = static_cast<uint64_t>(info.st_size);
    stamp.mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    std::string bytes;
    if (readFile(path, bytes)) stamp.hash = fnv1a(bytes);
    return stamp;
}

std::string editor_RecoveryPath(const EditorSession &session) { return session.path + ".recovery"; }

bool editor_SessionDirty(const EditorSession &session) { return session.current.serial != session.savedSerial; }

bool editor_SessionOpen(EditorSession &session, const std::string &path, std::string &why) {
    session.path = absolutePath(path, std::filesystem::current_path().string());
    Oerr_ErrorReport *err = nullptr;
    Vmod_Model *model = nullptr;
    session.stamp = editor_DiskStamp(session.path);
    if (session.stamp.exists) {
        std::string text;
        if (!readFile(session.path, text)) return why = "cannot read " + session.path, false;
        model = vmodkit_ModelReadMemory(text.data(), text.size(), session.path.c_str(), &err);
        if (model == nullptr) {
            // The reader's chain: the innermost message says what is wrong where.
            char *chain = err ? vmodhost_ErrorChainText(err) : nullptr;
            why = chain ? chain : "cannot read " + session.path;
            omsc_HeapFree(chain);
            oerr_DeleteErrorReportEx(&err);
            while (!why.empty() && why.back() == '\n') why.pop_back();
            return false;
        }
        model->fileName = ostr_Duplicate(session.path.c_str());
    } else {
        model = vmodkit_ModelNew(&err);
        if (model == nullptr) return why = takeMessage(&err, "memory is exhausted"), false;
    }
    session.current = {model, session.nextSerial++};
    session.savedSerial = session.current.serial;
    std::string recovery;
    const std::string recoveryPath = editor_RecoveryPath(session);
    struct stat info{};
    if (::stat(recoveryPath.c_str(), &info) == 0 && readFile(recoveryPath, recovery)) {
        session.offeredRecovery = recovery;
        session.offeredRecoveryTime = isoTime(info.st_mtim.tv_sec);
    }
    return true;
}

void editor_SessionClose(EditorSession &session) {
    freeVersions(session.undo);
    freeVersions(session.redo);
    vmodkit_ModelFree(session.current.model);
    session.current = {};
}

Json editor_State(const EditorSession &session) {
    static const Json kinds = editor_KindFields(), choices = editor_Choices();
    Vmod_Model *model = session.current.model;
    Vmodkit_View view;
    vmodkit_ViewDefault(&view);
    // Every box measured on one canvas, which keeps the fonts it has looked up.
    std::vector<const Vmod_Node *> list;
    for (Vmod_Node *node = model->nodes; node; node = node->next) list.push_back(node);
    std::vector<Vmodkit_Box> boxes(list.size());
    std::vector<int32_t> found(list.size(), 0);
    if (!list.empty()) vmodkit_NodeBoxes(model, list.data(), list.size(), &view, boxes.data(), found.data());
    Json nodes = Json::array(), arrows = Json::array();
    for (size_t at = 0; at < list.size(); ++at) {
        const Vmod_Node *node = list[at];
        Json item = {{"id", node->id}, {"kind", kindName(node->type)}, {"title", node->title ? node->title : ""},
                     {"x", node->x}, {"y", node->y}};
        Vmodkit_Box box = found[at] ? boxes[at] : Vmodkit_Box{node->x - 0.5, node->y - 0.5, node->x + 0.5, node->y + 0.5};
        item["box"] = {{"left", box.left}, {"top", box.top}, {"right", box.right}, {"bottom", box.bottom}};
        item["values"] = editor_NodeValues(model, node);
        nodes.push_back(std::move(item));
        if (node->type == VMOD_TEXT) continue;
        for (const Vmod_Link *link = node->children; link; link = link->next)
            arrows.push_back({{"from", node->id}, {"to", link->node ? link->node->id : link->id}});
    }
    return {{"revision", session.revision},
            {"dirty", editor_SessionDirty(session)},
            {"canUndo", !session.undo.empty()},
            {"canRedo", !session.redo.empty()},
            {"file", session.path},
            {"header", {{"fields", editor_HeaderFields(model)}}},
            {"kinds", kinds},
            {"choices", choices},
            {"nodes", std::move(nodes)},
            {"arrows", std::move(arrows)}};
}

EditorResult editor_Edit(EditorSession &session, const Json &request) {
    try {
        if (!request.is_object()) refuse("the request is not an object");
        const Json &op = member(request, "op");
        if (!op.is_string()) refuse("\"op\" is not a text");
        const std::string name = op.get<std::string>();
        if (name == "undo") return stepBack(session, session.undo, session.redo, "there is nothing to undo");
        if (name == "redo") return stepBack(session, session.redo, session.undo, "there is nothing to redo");
        using Operation = Json (*)(Vmod_Model *, const Json &);
        static const std::map<std::string, Operation> operations = {
            {"add", opAdd},         {"move", opMove},       {"delete", opDelete}, {"duplicate", opDuplicate},
            {"connect", opConnect}, {"disconnect", opDisconnect}, {"set", opSet}, {"header", opHeader},
            {"layout", opLayout}};
        auto found = operations.find(name);
        if (found == operations.end()) refuse("there is no operation \"" + name + "\"");
        ModelPtr copy = copyOf(session.current.model);
        Json answer = found->second(copy.get(), request);
        commit(session, std::move(copy));
        answer["ok"] = true;
        answer["state"] = editor_State(session);
        return {200, answer};
    } catch (const Refusal &refusal) {
        return EditorResult::fail(refusal.status, refusal.why);
    } catch (const Json::exception &error) {
        return EditorResult::fail(400, error.what());
    }
}

EditorResult editor_Save(EditorSession &session, const Json &request) {
    try {
        if (!request.is_object()) refuse("the request is not an object");
        if (!boolMember(request, "force") && changedOnDisk(session)) {
            EditorResult result = EditorResult::fail(409, session.path + " changed on disk since it was opened or last "
                                                                         "saved; saving would overwrite those changes");
            result.body["conflict"] = true;
            return result;
        }
        return saveTo(session, session.path);
    } catch (const Refusal &refusal) {
        return EditorResult::fail(refusal.status, refusal.why);
    }
}

EditorResult editor_SaveAs(EditorSession &session, const Json &request) {
    try {
        if (!request.is_object()) refuse("the request is not an object");
        const Json &path = member(request, "path");
        if (!path.is_string() || path.get<std::string>().empty()) refuse("\"path\" is not a file name");
        const std::string target =
            absolutePath(path.get<std::string>(), std::filesystem::path(session.path).parent_path().string());
        if (target != session.path && !boolMember(request, "force") && editor_DiskStamp(target).exists) {
            EditorResult result = EditorResult::fail(409, target + " exists already");
            result.body["conflict"] = true;
            return result;
        }
        return saveTo(session, target);
    } catch (const Refusal &refusal) {
        return EditorResult::fail(refusal.status, refusal.why);
    }
}

Json editor_RecoveryOffer(const EditorSession &session) {
    Json offer = {{"ok", true}, {"available", !session.offeredRecovery.empty()}};
    if (!session.offeredRecovery.empty()) offer["saved"] = session.offeredRecoveryTime;
    return offer;
}

EditorResult editor_Recovery(EditorSession &session, const Json &request) {
    try {
        if (!request.is_object()) refuse("the request is not an object");
        const Json &action = member(request, "action");
        if (!action.is_string() || (action != "restore" && action != "discard"))
            refuse("\"action\" is neither \"restore\" nor \"discard\"");
        if (session.offeredRecovery.empty()) refuse("there is no recovery copy", 409);
        if (action == "restore") {
            const std::string &text = session.offeredRecovery;
            Oerr_ErrorReport *err = nullptr;
            ModelPtr model(vmodkit_ModelReadMemory(text.data(), text.size(), editor_RecoveryPath(session).c_str(), &err));
            if (!model) refuse(takeMessage(&err, "the recovery copy cannot be read"), 409);
            model->fileName = ostr_Duplicate(session.path.c_str());
            session.offeredRecovery.clear();
            commit(session, std::move(model));
        } else {
            session.offeredRecovery.clear();
            if (!editor_SessionDirty(session)) std::remove(editor_RecoveryPath(session).c_str());
        }
        return {200, {{"ok", true}, {"state", editor_State(session)}}};
    } catch (const Refusal &refusal) {
        return EditorResult::fail(refusal.status, refusal.why);
    }
}
