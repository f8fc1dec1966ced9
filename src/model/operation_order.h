/* operation_order.h - the operations of a model in the order successive vmod_NextFunction
   calls give them when each one returned is marked done before the next call, computed
   once for the whole model instead of by one search per operation. The script generator
   and the tool take their order from here. Not exported. */
#ifndef VMOD_MODEL_OPERATION_ORDER_H
#define VMOD_MODEL_OPERATION_ORDER_H

#include <cstdint>
#include <cstddef>
#include <queue>
#include <vector>

#include "vmod/vmod_records.h"

class ModelOperationOrder {
public:
    /* Takes the done marks as they are now. May throw std::bad_alloc. */
    explicit ModelOperationOrder(Vmod_Node *first);

    /* What vmod_NextFunction(first) gives now, provided that between calls the caller
       changes nothing but the done mark of the operation returned last. The blocked marks
       that vmod_NextFunction leaves behind are not set. */
    Vmod_Node *next();

    /* True when the order is computed in one pass: no two operations not yet done lie on
       one cycle of arrows and none shares its identifier with another node. Otherwise
       every call repeats vmod_NextFunction. */
    bool linear() const { return linear_; }

private:
    void release(uint32_t component);
    Vmod_Node *first_;
    bool linear_ = false;
    std::vector<Vmod_Node *> nodes_;            // the list, then nodes only parent links reach
    std::vector<uint32_t> componentOf_;         // strongly connected component of each node
    std::vector<std::vector<uint32_t>> down_;   // components downstream, one per arrow between two
    std::vector<uint32_t> waiting_;             // arrows into a component not yet released
    std::vector<int64_t> blocking_;             // a component's operation not yet done, or -1
    std::priority_queue<uint32_t> ready_;       // positions of operations with all upstream released
    Vmod_Node *returned_ = nullptr;
    uint32_t returnedAt_ = 0;
};

/* Every operation of the list in the order above, each marked done while the order is
   found; the marks are put back as they were before it returns. May throw std::bad_alloc. */
std::vector<Vmod_Node *> model_OperationSequence(Vmod_Node *first);

#endif
