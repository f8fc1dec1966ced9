/* operation_order.h - the operations of a model in the order successive vmod_NextFunction
   calls give them when each one returned is marked done before the next call, computed
   once for the whole model instead of by one search per operation. Not exported. */
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

    /* True when the order is computed in one pass; false when the model has a cycle of
       arrows or nodes sharing an identifier, where every call repeats vmod_NextFunction. */
    bool linear() const { return linear_; }

private:
    void release(size_t at);
    Vmod_Node *first_;
    bool linear_ = false;
    std::vector<Vmod_Node *> nodes_;            // the list, then nodes only parent links reach
    std::vector<std::vector<uint32_t>> down_;   // downstream neighbours, one per parent link
    std::vector<uint32_t> waiting_;             // parent links not yet released
    std::vector<char> blocking_;                // an operation of the list not yet done
    std::priority_queue<uint32_t> ready_;       // blocking operations with every parent released
    Vmod_Node *returned_ = nullptr;
    uint32_t returnedAt_ = 0;
};

#endif
