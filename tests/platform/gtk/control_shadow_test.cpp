#include "platform/gtk/control_shadow.h"

#include <gtest/gtest.h>

namespace {

// A list on a page not made yet answers the program as the drop-down list will: the
// Mapping and ShortType editors clear and fill theirs before the page is made.
TEST(ControlShadow, ListAnswersAsTheDropDownListWould) {
    ControlShadow list;
    EXPECT_EQ(list.ListAdd(""), 0);
    EXPECT_EQ(list.ListAdd("a"), 1);
    EXPECT_EQ(list.ListAdd(nullptr), 2);
    list.ListSelect(1);
    EXPECT_FALSE(list.ListRemove(3));
    EXPECT_FALSE(list.ListRemove(-1));
    // The chosen item stays chosen where it moves to.
    EXPECT_TRUE(list.ListRemove(0));
    EXPECT_EQ(list.selection, 0);
    EXPECT_STREQ(list.ListText(0), "a");
    EXPECT_STREQ(list.ListText(1), "");
    EXPECT_STREQ(list.ListText(2), "");
    // Removed, nothing is chosen; past the items, none is.
    EXPECT_TRUE(list.ListRemove(0));
    EXPECT_EQ(list.selection, -1);
    list.ListSelect(5);
    EXPECT_EQ(list.selection, -1);
    EXPECT_EQ(list.ListCount(), 1);
}

// An item chosen puts its own text in the field, over a text set before it; choosing none
// leaves the text.
TEST(ControlShadow, ChoosingAnItemReplacesTheTextSetBefore) {
    ControlShadow field;
    field.ListAdd("Ctrl + F7");
    field.SetText("typed");
    field.ListSelect(0);
    EXPECT_FALSE(field.text.has_value());
    field.SetText(nullptr);
    field.ListSelect(-1);
    ASSERT_TRUE(field.text.has_value());
    EXPECT_EQ(*field.text, "");
}

}  // namespace
