// check_expressions.cpp - function expressions and criteria tables against the arrows
// into their operation. The texts are read as tokens only (expression_tokens.h): the
// checks know which variables a text names and whether it closes what it opens, never
// what it computes.
//
// A `$name` names the data node of that title, letter for letter: the script declares
// (or #defines) each variable under its node's title exactly as typed, and its macros
// match names by their exact letters. The names the generator makes for a node also
// count: TITLE_Org (the source of a recoded raster or vector, or of a vector read
// through an attribute), n<ID>_recode (a recode table) and n<ID>_layer (the layer of a
// table); they are declared or loaded before any operation runs.
#include <cctype>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "checks.h"
#include "expression_tokens.h"

namespace {

std::string folded(const std::string &text) {
    std::string lower = text;
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool present(const char *text) { return text != nullptr && text[0] != '\0'; }

// The variable a data node's title declares: the title, without the dollar sign it may
// start with (the generator accepts "$dem" as a title and declares it as written, which
// the script reads as the variable dem). Empty for a node without a title.
std::string variableOf(const Vmod_Node *node) {
    if (!present(node->title)) return {};
    return node->title[0] == '$' ? std::string(node->title + 1) : std::string(node->title);
}

// The names the generator makes for a data node, besides its title.
std::vector<std::string> generatedNames(const Vmod_Node *node) {
    std::vector<std::string> names;
    if (node->data == nullptr) return names;
    const std::string id = std::to_string(node->id);
    if (node->type == VMOD_RASTER || node->type == VMOD_VECTOR) {
        bool recode = false, original = false;
        if (node->type == VMOD_RASTER) {
            recode = static_cast<const Vmod_RasterData *>(node->data)->recode != 0;
            original = recode;
        } else {
            const auto *vector = static_cast<const Vmod_VectorData *>(node->data);
            recode = vector->recode != 0;
            original = recode || (present(vector->attribute) && std::strcmp(vector->attribute, "Record Number") != 0);
        }
        if (original && present(node->title)) names.push_back(variableOf(node) + "_Org");
        if (recode) names.push_back("n" + id + "_recode");
    } else if (node->type == VMOD_TABLE) {
        const auto *table = static_cast<const Vmod_TableData *>(node->data);
        const bool layer = table->source == VMOD_TABLE_LAYER || table->outputToLayer != 0;
        if (layer && (table->layerKind == VMOD_LAYER_IMAGE || table->layerKind == VMOD_LAYER_COVERAGE ||
                      table->layerKind == VMOD_LAYER_ANNOTATION))
            names.push_back("n" + id + "_layer");
    }
    return names;
}

// Whether a name can stand after `$` in a text: a letter or underscore, then letters,
// digits and underscores.
bool plainName(const std::string &name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) != 0 || name[0] == '_')) return false;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
    return true;
}

// Every data node by the names an expression may call it, built once. Nodes that share
// a title form one group (their clash is the names checks' to report); so do titles
// that differ only in letter case, for the hint.
struct NameIndex {
    static constexpr int32_t kNone = -1;
    struct Entry {
        int32_t group = kNone;       // the title group of this name, or
        int32_t generatedBy = kNone; // the node a name made by the generator belongs to
        uint64_t seen = 0;           // the operation that last used it
    };
    std::unordered_map<std::string, Entry> names;
    std::unordered_map<std::string, int32_t> foldedNames;
    std::vector<int32_t> groupOf, foldedOf;  // per node position, kNone for none
    std::vector<size_t> groupFirst, foldedFirst;
    std::vector<char> groupProduced;         // one of the group is an operation's output
    std::vector<char> plain;                 // per node position: its title is a plain name
};

