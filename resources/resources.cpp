// The resource data itself is compiled in by qt_add_resources; this file only
// gives the library a translation unit of its own.
namespace kugelfon { int resourcesLinked = 1; }
