// Records of the 64-bit build: the kinds' render slots and the table order.
#include <gtest/gtest.h>

#include "vmod/vmod.h"

TEST(Vmod_RenderTable, SlotsInInterfaceOrder) {
    EXPECT_EQ(Vmod_RenderTable[VMOD_SLOT_FUNCTION], &vmod_RenderFunction);
    EXPECT_EQ(Vmod_RenderTable[VMOD_SLOT_CRITERIA], &vmod_RenderCriteria);
    EXPECT_EQ(Vmod_RenderTable[VMOD_SLOT_TABLE], &vmod_RenderTable);
}