void buildIndex(const CheckContext &context, NameIndex &index) {
    const size_t count = context.nodes.size();
    index.groupOf.assign(count, NameIndex::kNone);
    index.foldedOf.assign(count, NameIndex::kNone);
    index.plain.assign(count, 0);
    for (size_t at = 0; at < count; ++at) {
        const Vmod_Node *node = context.nodes[at];
        if (!check_IsData(node)) continue;
        const std::string variable = variableOf(node);
        if (variable.empty()) continue;
        index.plain[at] = plainName(variable);
        NameIndex::Entry &entry = index.names[variable];
        if (entry.group == NameIndex::kNone) {
            entry.group = static_cast<int32_t>(index.groupFirst.size());
            index.groupFirst.push_back(at);
            index.groupProduced.push_back(0);
        }
        index.groupOf[at] = entry.group;
        for (size_t parent : context.parents[at])
            if (check_IsOperation(context.nodes[parent])) index.groupProduced[static_cast<size_t>(entry.group)] = 1;
        auto folded_ = index.foldedNames.emplace(folded(variable), static_cast<int32_t>(index.foldedFirst.size()));
        if (folded_.second) index.foldedFirst.push_back(at);
        index.foldedOf[at] = folded_.first->second;
    }
    // A title wins over a made name that spells the same.
    for (size_t at = 0; at < count; ++at) {
        if (!check_IsData(context.nodes[at])) continue;
        for (const std::string &name : generatedNames(context.nodes[at])) {
            NameIndex::Entry &entry = index.names[name];
            if (entry.group == NameIndex::kNone && entry.generatedBy == NameIndex::kNone)
                entry.generatedBy = static_cast<int32_t>(at);
        }
    }
}

std::string placeText(const ExpressionPlace &place) {
    return "line " + std::to_string(place.line) + ", column " + std::to_string(place.column);
}

// Marks kept across operations, each stamped with the operation it belongs to, so that
// nothing is cleared between operations.
struct Stamps {
    explicit Stamps(const CheckContext &context, const NameIndex &index)
        : input(context.nodes.size(), 0), used(context.nodes.size(), 0), groupInput(index.groupFirst.size(), 0),
          groupInputNode(index.groupFirst.size(), 0), foldedInput(index.foldedFirst.size(), 0),
          foldedInputNode(index.foldedFirst.size(), 0) {}
    uint64_t current = 0;
    std::vector<uint64_t> input, used;                       // per node position
    std::vector<uint64_t> groupInput;                        // per title group
    std::vector<size_t> groupInputNode;
    std::vector<uint64_t> foldedInput;                       // per letter-case group
    std::vector<size_t> foldedInputNode;
};

// The checks of one operation: its inputs, the names its texts use, what it reports.
class OperationCheck {
public:
    OperationCheck(const CheckContext &context, NameIndex &index, Stamps &stamps, ProblemList &problems, size_t at)
        : context_(context), index_(index), stamps_(stamps), problems_(problems), operation_(context.nodes[at]),
          stamp_(++stamps.current) {
        for (size_t parent : context.parents[at]) {
            const int32_t group = index.groupOf[parent];
            if (group == NameIndex::kNone || stamps.input[parent] == stamp_) continue;  // an arrow given twice
            stamps.input[parent] = stamp_;
            // An input whose title no text can name is the names checks' to report.
            if (index.plain[parent]) order_.push_back(parent);
            if (stamps.groupInput[static_cast<size_t>(group)] != stamp_) {
                stamps.groupInput[static_cast<size_t>(group)] = stamp_;
                stamps.groupInputNode[static_cast<size_t>(group)] = parent;
            }
            const auto foldedGroup = static_cast<size_t>(index.foldedOf[parent]);
            if (stamps.foldedInput[foldedGroup] != stamp_) {
                stamps.foldedInput[foldedGroup] = stamp_;
                stamps.foldedInputNode[foldedGroup] = parent;
            }
        }
    }

