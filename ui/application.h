#pragma once

#include <QApplication>

#include <memory>

namespace velmora {

// Makes the application object, with the toolkit set up and the application
// named so that message boxes carry its title. Where no display can be
// opened, says what is missing in one line and ends the program with status 1,
// instead of the toolkit's abort.
std::unique_ptr<QApplication> startApplication(int &argc, char **argv);

} // namespace velmora
