// What the core asks of the windows, carried out on Qt.
#pragma once

#include "platform/Views.h"

namespace halvika {

class QtViews : public Views {
public:
    void unloadAllWindows() override;
    void endProcess(int exitCode) override;
};

} // namespace halvika
