// The real local clock, read through the C library.
#pragma once

#include "platform/Clock.h"

namespace halvika {

class PosixClock : public Clock {
public:
    Reading now() const override;
};

} // namespace halvika
