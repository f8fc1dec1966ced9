// Doubly linked lists of records that start with next and prev.
#include <gtest/gtest.h>

#include <vector>

#include "vmodhost/ollm.h"

namespace {

struct Item {
    Item *next;
    Item *prev;
    int value;
};

// Builds a list of n items appended in order; returns the head.
Item *Build(Item *items, int n)
{
    void *head = nullptr;
    for (int i = 0; i < n; ++i) {
        items[i] = Item{nullptr, nullptr, i};
        head = ollm_Add(head, OLLM_APPEND, &items[i]);
    }
    return static_cast<Item *>(head);
}

// The values from head onward, checking that every prev mirrors next.
std::vector<int> Walk(Item *head)
{
    std::vector<int> values;
    Item *previous = nullptr;
    for (Item *item = head; item; item = item->next) {
        EXPECT_EQ(item->prev, previous) << "at value " << item->value;
        values.push_back(item->value);
        previous = item;
    }
    return values;
}

} // namespace

TEST(ollm_Add, FirstElementBecomesTheHead)
{
    Item one{};
    EXPECT_EQ(ollm_Add(nullptr, OLLM_APPEND, &one), &one);
    EXPECT_EQ(one.next, nullptr);
    EXPECT_EQ(one.prev, nullptr);
}

TEST(ollm_Add, AppendsAtTheEndAndKeepsTheHead)
{
    Item items[3];
    Item *head = Build(items, 3);
    EXPECT_EQ(head, &items[0]);
    EXPECT_EQ(Walk(head), (std::vector<int>{0, 1, 2}));
}

TEST(ollm_Add, ClearsLinksLeftFromAnEarlierList)
{
    Item items[2];
    Item *head = Build(items, 2);
    Item stray{&items[0], &items[1], 9}; // pointers left over from somewhere else
    head = static_cast<Item *>(ollm_Add(head, OLLM_APPEND, &stray));
    EXPECT_EQ(Walk(head), (std::vector<int>{0, 1, 9}));
    EXPECT_EQ(stray.next, nullptr);
}

TEST(ollm_Start, FindsTheHeadFromAnyElement)
{
    Item items[3];
    Build(items, 3);
    for (Item &item : items)
        EXPECT_EQ(ollm_Start(&item), &items[0]);
    EXPECT_EQ(ollm_Start(nullptr), nullptr);
}

// The only element, the head or tail of two, the middle of three: the deleted element is
// left unlinked and what remains is one list, found from any of its elements.
TEST(ollm_Delete, UnlinksTheElementAndJoinsWhatRemains)
{
    const struct {
        int count;
        int deleted;
        std::vector<int> remaining;
    } cases[] = {{1, 0, {}}, {2, 0, {1}}, {2, 1, {0}}, {3, 1, {0, 2}}};
    for (const auto &c : cases) {
        Item items[3];
        Build(items, c.count);
        ollm_Delete(&items[c.deleted]);
        EXPECT_EQ(items[c.deleted].next, nullptr) << c.count << " " << c.deleted;
        EXPECT_EQ(items[c.deleted].prev, nullptr) << c.count << " " << c.deleted;
        if (!c.remaining.empty()) {
            Item *head = &items[c.remaining.front()];
            EXPECT_EQ(ollm_Start(&items[c.remaining.back()]), head) << c.count << " " << c.deleted;
            EXPECT_EQ(Walk(head), c.remaining) << c.count << " " << c.deleted;
        }
    }
}

TEST(ollm_Delete, ADeletedElementCanBeAppendedAgain)
{
    Item items[3];
    Item *head = Build(items, 3);
    ollm_Delete(&items[0]);
    head = static_cast<Item *>(ollm_Add(&items[1], OLLM_APPEND, &items[0]));
    EXPECT_EQ(Walk(head), (std::vector<int>{1, 2, 0}));
    ollm_Delete(nullptr);
}