    // A `$name` in the statement of keyword; where() says where in words, for a message.
    template <class Where>
    void use(const std::string &name, const char *keyword, Where where) {
        auto entry = index_.names.find(name);
        if (entry == index_.names.end()) {
            if (unknown_.insert(name).second) unknownName(name, keyword, where());
            return;
        }
        if (entry->second.seen == stamp_) return;
        entry->second.seen = stamp_;
        const int32_t group = entry->second.group;
        if (group == NameIndex::kNone) {
            const auto node = static_cast<size_t>(entry->second.generatedBy);
            if (stamps_.input[node] == stamp_) {
                stamps_.used[node] = stamp_;
                return;
            }
            const Vmod_Node *named = context_.nodes[node];
            problems_.warning("E003", {operation_->id, named->id},
                              uses(name, where()) + ", a name made for " + check_NodeName(named) +
                                  ", without an arrow from it",
                              "Draw an arrow from " + (present(named->title) ? variableOf(named) : std::string("that node")) +
                                  " into this operation so that the diagram shows it.")
                .place = context_.placeOf(operation_, keyword);
            return;
        }
        const auto g = static_cast<size_t>(group);
        if (stamps_.groupInput[g] == stamp_) {
            stamps_.used[stamps_.groupInputNode[g]] = stamp_;
            return;
        }
        const Vmod_Node *named = context_.nodes[index_.groupFirst[g]];
        const std::vector<int32_t> ids{operation_->id, named->id};
        const SourcePlace place = context_.placeOf(operation_, keyword);
        const Vmod_Node *output = context_.outputOf(operation_);
        if (output != nullptr && index_.groupOf[context_.position.at(output)] == group) {
            problems_.error("E002", ids, uses(name, where()) + ", which is its own output " + check_NodeName(output),
                            "Read other data: an operation cannot read the data it computes.")
                .place = place;
        } else if (index_.groupProduced[g]) {
            problems_.error("E002", ids,
                            uses(name, where()) + ", which another operation computes into " + check_NodeName(named) +
                                ", without an arrow from it",
                            "Draw an arrow from " + name + " into this operation so that " + name +
                                " is computed first.")
                .place = place;
        } else {
            problems_.warning("E003", ids,
                              uses(name, where()) + ", which is " + check_NodeName(named) + ", without an arrow from it",
                              "Draw an arrow from " + name + " into this operation so that the diagram shows it.")
                .place = place;
        }
    }

    // Every input that no name used.
    void reportUnused(const char *keyword, const char *texts) {
        for (size_t input : order_) {
            if (stamps_.used[input] == stamp_) continue;
            const Vmod_Node *node = context_.nodes[input];
            problems_.warning("E004", {operation_->id, node->id},
                              who() + " has an arrow from " + check_NodeName(node) + " but " + texts + " $" +
                                  variableOf(node),
                              "Use $" + variableOf(node) + " or remove the arrow.")
                .place = context_.placeOf(operation_, keyword);
        }
    }

    const Vmod_Node *operation() const { return operation_; }
    const std::string &who() {
        if (who_.empty()) who_ = check_NodeName(operation_);
        return who_;
    }

private:
    std::string uses(const std::string &name, const std::string &where) { return who() + " uses $" + name + " " + where; }

    void unknownName(const std::string &name, const char *keyword, const std::string &where) {
        const SourcePlace place = context_.placeOf(operation_, keyword);
        // A name that differs from a title only in letter case names nothing; say which.
        auto sameLetters = index_.foldedNames.find(folded(name));
        if (sameLetters != index_.foldedNames.end()) {
            const auto g = static_cast<size_t>(sameLetters->second);
            size_t node = index_.foldedFirst[g];
            if (stamps_.foldedInput[g] == stamp_) {
                node = stamps_.foldedInputNode[g];
                stamps_.used[node] = stamp_;  // its fix is the spelling, not the arrow
            }
            const Vmod_Node *named = context_.nodes[node];
            problems_.error("E001", {operation_->id, named->id},
                            uses(name, where) + ", which names no data node; " + check_NodeName(named) +
                                " differs only in letter case",
                            "Write the name as $" + variableOf(named) + ": names match letter for letter.")
                .place = place;
            return;
        }
        problems_.error("E001", {operation_->id}, uses(name, where) + ", which names no data node",
                        "Correct the name, or draw a data node titled " + name + " with an arrow into this operation.")
            .place = place;
    }

    const CheckContext &context_;
    NameIndex &index_;
    Stamps &stamps_;
    ProblemList &problems_;
    const Vmod_Node *operation_;
    const uint64_t stamp_;
    std::string who_;
    std::vector<size_t> order_;                  // the inputs in arrow order
    std::unordered_set<std::string> unknown_;    // names already reported as unknown
};

