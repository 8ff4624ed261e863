#include "platform/spoolstatus.h"

namespace kugelfon {

// Qt's Windows print engine hands the job to the spooler with StartDoc and
// EndDoc and marks the printer Aborted when either fails, so there is
// nothing more to ask here.
bool spoolerRefusedLastJob()
{
    return false;
}

} // namespace kugelfon
