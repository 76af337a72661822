#pragma once

namespace velmora {

// Toolkit settings that must be made before the application object exists.
void prepareToolkit();
// Names the application, so that message boxes carry its title.
void nameApplication();

} // namespace velmora
