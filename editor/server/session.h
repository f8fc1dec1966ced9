// session.h - the one model an editor has open: its file, its undo history as whole-model
// copies, the state the page draws from, the operations that change it, saving with the
// changed-on-disk check, and the recovery copy kept beside the model.
#ifndef VMODEDIT_SESSION_H
#define VMODEDIT_SESSION_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "vmod/vmod_records.h"

// What the model's file was when the editor last read or wrote it, to tell whether
// someone else changed it since.
struct EditorDiskStamp {
    bool exists = false;
    uint64_t size = 0;
    int64_t mtimeNs = 0;
    uint64_t hash = 0;
};

// One version of the model, and the number that names it (for "unsaved changes").
struct EditorVersion {
    Vmod_Model *model = nullptr;
    uint64_t serial = 0;
};

struct EditorSession {
    EditorVersion current;
    std::vector<EditorVersion> undo, redo; // the versions before and after the current one
    uint64_t nextSerial = 1;
    uint64_t savedSerial = 0;   // the version last read or saved; 0 when none (a new file)
    int64_t revision = 0;       // raised on every change, undo and redo included
    std::string path;           // absolute
    EditorDiskStamp stamp;
    std::string offeredRecovery;     // the recovery copy found at open, until restored or discarded
    std::string offeredRecoveryTime; // its time, ISO 8601 UTC
};

// The outcome of a request: status 200 with a JSON answer, or an HTTP error status and
// the sentence that says why (the model is untouched then).
struct EditorResult {
    int status = 200;
    nlohmann::json body;
    static EditorResult fail(int status, const std::string &why) {
        return {status, {{"ok", false}, {"error", why}}};
    }
};

// Opens path (made absolute): reads it when it exists, else starts an empty model that
// will be saved there. A recovery copy beside it is kept as an offer. False with why when
// the file cannot be read.
bool editor_SessionOpen(EditorSession &session, const std::string &path, std::string &why);
// Releases every model the session holds.
void editor_SessionClose(EditorSession &session);

bool editor_SessionDirty(const EditorSession &session);
std::string editor_RecoveryPath(const EditorSession &session);

// The state the page draws from (the editor's interface, "State").
nlohmann::json editor_State(const EditorSession &session);

// An `api/edit` body: one operation, undo or redo.
EditorResult editor_Edit(EditorSession &session, const nlohmann::json &request);
// `api/save` and `api/saveas`.
EditorResult editor_Save(EditorSession &session, const nlohmann::json &request);
EditorResult editor_SaveAs(EditorSession &session, const nlohmann::json &request);
// `api/recovery`: the offer (GET) and restoring or discarding it (POST).
nlohmann::json editor_RecoveryOffer(const EditorSession &session);
EditorResult editor_Recovery(EditorSession &session, const nlohmann::json &request);

// The model's file as it is on disk now.
EditorDiskStamp editor_DiskStamp(const std::string &path);

#endif
