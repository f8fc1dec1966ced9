// Doubly linked lists of records whose first two fields are next and prev.
#include "vmodhost/ollm.h"

namespace {

struct Element {
    Element *next;
    Element *prev;
};

} // namespace

extern "C" {

void *ollm_Start(void *element) {
    Element *e = static_cast<Element *>(element);
    if (e == nullptr) {
        return nullptr;
    }
    while (e->prev != nullptr) {
        e = e->prev;
    }
    return e;
}

void ollm_Delete(void *element) {
    Element *e = static_cast<Element *>(element);
    if (e == nullptr) {
        return;
    }
    if (e->prev != nullptr) {
        e->prev->next = e->next;
    }
    if (e->next != nullptr) {
        e->next->prev = e->prev;
    }
    e->next = nullptr;
    e->prev = nullptr;
}

void *ollm_Add(void *head, int32_t where, void *element) {
    (void)where; // only appending is used
    Element *e = static_cast<Element *>(element);
    Element *h = static_cast<Element *>(head);
    if (e == nullptr) {
        return head;
    }
    e->next = nullptr;
    if (h == nullptr) {
        e->prev = nullptr;
        return e;
    }
    Element *last = h;
    while (last->next != nullptr) {
        last = last->next;
    }
    last->next = e;
    e->prev = last;
    return h;
}

}
