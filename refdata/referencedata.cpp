#include "referencedata.h"

namespace ts {

ReferenceData& referenceData() {
    static ReferenceData* tables = new ReferenceData; // lives for the whole run
    return *tables;
}

} // namespace ts
