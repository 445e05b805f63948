#include "platform/gtk/control_shadow.h"

int ControlShadow::ListAdd(const char* item) {
    items.emplace_back(item != nullptr ? item : "");
    return ListCount() - 1;
}

bool ControlShadow::ListRemove(int index) {
    if (index < 0 || index >= ListCount()) return false;
    items.erase(items.begin() + index);
    if (selection == index) selection = -1;
    else if (selection > index) --selection;
    return true;
}

void ControlShadow::ListSelect(int index) {
    selection = index >= 0 && index < ListCount() ? index : -1;
    // The item's text is what the field shows now; it is put there again when the widget
    // takes the choice on.
    if (selection >= 0) text.reset();
}

const char* ControlShadow::ListText(int index) const {
    return index >= 0 && index < ListCount() ? items[static_cast<size_t>(index)].c_str() : "";
}
