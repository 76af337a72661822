#pragma once

#include <QApplication>

#include <memory>

namespace velmora {

// Toolkit settings that must be made before the application object exists.
void prepareToolkit();
// Names the application, so that message boxes carry its title.
void nameApplication();

// Makes the prepared and named application object. Where no display can be
// opened, says what is missing in one line and ends the program with status 1,
// instead of the toolkit's abort.
std::unique_ptr<QApplication> startApplication(int &argc, char **argv);

} // namespace velmora
