// server.h - the editor's HTTP server on 127.0.0.1: the page's files and the interface
// of editor/API.md, every request behind the session's one lock.
#ifndef VMODEDIT_SERVER_H
#define VMODEDIT_SERVER_H

#include <string>

struct EditorServer;

// Opens the model (or an empty one to be saved at path) and binds 127.0.0.1:port (0: a
// free port the system chooses). Null with why when the model cannot be read or the port
// cannot be bound.
EditorServer *editor_ServerCreate(const std::string &modelPath, int port, std::string &why);
// "http://127.0.0.1:PORT/t/TOKEN/".
std::string editor_ServerUrl(const EditorServer *server);
int editor_ServerPort(const EditorServer *server);
const std::string &editor_ServerToken(const EditorServer *server);
// Serves until editor_ServerStop or a quit request; false when the server failed.
bool editor_ServerRun(EditorServer *server);
// Stops serving; callable from any thread, also before or after Run.
void editor_ServerStop(EditorServer *server);
// Whether the model has changes that are not saved, and where its recovery copy is.
bool editor_ServerDirty(EditorServer *server);
std::string editor_ServerRecoveryPath(EditorServer *server);
// Releases the server and its session (the recovery copy stays on disk).
void editor_ServerFree(EditorServer *server);

#endif