// Whether the generator defines the operation as a macro: its output is a temporary
// raster with at most one consumer. The consumers of each output are counted once.
class FormOf {
public:
    explicit FormOf(const CheckContext &context) : context_(context), links_(context.nodes.size(), -1) {}

    bool macro(const Vmod_Node *operation) {
        const Vmod_Node *output = context_.outputOf(operation);
        if (output == nullptr || output->type != VMOD_RASTER || output->data == nullptr ||
            !static_cast<const Vmod_RasterData *>(output->data)->tempFile)
            return false;
        long &count = links_[context_.position.at(output)];
        if (count < 0) {
            count = 0;
            for (const Vmod_Link *link = output->children; link != nullptr && count < 2; link = link->next) ++count;
        }
        return count <= 1;
    }

private:
    const CheckContext &context_;
    std::vector<long> links_;
};

void checkFunction(OperationCheck &check, const CheckContext &context, ProblemList &problems, bool macro) {
    const Vmod_Node *node = check.operation();
    const auto *function = static_cast<const Vmod_FunctionData *>(node->data);
    const SourcePlace place = context.placeOf(node, "VALUE");
    const ExpressionScan scan =
        expression_Scan({function->expression}, macro ? ExpressionForm::Macro : ExpressionForm::Assignment);
    const std::vector<int32_t> ids{node->id};
    if (scan.blank) {
        problems.error("E005", ids,
                       check.who() + " has an empty expression, so the script " +
                           (macro ? "defines its output as an empty call" : "assigns nothing to its output"),
                       "Type the expression that computes the output.")
            .place = place;
        return;
    }
    if (scan.unbalanced.found)
        problems.error("E006", ids,
                       check.who() + ": in its expression " + scan.unbalanced.what + " (" +
                           placeText(scan.unbalanced.place) + ")",
                       "Close every bracket and double quote that the expression opens, and open what it closes.")
            .place = place;
    if (scan.endsEarly.found)
        problems.error("E007", ids,
                       check.who() + ": in its expression " + scan.endsEarly.what + " (" +
                           placeText(scan.endsEarly.place) + ")",
                       "Remove it: the expression must be one value, not statements.")
            .place = place;
    for (const ExpressionName &name : scan.names)
        check.use(name.name, "VALUE", [&] { return "(" + placeText(name.place) + " of the expression)"; });
    check.reportUnused("VALUE", "its expression never names");
}

std::string cellText(int64_t row, int32_t column) {
    return "row " + std::to_string(row + 1) + ", column " + std::to_string(column + 1);
}

