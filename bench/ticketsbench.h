#pragma once

namespace kugelfon {

// Prints the speed of the ticket print run to PDF files, of the number
// generator alone, and the run against plain Qt painting the same pages.
void benchTickets();

} // namespace kugelfon
