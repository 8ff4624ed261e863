#pragma once

#include <memory>

class QApplication;

namespace kugelfon {

// Creates the QApplication. Without a window system to show it on, the
// program ends here with status 1 and one German line on stderr, instead of
// Qt's abort.
std::unique_ptr<QApplication> openApplication(int &argc, char **argv);

} // namespace kugelfon
