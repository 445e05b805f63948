// What the program has set on a control whose widgets are not made yet. The main window's
// tab pages other than the shown one are built once the window has been drawn; until
// then the calls on their controls are kept here, and the lists answer from here, as the
// widgets would. No GTK here: the widgets take it on when they are made (dialog_build.cpp).
#pragma once
#include <optional>
#include <string>
#include <vector>

struct ControlShadow {
    // The last value set of each kind; unset ones keep what the widget is made with.
    std::optional<std::string> text;
    std::optional<bool> checked;
    std::optional<bool> enabled;
    std::optional<bool> shown;
    std::optional<int> image;
    std::optional<int> dropDownLimit;
    // A list's items and chosen item, as a drop-down list keeps them.
    std::vector<std::string> items;
    int selection = -1;

    void SetText(const char* value) { text = value != nullptr ? value : ""; }
    // The new item's index.
    int ListAdd(const char* item);
    // False when there is no such item. The chosen item stays chosen where it moves to;
    // removed, nothing is chosen.
    bool ListRemove(int index);
    // An index past the items chooses none. Choosing an item puts its text in a field that
    // has one, over any text set before.
    void ListSelect(int index);
    int ListCount() const { return static_cast<int>(items.size()); }
    // The item's text; "" past the items.
    const char* ListText(int index) const;
};
