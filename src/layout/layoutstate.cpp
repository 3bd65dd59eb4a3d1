#include "layout/layoutstate.h"

#include "platform/workingfolders.h"

bool LayoutState::isUntouchedDefault() const {
    return LayoutFileName == WorkingFolders::untitledLayoutName() && LayoutFolder.isEmpty() &&
           !LayoutModified;
}
