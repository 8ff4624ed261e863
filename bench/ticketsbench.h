#pragma once

namespace kugelfon {

// Prints the speed of the ticket print run to PDF files, of the number
// generator alone, of a check number read back into its ticket, and the
// run against plain Qt painting the same pages.
void benchTickets();

} // namespace kugelfon
