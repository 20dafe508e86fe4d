#include "workbench/app/fixed_strings.h"

#include "workbench/app/global.h"

namespace morva::app {

void TFixedStrings::Add(const QString& text) {
    if (Count() >= capacity_ && !items_.isEmpty()) items_.removeFirst();
    Remove(text);
    items_.append(text);
}

void TFixedStrings::Remove(const QString& text) {
    for (int i = 0; i < items_.size(); ++i) {
        if (SameTextIgnoringCase(items_[i], text)) {
            items_.removeAt(i);
            return;
        }
    }
}

}  // namespace morva::app
