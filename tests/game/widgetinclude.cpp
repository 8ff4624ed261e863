// Built as the game's layer is, with the one header the test names.
#include KUGELFON_PROBE_HEADER
