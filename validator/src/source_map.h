// source_map.h - where each node's block and each statement in it stand in the model
// file, found by scanning the file's tokens (the reader keeps no positions). The file
// holds its blocks in the order of the node list, so the k-th block is the k-th node.
#ifndef VMODCHECK_SOURCE_MAP_H
#define VMODCHECK_SOURCE_MAP_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "check_problems.h"

struct SourceBlock {
    SourcePlace start;   // the block keyword
    double id = 0;       // the value of its ID statement, when it has one
    bool hasId = false;
    // The block's statements in SourceMap::statements: [firstStatement, firstStatement + statementCount).
    uint32_t firstStatement = 0;
    uint32_t statementCount = 0;
};

// Where a keyword of a block's statements first occurs in the block. Keywords are kept
// once for the whole file: a map per block would cost more than the node itself.
struct SourceStatement {
    uint32_t keyword = 0; // in SourceMap::keywords
    SourcePlace place;
};

struct SourceMap {
    std::string path;                  // empty when there is no file
    std::vector<SourceBlock> blocks;   // in file order
    std::unordered_map<std::string, SourcePlace> header; // header statements, last occurrence
    std::unordered_map<std::string, uint32_t> keywords;  // each statement keyword (in capitals) once
    std::vector<SourceStatement> statements;             // block by block, each keyword once, in file order

    // Where the block's first statement with keyword stands, or null.
    const SourcePlace *find(const SourceBlock &block, const char *keyword) const;
};

// Scans the file at path. An unreadable file gives a map without blocks; a file that
// does not scan to the end keeps the blocks found before the fault.
SourceMap source_Scan(const std::string &path);

// Scans text as the contents of a file named path.
SourceMap source_ScanText(const std::string &path, const std::string &text);

#endif
