// Questions to the file system that may not take long.
#include "base/DiskProbe.h"

namespace halvika {

const DiskProbe& DiskProbe::forAlarms() {
    static const DiskProbe probe(alarmLimit);
    return probe;
}

} // namespace halvika