void checkCriteria(OperationCheck &check, const CheckContext &context, ProblemList &problems, bool macro) {
    const Vmod_Node *node = check.operation();
    const auto *criteria = static_cast<const Vmod_CriteriaData *>(node->data);
    const std::vector<int32_t> ids{node->id};
    if (criteria->rows < 1 || criteria->columns < 1) {
        problems.error("E008", ids,
                       check.who() + " has " + (criteria->rows < 1 ? "no rows" : "no columns") +
                           ", and the script generator refuses such a table",
                       "Give the table at least one row and one column.")
            .place = context.placeOf(node, "SIZE");
        return;
    }
    const ExpressionForm form = macro ? ExpressionForm::MacroLine : ExpressionForm::Assignment;
    const int32_t columns = criteria->columns;
    ExpressionFault endsEarly, unbalanced;
    const char *endsEarlyKeyword = "COLUMNTITLES";
    std::string endsEarlyWhere, unbalancedWhere;

    std::vector<const char *> titles(static_cast<size_t>(columns), nullptr);
    std::vector<char> blankTitle(static_cast<size_t>(columns), 0);
    for (int32_t column = 0; column < columns; ++column) {
        const char *title = criteria->columnTitles != nullptr ? criteria->columnTitles[column] : nullptr;
        titles[static_cast<size_t>(column)] = title;
        const ExpressionScan scan = expression_Scan({title}, form);
        blankTitle[static_cast<size_t>(column)] = scan.blank;
        for (const ExpressionName &name : scan.names)
            check.use(name.name, "COLUMNTITLES",
                      [&] { return "(in the title of column " + std::to_string(column + 1) + ")"; });
        if (scan.endsEarly.found && !endsEarly.found) {
            endsEarly = scan.endsEarly;
            endsEarlyWhere = "the title of column " + std::to_string(column + 1);
        }
    }

    // A blank cell under a blank title leaves nothing between the joins of the row; under
    // a title, the condition is the title's value alone.
    struct Blanks {
        int64_t count = 0, row = 0;
        int32_t column = 0;
    } empty, titleAlone;
    // A table without its array of cells has every cell blank: counted, not walked.
    const int64_t rows = criteria->cells != nullptr ? criteria->rows : 1;
    for (int64_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            const char *cell = criteria->cells != nullptr ? criteria->cells[row * columns + column] : nullptr;
            const ExpressionScan scan = expression_Scan({cell}, form);
            if (scan.blank) {
                Blanks &blanks = blankTitle[static_cast<size_t>(column)] ? empty : titleAlone;
                if (blanks.count == 0) blanks.row = row, blanks.column = column;
                blanks.count += criteria->rows / rows;  // every row alike when there are no cells
                continue;
            }
            for (const ExpressionName &name : scan.names)
                check.use(name.name, "VALUE", [&] { return "(in the cell of " + cellText(row, column) + ")"; });
            if (scan.endsEarly.found && !endsEarly.found) {
                endsEarly = scan.endsEarly;
                endsEarlyKeyword = "VALUE";
                endsEarlyWhere = "the cell of " + cellText(row, column);
            }
            // The condition is the column title followed by the cell: what one opens the
            // other may close.
            if (!unbalanced.found) {
                const ExpressionScan condition =
                    expression_Scan({titles[static_cast<size_t>(column)], cell}, form, false);
                if (condition.unbalanced.found) {
                    unbalanced = condition.unbalanced;
                    unbalancedWhere = "the condition of " + cellText(row, column) + " (column title and cell)";
                }
            }
        }
    }
    auto cells = [](int64_t count) { return std::to_string(count) + (count == 1 ? " empty cell" : " empty cells"); };
    if (empty.count > 0)
        problems.error("E009", ids,
                       check.who() + " has " + cells(empty.count) + " under an empty column title, the first in " +
                           cellText(empty.row, empty.column) + ", so that condition is missing",
                       "Complete the condition in every cell, for example \"> 10\".")
            .place = context.placeOf(node, "VALUE");
    if (titleAlone.count > 0)
        problems.warning("E010", ids,
                         check.who() + " has " + cells(titleAlone.count) + ", the first in " +
                             cellText(titleAlone.row, titleAlone.column) +
                             ", so that condition is its column title alone",
                         "Complete the condition in every cell, for example \"> 10\".")
            .place = context.placeOf(node, "VALUE");
    if (unbalanced.found)
        problems.error("E006", ids,
                       check.who() + ": in " + unbalancedWhere + " " + unbalanced.what + " (" +
                           placeText(unbalanced.place) + ")",
                       "Close every bracket and double quote that the condition opens, and open what it closes.")
            .place = context.placeOf(node, "VALUE");
    if (endsEarly.found)
        problems.error("E007", ids,
                       check.who() + ": in " + endsEarlyWhere + " " + endsEarly.what + " (" +
                           placeText(endsEarly.place) + ")",
                       "Remove it: each column title and cell must be part of one condition.")
            .place = context.placeOf(node, endsEarlyKeyword);
    check.reportUnused("COLUMNTITLES", "no column title or cell names");
}

} // namespace

void check_Expressions(const CheckContext &context, ProblemList &problems) {
    NameIndex index;
    buildIndex(context, index);
    Stamps stamps(context, index);
    FormOf form(context);
    for (size_t at = 0; at < context.nodes.size(); ++at) {
        const Vmod_Node *node = context.nodes[at];
        if (!check_IsOperation(node) || node->data == nullptr) continue;
        OperationCheck check(context, index, stamps, problems, at);
        if (node->type == VMOD_FUNCTION) checkFunction(check, context, problems, form.macro(node));
        else checkCriteria(check, context, problems, form.macro(node));
    }
}
