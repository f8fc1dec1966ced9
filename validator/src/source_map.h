// source_map.h - where each node's block and each statement in it stand in the model
// file, found by scanning the file's tokens (the reader keeps no positions). The file
// holds its blocks in the order of the node list, so the k-th block is the k-th node.
#ifndef VMODCHECK_SOURCE_MAP_H
#define VMODCHECK_SOURCE_MAP_H

#include <string>
#include <unordered_map>
#include <vector>

#include "check_problems.h"

struct SourceBlock {
    SourcePlace start;   // the block keyword
    double id = 0;       // the value of its ID statement, when it has one
    bool hasId = false;
    // Every statement of the block by its keyword in capitals, each occurrence in order.
    std::unordered_map<std::string, std::vector<SourcePlace>> statements;
};

struct SourceMap {
    std::string path;                  // empty when there is no file
    std::vector<SourceBlock> blocks;   // in file order
    std::unordered_map<std::string, SourcePlace> header; // header statements, last occurrence
};

// Scans the file at path. An unreadable file gives a map without blocks; a file that
// does not scan to the end keeps the blocks found before the fault.
SourceMap source_Scan(const std::string &path);

// Scans text as the contents of a file named path.
SourceMap source_ScanText(const std::string &path, const std::string &text);

#endif
